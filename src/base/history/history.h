#pragma once

#include "base/core/context.h"
#include "base/core/history.h"
#include "base/core/partnerrecord.h"

#include <QHash>

#include <memory>

namespace history {

// The history of what was sent and received: the two lists the viewer shows, and the journal file.
// Each step does nothing while history is off (logEnabled), and journals only while logSave is on.
// The rows of the sent list follow the deliveries and reactions of each addressee: the deliveries
// to one address join one row (a run) until that address reacts, and the next delivery opens a
// new row.
class History final {
public:
    explicit History(core::Context &context);

    core::HistoryList &sent() { return m_sent; }
    core::HistoryList &received() { return m_received; }
    const core::HistoryList &sent() const { return m_sent; }
    const core::HistoryList &received() const { return m_received; }

    // A message to `to` whose text is `text` was delivered: the open run takes it, or a new run
    // begins. Journals the run so far.
    void delivered(const core::Peer &to, const QString &text);
    // `to` opened, held or discarded what we sent: its run is closed with the time, marked as
    // closed unread for a discard. A second reaction for the same run changes nothing.
    void reacted(const core::Peer &to, bool discarded);
    // The row the next delivery to `to` joins; null when no run is open there.
    std::shared_ptr<core::HistoryRow> openRow(const core::Peer &to) const { return m_openRuns.value(to); }

    // A message arrived at `at`: a new received row; null while history is off.
    std::shared_ptr<core::HistoryRow> messageReceived(const QDateTime &at);
    enum class Completion { Reply, Open, Discard };
    // The user first answered a received message: its row takes the time and the window's text.
    void receivedCompleted(const std::shared_ptr<core::HistoryRow> &row, Completion how,
                           const QString &windowText);

    enum class Direction { Send, Receive };
    // Appends one entry to logFile.dat: sent or received, the row's time and its text.
    void writeJournal(Direction direction, const QString &time, const QString &text);

private:
    QString nowTime() const;
    void journal(Direction direction, const core::HistoryRow &row, const QString &time);
    QByteArray lineStartFor(const QString &path);

    core::Context &m_context;
    core::HistoryList m_sent;
    core::HistoryList m_received;
    // Closed runs are dropped, so only addresses with something unanswered are held.
    QHash<core::Peer, std::shared_ptr<core::HistoryRow>> m_openRuns;
};

// The header line of a journal entry, without its line end.
QString journalHeader(History::Direction direction, const QDate &date, const QString &time);

} // namespace history
