#pragma once

#include "base/core/icons.h"
#include "base/platform/tray.h"

#include <QDateTime>
#include <QString>

#include <memory>

namespace core {

struct HistoryRow;

// Header of the next outgoing message or letter: two fixed-width fields.
struct MsgHead {
    QString headName = QString(12, u' ');
    QString headTime = QString(8, u' ');
};

// The state that several parts of a running copy share, under the names the whole program uses.
// Nothing here is saved; the partner and the options have files of their own.
struct SharedState {
    // The partner and the addresses in use.
    QString aiteName;
    QString aiteAdr; // empty: no partner registered
    QString sendAdr; // where the received window's answers go: the sender of its message
    QString rcvAdr;  // sender of the message the received window holds
    QString portNo;  // "57979", held as text
    QString startTime;
    // The last presence check: the address it asked and when. Only that copy's answer, and only
    // soon after, is shown; anyone could send one.
    QString presenceAskedAdr;
    QDateTime presenceAskedAt;
    QString endTime;

    // The tray.
    IconId trayIcon;
    platform::TrayRecord nid;
    int nidResult = 0;

    MsgHead msgHead;
    QString openState;
    // A received message has arrived and not yet been dealt with (replied to, opened, held or
    // closed). Whatever picture the tray shows meanwhile (a blink phase, a call frame, a start
    // notice), this is what the end's question and the window's buttons go by.
    bool messageWaits = false;

    // The last message shown.
    QString rcvName;
    QString rcvTime;

    // The current rows of the sent and received history lists.
    std::shared_ptr<HistoryRow> ItemL;
    std::shared_ptr<HistoryRow> ItemR;
    // The journal entry about to be written.
    QString logKind;
    QString logTime;
    QString logMsg;

    // Enabled states the two message entries get back when the operation lock is lifted.
    bool sndEnable = false;
    bool rcvEnable = false;

    QString rcvData;      // the datagram in hand
    QString rcvTag;       // its first 11 characters, as the receive handler takes them
    QString remoteHostIP; // its sender, as the receiving socket reports it
    int youbiNo = 0;      // weekday of the start-up day, Sunday = 1
    QString youbi;        // the same as one kanji
    QString ans;          // answer of the last message box, as text
    QString sndLogged;    // "1" while a run of sent messages is open
    int blinkState = 0;   // phase shared by the blink and the call animation
    int callCount = 0;

    // Who this copy is, for the user search: login name (at most 20 characters) and host name.
    QString loginName;
    QString hostName;
};

} // namespace core
