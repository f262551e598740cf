#include "base/protocol/presence.h"

#include "base/protocol/tags.h"
#include "base/protocol/wire.h"
#include "base/text/fields.h"

namespace protocol {

Presence::Presence(Outbox &outbox, platform::Clock &clock, const core::RegisteredPartner &partner,
                   const core::Options &options, core::TrayIcon &tray)
    : m_outbox(outbox), m_clock(clock), m_partner(partner), m_options(options), m_tray(tray)
{
}

void Presence::plugInto(Dispatcher &dispatcher)
{
    dispatcher.addHandler(Kind::PresenceRequest, [this](const Arrival &a) { answer(a); });
    dispatcher.addHandler(Kind::Start, [this](const Arrival &a) { noticeArrived(a, true); });
    dispatcher.addHandler(Kind::End, [this](const Arrival &a) { noticeArrived(a, false); });
}

void Presence::started()
{
    m_startTime = text::hhmm(m_clock.now().time());
}

void Presence::answer(const Arrival &request)
{
    const Kind answer = m_partner.isSender(request.sender) ? Kind::PresenceOk : Kind::PresenceOneSided;
    m_outbox.send(request.sender, tagOf(answer) + m_startTime);
}

void Presence::announce()
{
    m_outbox.send(m_partner.peer(), startNoticeText(m_startTime));
}

void Presence::endNotice()
{
    m_outbox.send(m_partner.peer(), endNoticeText(m_startTime, text::hhmm(m_clock.now().time())));
}

void Presence::noticeArrived(const Arrival &notice, bool started)
{
    // Anyone can send these; only the partner's come and go is worth a picture.
    if (!m_partner.isSender(notice.sender))
        return;
    if (!m_tray.messageWaiting() && m_options.notifiesStartEnd())
        m_tray.show(started ? core::IconId::start() : core::IconId::end());
    emit partnerCameOrWent(text::charsBetween(notice.text, 12, 22).toString());
}

} // namespace protocol
