#pragma once

#include "base/core/context.h"

#include <QHash>

#include <memory>

// The steps that fill the sent and received history lists, and the journal file. Each does
// nothing while history is off (logEnabled), and journals only while logSave is on.
namespace history {

// The rows of the sent list as the deliveries and reactions of each addressee fill them: the
// deliveries to one address join one row (a run) until that address reacts, and the next
// delivery opens a new row.
class SentRows final {
public:
    // A message to `to` whose text is `text` was delivered: the open run takes it, or a new run
    // begins. Journals the run so far.
    void delivered(core::Context &context, const QString &to, const QString &text);
    // `to` opened, held or discarded what we sent: its run is closed with the time, marked "*"
    // for a discard. A second reaction for the same run changes nothing.
    void reacted(core::Context &context, const QString &to, bool discarded);
    // The row the next delivery to `to` joins; null when no run is open there.
    std::shared_ptr<core::HistoryRow> openRow(const QString &to) const;

private:
    // Closed runs are dropped, so only addresses with something unanswered are held.
    QHash<QString, std::shared_ptr<core::HistoryRow>> m_openRuns;
};

// A message arrived at `at`: a new received row; null while history is off.
std::shared_ptr<core::HistoryRow> messageReceived(core::Context &context, const QDateTime &at);

enum class Completion { Reply, Open, Discard };
// The user first answered a received message: its row takes the time and the window's text.
void receivedCompleted(core::Context &context, const std::shared_ptr<core::HistoryRow> &row, Completion how,
                       const QString &windowText);

// Appends one entry to logFile.dat: "send" or "receive", the row's time and its text.
void writeJournal(core::Context &context, const QString &kind, const QString &time, const QString &text);
// The header line of a journal entry, without its line end.
QString journalHeader(const QString &kind, const QDate &date, const QString &time);

} // namespace history
