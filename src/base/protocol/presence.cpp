#include "base/protocol/presence.h"

#include "base/protocol/send.h"
#include "base/protocol/tags.h"
#include "base/protocol/wire.h"
#include "base/text/fields.h"

namespace protocol {

void answerPresence(core::Context &context)
{
    const core::SharedState &s = context.state;
    const Kind answer = s.arrivalSender == s.partnerAddress ? Kind::PresenceOk : Kind::PresenceOneSided;
    sendDatagram(context, s.arrivalSender, tagOf(answer) + s.startTime);
}

void presenceAnswered(core::Context &context, bool mutual)
{
    const core::SharedState &s = context.state;
    if (s.arrivalSender != s.presenceAskedAddress || !s.presenceAskedAt.isValid() ||
        qAbs(s.presenceAskedAt.msecsTo(context.now())) > kPresenceAnswerMs)
        return;
    // Whatever check is or is not in progress: a late answer still replaces "nobody there".
    core::PartnerWindowModel &window = context.partnerWindow();
    window.edit([&](core::PartnerView &v) {
        v.checkResult = mutual ? QStringLiteral("いるよ～") : QStringLiteral("片想い中");
        v.answeredMutual = mutual;
        v.answeredOneSided = !mutual;
        v.answeredNobody = false;
    });
    window.setCaption(QStringLiteral("ミルトアンヌ　起動時間：") +
                      text::charsBetween(context.state.arrivalText, 12, 16).toString());
}

void startNotice(core::Context &context)
{
    sendDatagram(context, context.state.partnerAddress, startNoticeText(context.state.startTime));
}

void endNotice(core::Context &context)
{
    core::SharedState &s = context.state;
    s.endTime = text::hhmm(context.now().time());
    sendDatagram(context, s.partnerAddress, endNoticeText(s.startTime, s.endTime));
}

void startEndDisplay(core::Context &context, bool started)
{
    // Anyone can send these; only the partner's come and go is worth a picture.
    if (context.state.arrivalSender != context.state.partnerAddress)
        return;
    if (!context.messageWaiting() && context.opt.notifyStartEnd == 1)
        context.changeTray(started ? core::IconId::start() : core::IconId::end());
    context.historyWindow.setCaption(QStringLiteral("送受信履歴　（") +
                                     text::charsBetween(context.state.arrivalText, 12, 22).toString() +
                                     QStringLiteral("）"));
}

} // namespace protocol
