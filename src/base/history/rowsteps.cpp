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
    if (context.opt.logSave != 1)
        return;
    context.state.journalKind = kind;
    context.state.journalTime = time;
    context.state.journalText = row.message;
    writeJournal(context);
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

void sentAcknowledged(core::Context &context, const QString &text)
{
    if (context.opt.logEnabled != 1)
        return;
    core::SharedState &s = context.state;
    if (s.sentRunOpen && s.sentRow) {
        s.sentRow->sendTime = nowTime(context);
        s.sentRow->message += QStringLiteral(" | ") + text;
        context.sentHistory.rowChanged(s.sentRow);
    } else {
        s.sentRunOpen = true;
        s.sentRow =
            context.sentHistory.append({text::yymmdd(context.now().date()), nowTime(context), {}, text});
    }
    journal(context, kSend, *s.sentRow, s.sentRow->sendTime);
}

void partnerNotice(core::Context &context, bool discarded)
{
    core::SharedState &s = context.state;
    if (context.opt.logEnabled != 1 || !s.sentRunOpen)
        return;
    s.sentRunOpen = false;
    if (context.sentHistory.isEmpty() || !s.sentRow)
        return;
    s.sentRow->recvTime = nowTime(context) + (discarded ? QStringLiteral("*") : QString());
    context.sentHistory.rowChanged(s.sentRow);
}

void messageReceived(core::Context &context)
{
    if (context.opt.logEnabled != 1)
        return;
    context.state.receivedRow =
        context.receivedHistory.append({text::yymmdd(context.now().date()), nowTime(context), {}, {}});
}

void receivedCompleted(core::Context &context, Completion how, const QString &windowText)
{
    core::SharedState &s = context.state;
    if (context.opt.logEnabled != 1 || context.receivedHistory.isEmpty() || !s.receivedRow)
        return;
    s.receivedRow->recvTime =
        nowTime(context) + (how == Completion::Discard ? QStringLiteral("*") : QString());
    s.receivedRow->message = windowText;
    context.receivedHistory.rowChanged(s.receivedRow);
    // A message closed unread is not journaled.
    if (how != Completion::Discard)
        journal(context, kReceive, *s.receivedRow, s.receivedRow->recvTime);
}

QString journalHeader(const QString &kind, const QDate &date, const QString &time)
{
    // The date as a Japanese system writes its short form, so the journal reads the same as the
    // ones the Windows copies keep, whatever this system's locale.
    return QString(51, u'-') + u'<' +
           (kind == kSend ? QStringLiteral(" send    ") : QStringLiteral(" receive ")) +
           date.toString(u"yyyy/MM/dd") + u' ' + time + QStringLiteral(">-----");
}

void writeJournal(core::Context &context)
{
    const core::SharedState &s = context.state;
    const QString path = context.dataFile(QStringLiteral("logFile.dat"));
    const QByteArray entry = text::toCp932(journalHeader(s.journalKind, context.now().date(), s.journalTime) +
                                           QStringLiteral("\r\n") + s.journalText + QStringLiteral("\r\n"));
    // The entry is written whole in one write: Retry writes it again, Cancel gives it up. The
    // journal holds what was said, so only its owner may read it.
    context.withDiskRetry(
        [&] { return context.services.files.append(path, lineStartFor(context, path) + entry, true); },
        QStringLiteral("ﾃﾞｨｽｸの空き容量が不足しています。"), QStringLiteral("ﾛｸﾞ書込みｴﾗｰ"));
}

} // namespace history
