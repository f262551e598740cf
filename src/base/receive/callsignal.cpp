#include "base/receive/callsignal.h"

#include "base/protocol/tags.h"

namespace receive {

CallSignal::CallSignal(protocol::Outbox &outbox, core::MenuModel &menu,
                       const core::RegisteredPartner &partner, core::TrayIcon &tray)
    : m_outbox(outbox), m_menu(menu), m_partner(partner), m_tray(tray)
{
    for (core::MenuId kind : {core::MenuId::CallPerson, core::MenuId::CallPhone}) {
        menu.setAction(kind, [&menu, kind] {
            menu.setChecked(core::MenuId::CallPerson, kind == core::MenuId::CallPerson);
            menu.setChecked(core::MenuId::CallPhone, kind == core::MenuId::CallPhone);
        });
    }
}

void CallSignal::plugInto(protocol::Dispatcher &dispatcher)
{
    dispatcher.addHandler(protocol::Kind::Call, [this](const protocol::Arrival &a) { callArrived(a); });
    dispatcher.addWatcher([this](const protocol::Arrival &a) { noteArrival(a); });
}

void CallSignal::sendCall()
{
    const bool person = m_menu.checked(core::MenuId::CallPerson);
    m_outbox.send(m_partner.peer(), protocol::tagOf(protocol::Kind::Call) + (person ? u'1' : u'2'));
}

void CallSignal::noteArrival(const protocol::Arrival &arrival)
{
    m_tray.setCallByPerson(arrival.text.size() >= 12 && arrival.text[11] == u'1');
}

void CallSignal::callArrived(const protocol::Arrival &arrival)
{
    if (!m_partner.isSender(arrival.sender))
        return;
    if (!m_tray.isCalling())
        m_tray.startCall();
}

} // namespace receive
