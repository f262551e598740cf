#pragma once

#include "base/core/icons.h"
#include "base/platform/tray.h"

#include <QDateTime>
#include <QString>

#include <memory>

namespace core {

struct HistoryRow;

// Header of the next outgoing message or letter: two fixed-width fields.
struct MessageHead {
    QString headName = QString(12, u' ');
    QString headTime = QString(8, u' ');
};

// The state that several parts of a running copy share, under the names the whole program uses.
// Nothing here is saved; the partner and the options have files of their own.
struct SharedState {
    // The partner and the addresses in use.
    QString partnerName;
    QString partnerAddress; // empty: no partner registered
    QString replyAddress;   // where the received window's answers go: the sender of its message
    QString receivedFrom;   // sender of the message the received window holds
    QString port;           // "57979", held as text
    QString startTime;
    // The last presence check: the address it asked and when. Only that copy's answer, and only
    // soon after, is shown; anyone could send one.
    QString presenceAskedAddress;
    QDateTime presenceAskedAt;
    QString endTime;

    // The tray.
    IconId trayPicture;
    platform::TrayRecord trayRecord;
    int trayResult = 0;

    MessageHead outgoingHead;
    bool messageShown = false; // the received window shows its text (OPEN was pressed)
    // A received message has arrived and not yet been dealt with (replied to, opened, held or
    // closed). Whatever picture the tray shows meanwhile (a blink phase, a call frame, a start
    // notice), this is what the end's question and the window's buttons go by.
    bool messageWaits = false;
    // The operation lock is on: the tray menu shows only its own entry, checked.
    bool locked = false;

    // The last message shown.
    QString receivedName;
    QString receivedTime;

    // The current rows of the sent and received history lists.
    std::shared_ptr<HistoryRow> sentRow;
    std::shared_ptr<HistoryRow> receivedRow;
    // The journal entry about to be written.
    QString journalKind;
    QString journalTime;
    QString journalText;

    // Enabled states the two message entries get back when the operation lock is lifted.
    bool composeEntryEnabled = false;
    bool receivedEntryEnabled = false;

    int weekdayNumber = 0;    // weekday of the start-up day, Sunday = 1
    QString weekday;          // the same as one kanji
    QString lastAnswer;       // answer of the last message box, as text
    bool sentRunOpen = false; // a run of sent messages is open: the next delivery joins its row
    int blinkPhase = 0;       // phase shared by the blink and the call animation
    int callCount = 0;

    // Who this copy is, for the user search: login name (at most 20 characters) and host name.
    QString loginName;
    QString hostName;
};

} // namespace core
