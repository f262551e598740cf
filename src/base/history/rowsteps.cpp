#include "base/history/rowsteps.h"

#include "base/core/history.h"
#include "base/text/cp932.h"
#include "base/text/fields.h"

namespace history {
namespace {

const QString kSend = QStringLiteral("send");
const QString kReceive = QStringLiteral("receive");

QString nowTime(const core::Context &context)
{
    return text::hhmmss(context.now().time());
}

void journal(core::Context &context, const QString &kind, const core::HistoryRow &row, const QString &time)
{
    if (context.opt.savesJournal())
        writeJournal(context, kind, time, row.message);
}

// What goes before a new entry so that it starts on a line of its own: nothing after a whole
// entry, the rest of a line end, or a whole one after the piece of an entry that a copy killed in
// the middle of its write left behind. Only the journal's last two bytes are read.
QByteArray lineStartFor(core::Context &context, const QString &path)
{
    QByteArray tail;
    if (context.services.files.readTail(path, tail, 2) != platform::FileResult::Ok || tail.isEmpty() ||
        tail.endsWith("\r\n"))
        return {};
    return tail.endsWith('\r') ? QByteArray("\n") : QByteArray("\r\n");
}

} // namespace

void SentRows::delivered(core::Context &context, const QString &to, const QString &text)
{
    if (!context.opt.keepsHistory())
        return;
    std::shared_ptr<core::HistoryRow> &row = m_openRuns[to];
    if (row) {
        row->sendTime = nowTime(context);
        row->message += QStringLiteral(" | ") + text;
        context.sentHistory.rowChanged(row);
    } else {
        row = context.sentHistory.append({text::yymmdd(context.now().date()), nowTime(context), {}, text});
    }
    journal(context, kSend, *row, row->sendTime);
}

void SentRows::reacted(core::Context &context, const QString &to, bool discarded)
{
    if (!context.opt.keepsHistory())
        return;
    const std::shared_ptr<core::HistoryRow> row = m_openRuns.take(to);
    if (!row || context.sentHistory.isEmpty())
        return;
    row->recvTime = nowTime(context) + (discarded ? QStringLiteral("*") : QString());
    context.sentHistory.rowChanged(row);
}

std::shared_ptr<core::HistoryRow> SentRows::openRow(const QString &to) const
{
    return m_openRuns.value(to);
}

std::shared_ptr<core::HistoryRow> messageReceived(core::Context &context, const QDateTime &at)
{
    if (!context.opt.keepsHistory())
        return {};
    return context.receivedHistory.append({text::yymmdd(at.date()), text::hhmmss(at.time()), {}, {}});
}

void receivedCompleted(core::Context &context, const std::shared_ptr<core::HistoryRow> &row, Completion how,
                       const QString &windowText)
{
    if (!context.opt.keepsHistory() || context.receivedHistory.isEmpty() || !row)
        return;
    row->recvTime = nowTime(context) + (how == Completion::Discard ? QStringLiteral("*") : QString());
    row->message = windowText;
    context.receivedHistory.rowChanged(row);
    // A message closed unread is not journaled.
    if (how != Completion::Discard)
        journal(context, kReceive, *row, row->recvTime);
}

QString journalHeader(const QString &kind, const QDate &date, const QString &time)
{
    // The date as a Japanese system writes its short form, so the journal reads the same as the
    // ones the Windows copies keep, whatever this system's locale.
    return QString(51, u'-') + u'<' +
           (kind == kSend ? QStringLiteral(" send    ") : QStringLiteral(" receive ")) +
           date.toString(u"yyyy/MM/dd") + u' ' + time + QStringLiteral(">-----");
}

void writeJournal(core::Context &context, const QString &kind, const QString &time, const QString &text)
{
    const QString path = context.dataFile(QStringLiteral("logFile.dat"));
    const QByteArray entry = text::toCp932(journalHeader(kind, context.now().date(), time) +
                                           QStringLiteral("\r\n") + text + QStringLiteral("\r\n"));
    // The entry is written whole in one write: Retry writes it again, Cancel gives it up. The
    // journal holds what was said, so only its owner may read it.
    context.withDiskRetry(
        [&] { return context.services.files.append(path, lineStartFor(context, path) + entry, true); },
        QStringLiteral("ﾃﾞｨｽｸの空き容量が不足しています。"), QStringLiteral("ﾛｸﾞ書込みｴﾗｰ"));
}

} // namespace history
