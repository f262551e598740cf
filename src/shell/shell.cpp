#include "shell/shell.h"

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
      m_menus(copy.context().menu, [&copy](core::MenuId id) { copy.menuClicked(id); })
{
    connect(&copy.context().services.tray, &platform::Tray::rightPressed, this, &Shell::trayRightPressed);
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
