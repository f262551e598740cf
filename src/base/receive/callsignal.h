#pragma once

#include "base/core/menu.h"
#include "base/core/partnerrecord.h"
#include "base/core/trayicon.h"
#include "base/protocol/arrival.h"
#include "base/protocol/dispatch.h"
#include "base/protocol/send.h"

namespace receive {

// The call signal: a double click sends a call to the partner, whose tray icon then animates until
// the partner turns to the program.
class CallSignal final {
public:
    // The call menu's two entries pick the kind of call.
    CallSignal(protocol::Outbox &outbox, core::MenuModel &menu, const core::RegisteredPartner &partner,
               core::TrayIcon &tray);
    // Takes calls, and notes every arrival's kind.
    void plugInto(protocol::Dispatcher &dispatcher);

    // Double click on the compose window's picture: a call of the kind the call menu has checked.
    void sendCall();
    // A call arrived: from the partner, the animation runs (a second call only changes the kind);
    // anyone else's call is not taken, as the partner's start and end notices alone are.
    void callArrived(const protocol::Arrival &arrival);
    // Every datagram, of whatever kind: the animation shows a person while the last one that
    // arrived has "1" as its twelfth character, a telephone otherwise. A call says its kind there;
    // a message that arrives during the animation turns it to the telephone.
    void noteArrival(const protocol::Arrival &arrival);

private:
    protocol::Outbox &m_outbox;
    core::MenuModel &m_menu;
    const core::RegisteredPartner &m_partner;
    core::TrayIcon &m_tray;
};

} // namespace receive
