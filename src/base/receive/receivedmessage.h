#pragma once

#include "base/core/context.h"
#include "base/protocol/sending.h"

namespace receive {

// The received-message window's answers: reply, open or close the text, hold, and close.
class ReceivedMessage final {
public:
    ReceivedMessage(core::Context &context, protocol::Sending &sending)
        : m_context(context), m_sending(sending)
    {
    }

    // "返信(&S)": the reply box as an ordinary message to the sender of what the window holds.
    void reply();
    // "OPEN"/"CLOSE": shows or hides the text; the first opening of a waiting message is
    // reported to its sender.
    void openOrClose();
    // "返信保留 ": hides the window and tells the sender the reply is on hold.
    void hold();
    // "閉じる " and the close box: hides the window, telling the sender when the message was
    // closed unread.
    void close();
    // Puts the normal picture back into the tray, which ends the waiting state.
    void markDealtWith();

private:
    // The received-history row of the message: the time (with "*" when closed unread) and the
    // window's text.
    void completeRow(bool discarded);
    void send(const QString &text, const std::function<void()> &afterSend = {});

    core::Context &m_context;
    protocol::Sending &m_sending;
};

} // namespace receive
