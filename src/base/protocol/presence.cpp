#include "base/protocol/presence.h"

#include "base/protocol/send.h"
#include "base/protocol/tags.h"
#include "base/protocol/wire.h"
#include "base/text/fields.h"

namespace protocol {

void presenceReply(core::Context &context)
{
    const core::SharedState &s = context.state;
    const Kind answer = s.remoteHostIP == s.aiteAdr ? Kind::PresenceOk : Kind::PresenceOneSided;
    sendDatagram(context, s.remoteHostIP, tagOf(answer) + s.startTime);
}

void presenceAnswer(core::Context &context, bool mutual)
{
    const core::SharedState &s = context.state;
    if (s.remoteHostIP != s.presenceAskedAdr || !s.presenceAskedAt.isValid() ||
        qAbs(s.presenceAskedAt.msecsTo(context.now())) > kPresenceAnswerMs)
        return;
    // Whatever check is or is not in progress: a late answer still replaces "nobody there".
    core::AddressWindowModel &window = context.frmAddress();
    window.edit([&](core::AddressView &v) {
        v.lblCheck = mutual ? QStringLiteral("いるよ～") : QStringLiteral("片想い中");
        v.image2 = mutual;
        v.image3 = !mutual;
        v.image4 = false;
    });
    window.setCaption(QStringLiteral("ミルトアンヌ　起動時間：") +
                      text::charsBetween(context.state.rcvData, 12, 16).toString());
}

void startNotice(core::Context &context)
{
    sendDatagram(context, context.state.aiteAdr, startNoticeText(context.state.startTime));
}

void endNotice(core::Context &context)
{
    core::SharedState &s = context.state;
    s.endTime = text::hhmm(context.now().time());
    sendDatagram(context, s.aiteAdr, endNoticeText(s.startTime, s.endTime));
}

void startEndDisplay(core::Context &context, bool started)
{
    // Anyone can send these; only the partner's come and go is worth a picture.
    if (context.state.remoteHostIP != context.state.aiteAdr)
        return;
    if (!context.messageWaiting() && context.opt.notifyStartEnd == 1)
        context.changeTray(started ? core::IconId::start() : core::IconId::end());
    context.frmLog.setCaption(QStringLiteral("送受信履歴　（") +
                              text::charsBetween(context.state.rcvData, 12, 22).toString() +
                              QStringLiteral("）"));
}

} // namespace protocol
