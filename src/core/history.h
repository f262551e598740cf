#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <memory>
#include <vector>

namespace core {

// One row of a history list: date, send time, receive time and message, in column order.
struct HistoryRow {
    QString date;
    QString sendTime;
    QString recvTime;
    QString message;
};

// A history list (sent or received) as the viewer's table shows it. Rows are shared: the current
// rows ItemL and ItemR stay usable after the viewer clears the list, as detached rows that no
// longer show anywhere.
class HistoryList final : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kColumns = 4;

    explicit HistoryList(QStringList headings);

    std::shared_ptr<HistoryRow> append(HistoryRow row);
    // Call after changing a row's fields, so that the views show the change.
    void rowChanged(const std::shared_ptr<HistoryRow> &row);
    void clear();

    qsizetype size() const { return static_cast<qsizetype>(m_rows.size()); }
    bool isEmpty() const { return m_rows.empty(); }
    // 1-based, like the viewer's positions.
    const HistoryRow &at(qsizetype position) const { return *m_rows[static_cast<std::size_t>(position - 1)]; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_headings;
    std::vector<std::shared_ptr<HistoryRow>> m_rows;
};

} // namespace core
