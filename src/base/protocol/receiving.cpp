#include "base/protocol/receiving.h"

#include "base/history/rowsteps.h"
#include "base/protocol/send.h"
#include "base/protocol/tags.h"
#include "base/protocol/wire.h"

namespace protocol {
namespace {

// The sender name as the captions show it: up to and including its first blank, or nothing when
// the field has no blank (or is all blanks).
QString senderName(QStringView field)
{
    if (field.trimmed().isEmpty())
        return {};
    const qsizetype blank = field.indexOf(u' ');
    return blank < 0 ? QString() : field.left(blank + 1).toString();
}

} // namespace

void appendToHeld(QString &held, QStringView message)
{
    const QLatin1StringView separator(" | ");
    held += separator;
    held += message;
    if (held.size() <= kHeldTextLimit)
        return;
    qsizetype keepFrom = held.size() - kHeldTextLimit * 3 / 4;
    // Keep whole messages where one starts close enough after the cut.
    const qsizetype next = held.indexOf(separator, keepFrom);
    if (next >= 0 && next - keepFrom < 1024)
        keepFrom = next;
    else if (held.at(keepFrom).isLowSurrogate())
        ++keepFrom;
    held.remove(0, keepFrom);
    if (!held.startsWith(separator))
        held.prepend(separator);
    held.prepend(kHeldTextCut);
}

bool Receiving::receive()
{
    core::Context &c = m_context;
    core::SharedState &s = c.state;
    s.rcvTag = s.rcvData.left(kTagWidth);
    if (classify(s.rcvTag) == Kind::Letter)
        s.rcvData = s.rcvData.mid(kTagWidth);

    if (c.opt.rejectOthers == 1 && s.remoteHostIP != s.aiteAdr) {
        otherReply();
        return false;
    }
    // The window's answers (OPEN, hold, close, reply) go to whoever wrote what it now holds, be it
    // a letter or a message, the partner or not; a refused message above changes neither.
    s.rcvAdr = s.remoteHostIP;
    s.sendAdr = s.rcvAdr;

    const MessageFields fields = splitMessage(s.rcvData);
    const bool addToHeld = c.opt.addOnHold == 1 && (c.menu.enabled(core::MenuId::RecvMsg) ||
                                                    (s.rcvEnable && c.menu.checked(core::MenuId::Lock)));
    const int set = c.iconSet();
    // One change: the text is hidden with the OPEN button as it arrives, so an open window never
    // lays out text that nobody can see yet.
    c.frmRecv.edit([&](core::ReceivedView &v) {
        if (addToHeld) {
            appendToHeld(v.text1, fields.text);
        } else {
            v.text1 = fields.text.toString();
            v.text2.clear();
        }
        v.weekdayPanel = s.youbi;
        v.text1Visible = false;
        v.cmdOPCLCaption = QStringLiteral("OPEN");
    });
    s.rcvName = senderName(fields.name);
    s.rcvTime = fields.time.toString();

    c.changeTray(core::IconId::received(set));
    if (c.opt.blinkIcon == u"1" && !c.frmRecv.isVisible())
        c.Timer2.start();
    c.frmRecv.setIcon(core::IconId::received(set));
    s.messageWaits = true;

    if (c.menu.checked(core::MenuId::Lock)) {
        s.rcvEnable = true;
        s.sndEnable = false;
    } else {
        c.menu.setEnabled(core::MenuId::RecvMsg, true);
        c.menu.setEnabled(core::MenuId::SendMsg, false);
    }
    s.openState = QStringLiteral("0");
    return true;
}

void Receiving::otherReply()
{
    sendDatagram(m_context, m_context.state.remoteHostIP, tagOf(Kind::Refused));
}

void Receiving::recvAck()
{
    sendDatagram(m_context, m_context.state.remoteHostIP, tagOf(Kind::Delivered));
    history::messageReceived(m_context);
}

void Receiving::blinkTick()
{
    core::Context &c = m_context;
    core::SharedState &s = c.state;
    core::IconId picture = s.trayIcon;
    if (s.blinkState == 0) {
        s.blinkState = 1;
        picture = core::IconId::received(c.iconSet());
    } else if (s.blinkState == 1) {
        s.blinkState = 0;
        picture = core::IconId::normal(c.iconSet());
    }
    c.changeTray(picture);
}

void Receiving::openReceived()
{
    core::Context &c = m_context;
    core::SharedState &s = c.state;
    // Turning to the window ends a call or a blink; the tray then shows whether a message still
    // waits, so a message already dealt with never looks as if it waited again.
    for (QTimer *animation : {&c.Timer1, &c.Timer2}) {
        if (animation->isActive()) {
            animation->stop();
            c.changeTray(c.restingTrayPicture());
        }
    }
    if (c.messageWaiting()) {
        if (s.rcvAdr != s.aiteAdr) {
            c.box(QStringLiteral("お相手以外からのメッセージです。"), platform::box::exclamation);
            c.frmRecv.setCaption(QStringLiteral(" From ") + (s.rcvName.isEmpty() ? s.rcvAdr : s.rcvName) +
                                 QStringLiteral(" Time ") + s.rcvTime);
        } else if (c.opt.pwEnabled != 0) {
            c.frmRecv.setCaption(QStringLiteral("受信ﾒｯｾｰｼﾞ ") + QStringLiteral(" Time : ") + s.rcvTime);
        } else {
            c.frmRecv.setCaption(QStringLiteral(" From ") + (s.rcvName.isEmpty() ? s.aiteAdr : s.rcvName) +
                                 QStringLiteral(" Time ") + s.rcvTime);
        }
    }
    c.frmRecv.show();
}

} // namespace protocol
