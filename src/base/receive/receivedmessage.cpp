#include "base/receive/receivedmessage.h"

#include "base/history/rowsteps.h"
#include "base/protocol/send.h"
#include "base/protocol/tags.h"

namespace receive {

using protocol::Kind;

void ReceivedMessage::send(const QString &text, const std::function<void()> &afterSend)
{
    protocol::sendDatagram(m_context, m_context.state.replyAddress, text, afterSend);
}

void ReceivedMessage::markDealtWith()
{
    m_context.state.messageWaits = false;
    m_context.changeTray(m_context.composeWindow.icon());
}

void ReceivedMessage::completeRow(bool discarded)
{
    history::receivedCompleted(m_context,
                               discarded ? history::Completion::Discard : history::Completion::Reply,
                               m_context.receivedWindow.view().message);
}

void ReceivedMessage::reply()
{
    core::Context &c = m_context;
    const QString reply = c.receivedWindow.view().reply;
    if (reply.isEmpty()) {
        c.box(QStringLiteral("ﾒｯｾｰｼﾞを入力してください。"), platform::box::exclamation);
        return;
    }
    // A reply too long to send changes nothing: the message still waits, the row stays open.
    m_sending.sendMessage(c.state.replyAddress, reply, [&] {
        if (c.messageWaiting())
            completeRow(false);
        // The compose box holds what was sent last, as after a send from the compose window.
        c.composeWindow.edit([&](core::ComposeView &v) { v.message = reply; });
        markDealtWith();
        c.menu.setEnabled(core::MenuId::ShowReceived, false);
        c.menu.setEnabled(core::MenuId::Compose, true);
        c.receivedWindow.hide();
    });
}

void ReceivedMessage::openOrClose()
{
    core::Context &c = m_context;
    if (c.state.messageShown) {
        c.state.messageShown = false;
        c.receivedWindow.edit([](core::ReceivedView &v) {
            v.messageVisible = false;
            v.openCloseCaption = QStringLiteral("OPEN");
        });
        return;
    }
    c.state.messageShown = true;
    c.receivedWindow.edit([](core::ReceivedView &v) {
        v.messageVisible = true;
        v.openCloseCaption = QStringLiteral("CLOSE");
    });
    if (!c.messageWaiting())
        return;
    // A failing send is passed over here like everywhere else: opening a message never ends
    // the program.
    send(protocol::tagOf(Kind::Opened));
    markDealtWith();
    completeRow(false);
}

void ReceivedMessage::hold()
{
    core::Context &c = m_context;
    if (!c.messageWaiting()) {
        c.receivedWindow.hide();
        return;
    }
    markDealtWith();
    send(protocol::tagOf(Kind::Held), [&c] { c.receivedWindow.hide(); });
}

void ReceivedMessage::close()
{
    core::Context &c = m_context;
    c.menu.setEnabled(core::MenuId::ShowReceived, false);
    c.menu.setEnabled(core::MenuId::Compose, true);
    if (c.messageWaiting()) {
        markDealtWith();
        send(protocol::tagOf(Kind::Discarded));
        completeRow(true);
    }
    c.receivedWindow.hide();
}

} // namespace receive
