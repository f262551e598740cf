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

bool Receiving::receive(const Arrival &arrival)
{
    core::Context &c = m_context;
    core::SharedState &s = c.state;
    // A letter is a message behind a tag of its own.
    QStringView message = arrival.text;
    if (classify(message.left(kTagWidth)) == Kind::Letter)
        message = message.mid(kTagWidth);

    if (c.opt.rejectOthers == 1 && arrival.sender != s.partnerAddress) {
        answerRefused(arrival.sender);
        return false;
    }
    // The window's answers (OPEN, hold, close, reply) go to whoever wrote what it now holds, be it
    // a letter or a message, the partner or not; a refused message above changes neither.
    s.receivedFrom = arrival.sender;
    s.replyAddress = s.receivedFrom;

    const MessageFields fields = splitMessage(message);
    const bool addToHeld = c.opt.addOnHold == 1 && (c.menu.enabled(core::MenuId::ShowReceived) ||
                                                    (s.receivedEntryEnabled && c.isLocked()));
    const int set = c.iconSet();
    // One change: the text is hidden with the OPEN button as it arrives, so an open window never
    // lays out text that nobody can see yet.
    c.receivedWindow.edit([&](core::ReceivedView &v) {
        if (addToHeld) {
            appendToHeld(v.message, fields.text);
        } else {
            v.message = fields.text.toString();
            v.reply.clear();
        }
        v.weekdayPanel = s.weekday;
        v.messageVisible = false;
        v.openCloseCaption = QStringLiteral("OPEN");
    });
    s.receivedName = senderName(fields.name);
    s.receivedTime = fields.time.toString();

    c.changeTray(core::IconId::received(set));
    if (c.opt.blinkIcon && !c.receivedWindow.isVisible())
        c.blinkTimer.start();
    c.receivedWindow.setIcon(core::IconId::received(set));
    s.messageWaits = true;

    if (c.isLocked()) {
        s.receivedEntryEnabled = true;
        s.composeEntryEnabled = false;
    } else {
        c.menu.setEnabled(core::MenuId::ShowReceived, true);
        c.menu.setEnabled(core::MenuId::Compose, false);
    }
    s.messageShown = false;
    return true;
}

void Receiving::answerRefused(const QString &sender)
{
    sendDatagram(m_context, sender, tagOf(Kind::Refused));
}

void Receiving::acknowledge(const QString &sender)
{
    sendDatagram(m_context, sender, tagOf(Kind::Delivered));
    history::messageReceived(m_context);
}

void Receiving::blinkTick()
{
    core::Context &c = m_context;
    core::SharedState &s = c.state;
    core::IconId picture = s.trayPicture;
    if (s.blinkPhase == 0) {
        s.blinkPhase = 1;
        picture = core::IconId::received(c.iconSet());
    } else if (s.blinkPhase == 1) {
        s.blinkPhase = 0;
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
    for (QTimer *animation : {&c.callAnimationTimer, &c.blinkTimer}) {
        if (animation->isActive()) {
            animation->stop();
            c.changeTray(c.restingTrayPicture());
        }
    }
    if (c.messageWaiting()) {
        if (s.receivedFrom != s.partnerAddress) {
            c.box(QStringLiteral("お相手以外からのメッセージです。"), platform::box::exclamation);
            c.receivedWindow.setCaption(QStringLiteral(" From ") +
                                        (s.receivedName.isEmpty() ? s.receivedFrom : s.receivedName) +
                                        QStringLiteral(" Time ") + s.receivedTime);
        } else if (c.opt.pwEnabled != 0) {
            c.receivedWindow.setCaption(QStringLiteral("受信ﾒｯｾｰｼﾞ ") + QStringLiteral(" Time : ") +
                                        s.receivedTime);
        } else {
            c.receivedWindow.setCaption(QStringLiteral(" From ") +
                                        (s.receivedName.isEmpty() ? s.partnerAddress : s.receivedName) +
                                        QStringLiteral(" Time ") + s.receivedTime);
        }
    }
    c.receivedWindow.show();
}

} // namespace protocol
