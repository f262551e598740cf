#include "sessionsteps.h"

#include "bounds.h"

#include <QFileInfo>

namespace fuzzcheck {
namespace {

// A journal far beyond any bound: the session stops there, whatever the checks said.
constexpr qint64 kMostJournalBytes = qint64{256} << 20;

} // namespace

void Session::fault(const QString &what)
{
    m_result.broken << what;
    m_stop = true;
}

qint64 Session::Side::arrivals() const
{
    return static_cast<const testkit::FakeTransport &>(*copy->transport).arrivals();
}

void Session::checkSends()
{
    testkit::FakeNetwork &net = m_pair->net;
    for (const testkit::SentDatagram &d : net.sent()) {
        // The rig's own datagrams never exceed the wire's limit, so this is a copy's.
        if (d.result == platform::socket_error::messageTooLong)
            fault(
                QStringLiteral("%1 tried to send %2 bytes in one datagram").arg(d.from).arg(d.bytes.size()));
        if (d.port != kWirePort)
            fault(QStringLiteral("%1 sent to port %2").arg(d.from).arg(d.port));
    }
    net.clearLog();
}

void Session::checkBounds()
{
    // Once something broke the session is over; a box's deliveries may still come back here.
    if (m_stop)
        return;
    for (Side &side : m_sides) {
        testkit::TestCopy &t = *side.copy;
        const QString &who = side.name;
        const receive::ReceivedView &received = t.receivedWindow().view();
        if (received.message.size() > bounds::kHeldText)
            fault(QStringLiteral("%1 holds %2 characters of received text")
                      .arg(who)
                      .arg(received.message.size()));
        if (received.reply.size() > bounds::kTyped)
            fault(QStringLiteral("%1's reply box holds %2 characters").arg(who).arg(received.reply.size()));
        if (t.compose().window().view().message.size() > bounds::kTyped)
            fault(QStringLiteral("%1's compose box holds %2 characters")
                      .arg(who)
                      .arg(t.compose().window().view().message.size()));
        if (const receive::LetterWindowModel *letter = t.copy->letters().slot().ifLoaded()) {
            if (letter->view().letter.size() > bounds::kTyped ||
                letter->view().statusPanel().size() > bounds::kLetterStatus)
                fault(QStringLiteral("%1's letter holds %2 characters, its status line %3")
                          .arg(who)
                          .arg(letter->view().letter.size())
                          .arg(letter->view().statusPanel().size()));
        }
        if (const receive::UserWindowModel *users = t.copy->userSearch().slot().ifLoaded()) {
            if (users->view().rows.size() > bounds::kSearchRows)
                fault(QStringLiteral("%1 lists %2 search answers").arg(who).arg(users->view().rows.size()));
        }
        // A row comes from an arrival: an acknowledgement or a message.
        const qint64 arrivals = side.arrivals();
        if (t.history().sent().size() > arrivals || t.history().received().size() > arrivals)
            fault(QStringLiteral("%1 has %2 sent and %3 received rows from %4 arrivals")
                      .arg(who)
                      .arg(t.history().sent().size())
                      .arg(t.history().received().size())
                      .arg(arrivals));
        // The rows being written: the sent one takes a run of texts, the received one the held text.
        for (const protocol::SentEntry &entry : t.copy->sending().ledger().entries()) {
            const std::shared_ptr<core::HistoryRow> run = t.history().openRow(entry.to);
            if (run && run->message.size() > bounds::kHistoryRow) {
                fault(QStringLiteral("%1 has a sent-history row of %2 characters")
                          .arg(who)
                          .arg(run->message.size()));
                break;
            }
        }
        if (const auto &row = t.copy->receiving().windowRow();
            row && row->message.size() > bounds::kHistoryRow)
            fault(QStringLiteral("%1 has a received-history row of %2 characters")
                      .arg(who)
                      .arg(row->message.size()));
        // The journal takes at most an entry for the step and one for each arrival handled since
        // the last look (new ones, and those that waited then), and datagrams alone add only so
        // much to it.
        const qint64 journal = QFileInfo(QDir(t.programDir()).filePath(QStringLiteral("logFile.dat"))).size();
        const qint64 newArrivals = arrivals - side.arrivalsChecked;
        const qint64 entries = 1 + newArrivals + side.waitingChecked;
        const qint64 grown = journal - side.journalBytes;
        if (grown > entries * bounds::kJournalEntry)
            fault(QStringLiteral("%1's journal grew by %2 bytes in %3 entries at most")
                      .arg(who)
                      .arg(grown)
                      .arg(entries));
        if (!m_userStep)
            side.journalFromArrivals += grown;
        if (side.journalFromArrivals > bounds::kJournalFromArrivals)
            fault(QStringLiteral("%1's journal took %2 bytes from arrivals alone")
                      .arg(who)
                      .arg(side.journalFromArrivals));
        if (journal > kMostJournalBytes)
            m_stop = true;
        side.journalBytes = journal;
        side.arrivalsChecked = arrivals;
        side.waitingChecked = t.copy->dispatcher().waiting();
    }
}

void Session::checkEnd()
{
    for (const Side &side : m_sides) {
        if (side.copy->copy->hasEnded())
            fault(side.name + QStringLiteral(" ended"));
        for (const core::HistoryList *list :
             {&side.copy->history().sent(), &side.copy->history().received()}) {
            for (qsizetype position = 1; position <= list->size(); ++position) {
                const qsizetype size = list->at(position).message.size();
                if (size > bounds::kHistoryRow)
                    fault(QStringLiteral("%1 has a history row of %2 characters").arg(side.name).arg(size));
            }
        }
    }
}

} // namespace fuzzcheck
