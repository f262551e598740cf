#include "base/protocol/presence.h"

#include "base/protocol/send.h"
#include "base/protocol/tags.h"
#include "base/protocol/wire.h"
#include "base/text/fields.h"

namespace protocol {

void answerPresence(core::Context &context, const Arrival &request)
{
    const core::SharedState &s = context.state;
    const Kind answer = request.sender == s.partnerAddress ? Kind::PresenceOk : Kind::PresenceOneSided;
    sendDatagram(context, request.sender, tagOf(answer) + s.startTime);
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

void startEndDisplay(core::Context &context, const Arrival &notice, bool started)
{
    // Anyone can send these; only the partner's come and go is worth a picture.
    if (notice.sender != context.state.partnerAddress)
        return;
    if (!context.messageWaiting() && context.opt.notifyStartEnd == 1)
        context.changeTray(started ? core::IconId::start() : core::IconId::end());
    context.historyWindow.setCaption(QStringLiteral("送受信履歴　（") +
                                     text::charsBetween(notice.text, 12, 22).toString() +
                                     QStringLiteral("）"));
}

} // namespace protocol
