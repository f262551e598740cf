#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <deque>
#include <memory>

namespace core {

// One row of a history list: date, send time, receive time and message, in column order.
struct HistoryRow {
    QString date;
    QString sendTime;
    QString recvTime;
    QString message;
    // Closed without being read: the list marks its time with "*".
    bool closedUnread = false;

    // The receive time as the lists and the detail pane show it.
    QString shownRecvTime() const { return closedUnread ? recvTime + u'*' : recvTime; }
};

// A history list (sent or received) as the viewer's table shows it. Rows are shared: the current
// rows sentRow and receivedRow stay usable after the viewer clears the list, as detached rows that no
// longer show anywhere.
//
// Anyone on the network can send messages, so the list keeps at most kMaxRows rows and kMaxChars
// characters of messages: past either, the oldest rows go (the journal file keeps them all).
class HistoryList final : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 4;
    static constexpr qsizetype kMaxRows = 10000;
    static constexpr qsizetype kMaxChars = 4 * 1024 * 1024;
    // A row's tool tip shows at most a screenful of its message: so many lines of so many characters.
    static constexpr qsizetype kTipLines = 20;
    static constexpr qsizetype kTipColumns = 80;

    explicit HistoryList(QStringList headings);

    std::shared_ptr<HistoryRow> append(HistoryRow row);
    // Call after changing a row's fields, so that the views show the change.
    void rowChanged(const std::shared_ptr<HistoryRow> &row);
    void clear();

    qsizetype size() const { return static_cast<qsizetype>(m_rows.size()); }
    // How many rows have left the list since it was made, pushed out or cleared. A row that stays
    // keeps dropped() + its position, whatever goes before it.
    qsizetype dropped() const { return m_dropped; }
    bool isEmpty() const { return m_rows.empty(); }
    // 1-based, like the viewer's positions.
    const HistoryRow &at(qsizetype position) const
    {
        return *m_rows[static_cast<std::size_t>(position - 1)].row;
    }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Entry {
        std::shared_ptr<HistoryRow> row;
        qsizetype counted; // its message's length as last counted in m_chars
    };
    void dropOldest();

    QStringList m_headings;
    std::deque<Entry> m_rows;
    qsizetype m_chars = 0;
    qsizetype m_dropped = 0;
};

} // namespace core
