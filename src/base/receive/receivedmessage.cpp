#include "base/receive/receivedmessage.h"

#include "base/protocol/tags.h"

namespace receive {

using protocol::Kind;

void ReceivedMessage::answer(Kind kind)
{
    m_outbox.send(m_receiving.window().view().sender, protocol::tagOf(kind));
}

void ReceivedMessage::completeRow(bool discarded)
{
    m_history.receivedCompleted(m_receiving.windowRow(),
                                discarded ? history::History::Completion::Discard
                                          : history::History::Completion::Reply,
                                m_receiving.window().view().message);
}

void ReceivedMessage::settleHeld()
{
    if (m_receiving.window().view().state == ReceivedState::Held)
        m_receiving.dealtWith(ReceivedState::DealtWith);
}

void ReceivedMessage::hideWindow()
{
    m_receiving.window().hide();
    m_receiving.windowLeft();
}

void ReceivedMessage::reply()
{
    core::Context &c = m_context;
    const ReceivedView &v = m_receiving.window().view();
    const QString reply = v.reply;
    if (reply.isEmpty()) {
        c.box(QStringLiteral("ﾒｯｾｰｼﾞを入力してください。"), platform::box::exclamation);
        return;
    }
    // Copies: hiding the window below may bring the next person's message into it.
    const core::Peer to = v.sender;
    const QString name = v.senderName;
    // A reply too long to send changes nothing: the message still waits, the row stays open.
    // The compose window keeps whatever draft it holds: the ledger has the reply's text.
    if (!m_sending.sendMessage(to, reply, name))
        return;
    if (m_receiving.window().waiting())
        completeRow(false);
    m_receiving.dealtWith(ReceivedState::DealtWith);
    // Sent, the reply is no draft any more: it could only be sent twice by mistake. Should it go
    // unanswered, it comes back into the box.
    m_receiving.window().edit([](ReceivedView &view) { view.reply.clear(); });
    c.menu.setEnabled(core::MenuId::ShowReceived, false);
    c.menu.setEnabled(core::MenuId::Compose, true);
    hideWindow();
}

void ReceivedMessage::openOrClose()
{
    if (m_receiving.window().view().messageVisible) {
        m_receiving.window().edit([](ReceivedView &v) {
            v.messageVisible = false;
            v.openCloseCaption = QStringLiteral("OPEN");
        });
        return;
    }
    m_receiving.window().edit([](ReceivedView &v) {
        v.messageVisible = true;
        v.openCloseCaption = QStringLiteral("CLOSE");
    });
    settleHeld();
    if (!m_receiving.window().waiting())
        return;
    // A failing send is passed over here like everywhere else: opening a message never ends
    // the program.
    answer(Kind::Opened);
    m_receiving.dealtWith(ReceivedState::DealtWith);
    completeRow(false);
}

void ReceivedMessage::hold()
{
    if (!m_receiving.window().waiting()) {
        hideWindow();
        return;
    }
    m_receiving.dealtWith(ReceivedState::Held);
    answer(Kind::Held);
    hideWindow();
}

void ReceivedMessage::close()
{
    core::Context &c = m_context;
    c.menu.setEnabled(core::MenuId::ShowReceived, false);
    c.menu.setEnabled(core::MenuId::Compose, true);
    if (m_receiving.window().waiting()) {
        m_receiving.dealtWith(ReceivedState::DealtWith);
        answer(Kind::Discarded);
        completeRow(true);
    }
    settleHeld();
    hideWindow();
}

} // namespace receive
