#pragma once

#include "base/core/context.h"

// The steps that fill the sent and received history lists, and the journal file. Each does
// nothing while history is off (logEnabled), and journals only while logSave is on.
namespace history {

// The partner acknowledged a sent message whose text is `text`: the open run of sent messages
// takes it, or a new run begins.
void sentAcknowledged(core::Context &context, const QString &text);
// The partner opened, held or discarded what we sent: the run is closed with the time, marked
// "*" for a discard. A second notice for the same run changes nothing.
void partnerNotice(core::Context &context, bool discarded);
// A message arrived and was acknowledged: a new received row.
void messageReceived(core::Context &context);

enum class Completion { Reply, Open, Discard };
// The user first answered the received message: the row takes the time and the window's text.
void receivedCompleted(core::Context &context, Completion how, const QString &windowText);

// Appends the entry in journalKind, journalTime and journalText to logFile.dat.
void writeJournal(core::Context &context);
// The header line of a journal entry, without its line end.
QString journalHeader(const QString &kind, const QDate &date, const QString &time);

} // namespace history
