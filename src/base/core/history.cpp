#include "base/core/history.h"

namespace core {
namespace {

// The head of a message as a tool tip shows it: its lines, long ones folded, at most kTipLines of
// kTipColumns characters, and an ellipsis where the message goes on.
QString toolTipOf(const QString &message)
{
    constexpr qsizetype kLines = HistoryList::kTipLines;
    constexpr qsizetype kColumns = HistoryList::kTipColumns;
    // Enough of the message for every line shown, however its lines break.
    QString head = message.left(kLines * (kColumns + 2));
    const bool cut = head.size() < message.size();
    head.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines;
    bool full = false;
    for (const QString &paragraph : head.split(u'\n')) {
        for (qsizetype from = 0; !full && (from == 0 || from < paragraph.size()); from += kColumns) {
            if (lines.size() == kLines)
                full = true;
            else
                lines << paragraph.mid(from, kColumns);
        }
    }
    return lines.join(u'\n') + (cut || full ? QStringLiteral("…") : QString());
}

} // namespace

HistoryList::HistoryList(QStringList headings) : m_headings(std::move(headings)) {}

std::shared_ptr<HistoryRow> HistoryList::append(HistoryRow row)
{
    const int at = rowCount();
    beginInsertRows({}, at, at);
    auto shared = std::make_shared<HistoryRow>(std::move(row));
    m_chars += shared->message.size();
    m_rows.push_back({shared, shared->message.size()});
    endInsertRows();
    dropOldest();
    return shared;
}

void HistoryList::rowChanged(const std::shared_ptr<HistoryRow> &row)
{
    // The row written to is nearly always the newest, so look from the end.
    for (auto it = m_rows.rbegin(); it != m_rows.rend(); ++it) {
        if (it->row == row) {
            m_chars += row->message.size() - it->counted;
            it->counted = row->message.size();
            const int r = static_cast<int>(std::distance(it, m_rows.rend()) - 1);
            emit dataChanged(index(r, 0), index(r, kColumns - 1));
            dropOldest();
            return;
        }
    }
}

void HistoryList::dropOldest()
{
    qsizetype drop = 0;
    qsizetype chars = m_chars;
    const qsizetype size = static_cast<qsizetype>(m_rows.size());
    // The newest row stays, however long.
    while (drop < size - 1 && (size - drop > kMaxRows || chars > kMaxChars))
        chars -= m_rows[static_cast<std::size_t>(drop++)].counted;
    if (drop == 0)
        return;
    beginRemoveRows({}, 0, static_cast<int>(drop - 1));
    m_rows.erase(m_rows.begin(), m_rows.begin() + drop);
    m_chars = chars;
    m_dropped += drop;
    endRemoveRows();
}

void HistoryList::clear()
{
    beginResetModel();
    m_dropped += size();
    m_rows.clear();
    m_chars = 0;
    endResetModel();
}

int HistoryList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int HistoryList::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kColumns;
}

QVariant HistoryList::data(const QModelIndex &index, int role) const
{
    // An index kept from before a clear names a row that is gone.
    if (!index.isValid() || index.row() >= rowCount() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const HistoryRow &row = *m_rows[static_cast<std::size_t>(index.row())].row;
    switch (index.column()) {
    case 0:
        return row.date;
    case 1:
        return row.sendTime;
    case 2:
        return row.shownRecvTime();
    default: {
        if (role == Qt::ToolTipRole)
            return toolTipOf(row.message);
        // One line in the list; the detail pane shows the message with its line breaks.
        QString flat = row.message;
        flat.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        return flat;
    }
    }
}

QVariant HistoryList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_headings.size())
        return m_headings[section];
    return {};
}

} // namespace core
