#include "base/receive/received.h"

#include "base/history/rowsteps.h"
#include "base/protocol/send.h"
#include "base/protocol/tags.h"

namespace receive {

using protocol::Kind;

void ReceivedWindow::send(const QString &text, const std::function<void()> &afterSend)
{
    protocol::sendDatagram(m_context, m_context.state.sendAdr, text, afterSend);
}

void ReceivedWindow::iconNormal()
{
    m_context.state.messageWaits = false;
    m_context.changeTray(m_context.frmSnd.icon());
}

void ReceivedWindow::completeRow(bool discarded)
{
    history::receivedCompleted(m_context,
                               discarded ? history::Completion::Discard : history::Completion::Reply,
                               m_context.frmRecv.view().text1);
}

void ReceivedWindow::cmdCbackClick()
{
    core::Context &c = m_context;
    const QString reply = c.frmRecv.view().text2;
    if (reply.isEmpty()) {
        c.box(QStringLiteral("ﾒｯｾｰｼﾞを入力してください。"), platform::box::exclamation);
        return;
    }
    // A reply too long to send changes nothing: the message still waits, the row stays open.
    m_sending.sendMessage(c.state.sendAdr, reply, [&] {
        if (c.messageWaiting())
            completeRow(false);
        // The compose box holds what was sent last, as after a send from the compose window.
        c.frmSnd.edit([&](core::MainView &v) { v.txtMsg = reply; });
        iconNormal();
        c.menu.setEnabled(core::MenuId::RecvMsg, false);
        c.menu.setEnabled(core::MenuId::SendMsg, true);
        c.frmRecv.hide();
    });
}

void ReceivedWindow::cmdOPCLClick()
{
    core::Context &c = m_context;
    if (c.state.openState == u"1") {
        c.state.openState = QStringLiteral("0");
        c.frmRecv.edit([](core::ReceivedView &v) {
            v.text1Visible = false;
            v.cmdOPCLCaption = QStringLiteral("OPEN");
        });
        return;
    }
    c.state.openState = QStringLiteral("1");
    c.frmRecv.edit([](core::ReceivedView &v) {
        v.text1Visible = true;
        v.cmdOPCLCaption = QStringLiteral("CLOSE");
    });
    if (!c.messageWaiting())
        return;
    // A failing send is passed over here like everywhere else: opening a message never ends
    // the program.
    send(protocol::tagOf(Kind::Opened));
    iconNormal();
    completeRow(false);
}

void ReceivedWindow::cmdCancelClick()
{
    core::Context &c = m_context;
    if (!c.messageWaiting()) {
        c.frmRecv.hide();
        return;
    }
    iconNormal();
    send(protocol::tagOf(Kind::Held), [&c] { c.frmRecv.hide(); });
}

void ReceivedWindow::cmdDelClick()
{
    core::Context &c = m_context;
    c.menu.setEnabled(core::MenuId::RecvMsg, false);
    c.menu.setEnabled(core::MenuId::SendMsg, true);
    if (c.messageWaiting()) {
        iconNormal();
        send(protocol::tagOf(Kind::Discarded));
        completeRow(true);
    }
    c.frmRecv.hide();
}

} // namespace receive
