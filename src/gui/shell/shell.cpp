#include "gui/shell/shell.h"

#include <QSessionManager>

namespace shell {

Shell::Shell(copy::Copy &copy)
    : m_copy(copy),
      m_frmSnd(copy.context(), FrmSnd::Actions{
                                   [&copy] { return copy.queryUnload(copy::UnloadMode::CloseBox); },
                                   [&copy] { copy.sending().cmdSendClick(); },
                                   [&copy] { copy.sending().cmdCancelClick(); },
                                   [this](QPoint pos) { m_menus.callMenu().popup(pos); },
                                   [&copy] { copy.callSignal().sendCall(); },
                               }),
      m_menus(copy.context().menu, [&copy](core::MenuId id) { copy.menuClicked(id); }),
      m_frmLog(copy.context(), copy.logViewer()), m_frmRecv(copy.context(), copy.received()),
      m_frmAddress(copy.context().addressSlot, *this,
                   [&copy] { return new settings::FrmAddress(copy.context(), copy.partner()); }),
      m_frmSndOK(copy.context().sndOkSlot, *this, [&copy] { return new receive::FrmSndOK(copy.context()); }),
      m_frmRcvOK(copy.context().rcvOkSlot, *this, [&copy] { return new receive::FrmRcvOK(copy.context()); }),
      m_frmSROK(copy.context().srOkSlot, *this, [&copy] { return new receive::FrmSROK(copy.context()); }),
      m_frmLetter(copy.context().letterSlot, *this,
                  [&copy] { return new receive::FrmLetter(copy.context(), copy.letters()); }),
      m_frmOpt(copy.options().slot, *this,
               [&copy] { return new settings::FrmOpt(copy.context(), copy.options()); }),
      m_frmPw(copy.password().slot, *this,
              [&copy] { return new settings::FrmPw(copy.context(), copy.password()); }),
      m_frmUser(copy.userSearch().slot(), *this,
                [&copy] { return new receive::FrmUser(copy.context(), copy.userSearch()); }),
      m_frmOption(copy.context(), copy.iconSelection()),
      m_frmVersion(copy.about().versionSlot, *this,
                   [&copy] { return new FrmVersion(copy.context(), copy.about()); })
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
