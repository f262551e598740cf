#pragma once

#include "base/core/icons.h"
#include "base/platform/tray.h"

#include <QString>

namespace core {

// The state that several parts of a running copy share, under the names the whole program uses.
// Nothing here is saved; the partner and the options have files of their own.
struct SharedState {
    // The partner and the addresses in use.
    QString partnerName;
    // As a dotted quad (text::dottedQuad), the way senders' addresses arrive; empty: no partner
    // registered.
    QString partnerAddress;
    QString port; // "57979", held as text
    QString startTime;
    QString endTime;

    // The tray.
    IconId trayPicture;
    platform::TrayRecord trayRecord;
    int trayResult = 0;

    // The operation lock is on: the tray menu shows only its own entry, checked.
    bool locked = false;

    // Enabled states the two message entries get back when the operation lock is lifted.
    bool composeEntryEnabled = false;
    bool receivedEntryEnabled = false;

    int weekdayNumber = 0; // weekday of the start-up day, Sunday = 1
    QString weekday;       // the same as one kanji
    QString lastAnswer;    // answer of the last message box, as text
    int blinkPhase = 0;    // phase shared by the blink and the call animation
    int callCount = 0;

    // Who this copy is, for the user search: login name (at most 20 characters) and host name.
    QString loginName;
    QString hostName;
};

} // namespace core
