#include "gui/shell/shell.h"

namespace shell {

Shell::Shell(copy::Copy &copy, bool newWindowsTakeKeyboard)
    : m_copy(copy),
      m_composeWindow(copy.compose().window(), copy.context().opt, copy.context().services.clock),
      m_menus(copy.context().menu), m_historyWindow(copy.context(), copy.historyViewer()),
      m_receivedWindow(copy.receivedWindow(), copy.context(), copy.receivedMessage()),
      m_noticeRelay(
          copy.notices(), copy.context().services.notifications,
          [&copy] { return copy.waitingNotice().isOn(); }, newWindowsTakeKeyboard),
      m_partnerWindow(copy.partner().slot(), *this,
                      [&copy] { return new settings::PartnerWindow(copy.context(), copy.partner()); }),
      m_pairingWindow(copy.pairing().slot(), *this,
                      [&copy] { return new settings::PairingWindow(copy.context(), copy.pairing()); }),
      m_sendResultNotice(copy.notices().sendResultSlot(), *this,
                         [this, &copy] {
                             return m_noticeRelay.relays()
                                        ? nullptr
                                        : new receive::SendResultNotice(copy.notices(), copy.context().opt);
                         }),
      m_reactionNotice(copy.notices().reactionSlot(), *this,
                       [this, &copy] {
                           return m_noticeRelay.relays()
                                      ? nullptr
                                      : new receive::ReactionNotice(copy.notices(), copy.context().opt);
                       }),
      m_smallNotice(copy.notices().smallSlot(), *this,
                    [this, &copy] {
                        return m_noticeRelay.relays()
                                   ? nullptr
                                   : new receive::SmallNotice(copy.notices(), copy.context().opt);
                    }),
      m_letterWindow(copy.letters().slot(), *this,
                     [&copy] { return new receive::LetterWindow(copy.context(), copy.letters()); }),
      m_optionsWindow(copy.options().slot, *this,
                      [&copy] { return new settings::OptionsWindow(copy.context(), copy.options()); }),
      m_passwordWindow(copy.password().slot, *this,
                       [&copy] { return new settings::PasswordWindow(copy.context(), copy.password()); }),
      m_userSearchWindow(
          copy.userSearch().slot(), *this,
          [&copy] { return new receive::UserSearchWindow(copy.context(), copy.userSearch()); }),
      m_iconSelectionWindow(copy.context(), copy.iconSelection()),
      m_aboutWindow(copy.about().slot, *this,
                    [&copy] { return new AboutWindow(copy.context(), copy.about()); })
{
    connect(&copy.context().services.tray, &platform::Tray::rightPressed, this, &Shell::trayRightPressed);
    connect(&m_menus, &TrayMenus::chosen, &copy, &copy::Copy::menuClicked);
    connect(&m_composeWindow, &ComposeWindow::closeRequested, &copy,
            [&copy] { copy.queryUnload(copy::UnloadMode::CloseBox); });
    connect(&m_composeWindow, &ComposeWindow::sendPressed, &copy, [&copy] { copy.compose().send(); });
    connect(&m_composeWindow, &ComposeWindow::cancelPressed, &copy, [&copy] { copy.compose().cancel(); });
    connect(&m_composeWindow, &ComposeWindow::callMenuRequested, this,
            [this](const QPoint &pos) { m_menus.callMenu().popup(pos); });
    connect(&m_composeWindow, &ComposeWindow::callRequested, &copy,
            [&copy] { copy.callSignal().sendCall(); });
}

void Shell::trayRightPressed(const QPoint &pos)
{
    // The menu is a pop-up of its own; it closes when the user clicks elsewhere.
    m_menus.trayMenu().popup(pos);
}

} // namespace shell
