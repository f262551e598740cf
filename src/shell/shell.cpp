#include "shell/shell.h"

#include "settings/frmaddress.h"

#include <QSessionManager>

namespace shell {

Shell::Shell(copy::Copy &copy)
    : m_copy(copy),
      m_frmSnd(copy.context(),
               FrmSnd::Actions{
                   [&copy] { return copy.queryUnload(copy::UnloadMode::CloseBox); },
                   {},
                   [&copy] { copy.context().frmSnd.hide(); },
                   [this](QPoint pos) { m_menus.callMenu().popup(pos); },
               }),
      m_menus(copy.context().menu, [&copy](core::MenuId id) { copy.menuClicked(id); }),
      m_frmLog(copy.context(), copy.logViewer())
{
    connect(&copy.context().services.tray, &platform::Tray::rightPressed, this, &Shell::trayRightPressed);

    // Windows that unload get a widget when they load and lose it when they unload. The widget
    // may be the one whose button unloaded it, so it goes once that event is over.
    core::Context &c = copy.context();
    auto loadAddress = [this, &c, &copy] { m_frmAddress = new settings::FrmAddress(c, copy.partner()); };
    connect(&c.addressSlot, &core::WindowSlotBase::loaded, this, loadAddress);
    connect(&c.addressSlot, &core::WindowSlotBase::unloading, this, [this] {
        if (m_frmAddress)
            m_frmAddress->deleteLater();
        m_frmAddress = nullptr;
    });
    if (c.addressSlot.isLoaded())
        loadAddress();
}

void Shell::trayRightPressed(const QPoint &pos)
{
    // The menu is a pop-up of its own; it closes when the user clicks elsewhere.
    m_menus.trayMenu().popup(pos);
}

void Shell::sessionEnding(QSessionManager &manager)
{
    if (m_copy.hasEnded())
        return;
    if (!manager.allowsInteraction()) {
        m_copy.terminate();
        return;
    }
    const bool cancelled = m_copy.queryUnload(copy::UnloadMode::SessionEnd);
    manager.release();
    if (cancelled)
        manager.cancel();
}

} // namespace shell
