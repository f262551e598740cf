#include "base/history/history.h"

#include "base/text/cp932.h"
#include "base/text/fields.h"

namespace history {

History::History(core::Context &context)
    : m_context(context),
      m_sent({QStringLiteral(" 送信日"), QStringLiteral("送信時間"),
              QStringLiteral("受信時間（相手が受信した時間）"), QStringLiteral("送信ﾒｯｾｰｼﾞ")}),
      m_received({QStringLiteral(" 受信日"), QStringLiteral("送信時間（相手が送信した時間）"),
                  QStringLiteral("受信時間"), QStringLiteral("受信ﾒｯｾｰｼﾞ")})
{
}

QString History::nowTime() const
{
    return text::hhmmss(m_context.now().time());
}

void History::journal(Direction direction, const core::HistoryRow &row, const QString &time)
{
    if (m_context.opt.savesJournal())
        writeJournal(direction, time, row.message);
}

// What goes before a new entry so that it starts on a line of its own: nothing after a whole
// entry, the rest of a line end, or a whole one after the piece of an entry that a copy killed in
// the middle of its write left behind. Only the journal's last two bytes are read.
QByteArray History::lineStartFor(const QString &path)
{
    QByteArray tail;
    if (m_context.services.files.readTail(path, tail, 2) != platform::FileResult::Ok || tail.isEmpty() ||
        tail.endsWith("\r\n"))
        return {};
    return tail.endsWith('\r') ? QByteArray("\n") : QByteArray("\r\n");
}

void History::delivered(const core::Peer &to, const QString &text)
{
    if (!m_context.opt.keepsHistory())
        return;
    std::shared_ptr<core::HistoryRow> &row = m_openRuns[to];
    if (row) {
        row->sendTime = nowTime();
        row->message += QStringLiteral(" | ") + text;
        m_sent.rowChanged(row);
    } else {
        row = m_sent.append({text::yymmdd(m_context.now().date()), nowTime(), {}, text});
    }
    journal(Direction::Send, *row, row->sendTime);
}

void History::reacted(const core::Peer &to, bool discarded)
{
    if (!m_context.opt.keepsHistory())
        return;
    const std::shared_ptr<core::HistoryRow> row = m_openRuns.take(to);
    if (!row || m_sent.isEmpty())
        return;
    row->recvTime = nowTime();
    row->closedUnread = discarded;
    m_sent.rowChanged(row);
}

std::shared_ptr<core::HistoryRow> History::messageReceived(const QDateTime &at)
{
    if (!m_context.opt.keepsHistory())
        return {};
    return m_received.append({text::yymmdd(at.date()), text::hhmmss(at.time()), {}, {}});
}

void History::receivedCompleted(const std::shared_ptr<core::HistoryRow> &row, Completion how,
                                const QString &windowText)
{
    if (!m_context.opt.keepsHistory() || m_received.isEmpty() || !row)
        return;
    row->recvTime = nowTime();
    row->closedUnread = how == Completion::Discard;
    row->message = windowText;
    m_received.rowChanged(row);
    // A message closed unread is not journaled.
    if (how != Completion::Discard)
        journal(Direction::Receive, *row, row->recvTime);
}

QString journalHeader(History::Direction direction, const QDate &date, const QString &time)
{
    // The date as a Japanese system writes its short form, so the journal reads the same as the
    // ones the Windows copies keep, whatever this system's locale.
    return QString(51, u'-') + u'<' +
           (direction == History::Direction::Send ? QStringLiteral(" send    ")
                                                  : QStringLiteral(" receive ")) +
           date.toString(u"yyyy/MM/dd") + u' ' + time + QStringLiteral(">-----");
}

void History::writeJournal(Direction direction, const QString &time, const QString &text)
{
    const QString path = m_context.dataFile(QStringLiteral("logFile.dat"));
    const QByteArray entry = text::toCp932(journalHeader(direction, m_context.now().date(), time) +
                                           QStringLiteral("\r\n") + text + QStringLiteral("\r\n"));
    // The entry is written whole in one write: Retry writes it again, Cancel gives it up. The
    // journal holds what was said, so only its owner may read it.
    m_context.withDiskRetry(
        [&] { return m_context.services.files.append(path, lineStartFor(path) + entry, true); },
        QStringLiteral("ﾃﾞｨｽｸの空き容量が不足しています。"), QStringLiteral("ﾛｸﾞ書込みｴﾗｰ"));
}

} // namespace history
