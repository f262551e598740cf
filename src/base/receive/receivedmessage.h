#pragma once

#include "base/core/context.h"
#include "base/protocol/sending.h"
#include "base/receive/receiving.h"

namespace receive {

// The received-message window's answers: reply, open or close the text, hold, and close. Each
// goes to the person whose message the window holds.
class ReceivedMessage final {
public:
    ReceivedMessage(core::Context &context, protocol::Outbox &outbox, protocol::Sending &sending,
                    Receiving &receiving, history::History &history)
        : m_context(context), m_outbox(outbox), m_sending(sending), m_receiving(receiving), m_history(history)
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

private:
    // The received-history row of the message: the time (with "*" when closed unread) and the
    // window's text.
    void completeRow(bool discarded);
    // An answer to the person whose message the window holds.
    void answer(protocol::Kind kind);
    // A held message that is read, replied to or closed is dealt with without a word to its
    // sender, who already knows it was held.
    void settleHeld();
    void hideWindow();

    core::Context &m_context;
    protocol::Outbox &m_outbox;
    protocol::Sending &m_sending;
    Receiving &m_receiving;
    history::History &m_history;
};

} // namespace receive
