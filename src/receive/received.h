#pragma once

#include "core/context.h"

namespace receive {

// The received-message window's answers: reply, open or close the text, hold, and close.
class ReceivedWindow final {
public:
    explicit ReceivedWindow(core::Context &context) : m_context(context) {}

    // "返信(&S)": the reply box as an ordinary message to sendAdr.
    void cmdCbackClick();
    // "OPEN"/"CLOSE": shows or hides the text; the first opening of a waiting message is
    // reported to its sender.
    void cmdOPCLClick();
    // "返信保留 ": hides the window and tells the sender the reply is on hold.
    void cmdCancelClick();
    // "閉じる " and the close box: hides the window, telling the sender when the message was
    // closed unread.
    void cmdDelClick();
    // Puts the normal picture back into the tray, which ends the waiting state.
    void iconNormal();

private:
    // The received-history row of the message: the time (with "*" when closed unread) and the
    // window's text.
    void completeRow(bool discarded);
    void send(const QString &text, const std::function<void()> &afterSend = {});

    core::Context &m_context;
};

} // namespace receive
