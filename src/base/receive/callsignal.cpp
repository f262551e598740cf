#include "base/receive/callsignal.h"

#include "base/protocol/send.h"
#include "base/protocol/tags.h"

#include <algorithm>

namespace receive {

void CallSignal::sendCall()
{
    const bool person = m_context.menu.checked(core::MenuId::CallPerson);
    protocol::sendDatagram(m_context, m_context.state.partnerAddress,
                           protocol::tagOf(protocol::Kind::Call) + (person ? u'1' : u'2'));
}

void CallSignal::noteArrival(const protocol::Arrival &arrival)
{
    m_byPerson = arrival.text.size() >= 12 && arrival.text[11] == u'1';
}

void CallSignal::callArrived(const protocol::Arrival &arrival)
{
    if (arrival.sender != m_context.state.partnerAddress)
        return;
    if (!m_context.callAnimationTimer.isActive())
        m_context.callAnimationTimer.start();
}

void CallSignal::tick()
{
    core::SharedState &s = m_context.state;
    const bool person = m_byPerson;
    core::IconId picture = s.trayPicture;
    if (s.blinkPhase == 0) {
        s.blinkPhase = 1;
        picture = core::IconId::callFrame(person ? 2 : 5);
        // The blink shares blinkPhase and can keep this timer from ever seeing the second phase,
        // where a cycle ends; the count stops at a cycle's length instead of growing without end.
        s.callCount = std::min(s.callCount + 1, kAlternations);
    } else if (s.blinkPhase == 1) {
        s.blinkPhase = 0;
        picture = core::IconId::callFrame(person ? 3 : 6);
        if (s.callCount >= kAlternations) {
            s.callCount = 0;
            s.blinkPhase = 2;
        }
    } else if (s.blinkPhase == 2) {
        s.blinkPhase = 0;
        if (person)
            picture = core::IconId::callFrame(4);
    }
    m_context.changeTray(picture);
}

} // namespace receive
