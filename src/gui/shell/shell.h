#pragma once

#include "base/copy/copy.h"
#include "gui/history/historywindow.h"
#include "gui/kit/slotwidget.h"
#include "gui/platform/desktopsession.h"
#include "gui/receive/letterwindow.h"
#include "gui/receive/noticewindows.h"
#include "gui/receive/receivedwindow.h"
#include "gui/receive/usersearchwindow.h"
#include "gui/settings/iconselectionwindow.h"
#include "gui/settings/optionswindow.h"
#include "gui/settings/pairingwindow.h"
#include "gui/settings/partnerwindow.h"
#include "gui/settings/passwordwindow.h"
#include "gui/shell/aboutwindow.h"
#include "gui/shell/composewindow.h"
#include "gui/shell/noticerelay.h"
#include "gui/shell/traymenus.h"

#include <QObject>

namespace shell {

// The windows and menus of one running copy, attached to its models, and the tray's presses.
class Shell final : public QObject {
    Q_OBJECT
public:
    // Where new windows take the keyboard, the notices of a sent message become desktop
    // notifications when the desktop shows them.
    explicit Shell(copy::Copy &copy, bool newWindowsTakeKeyboard = platform::newWindowsTakeKeyboard());

    ComposeWindow &composeWindow() { return m_composeWindow; }
    receive::ReceivedWindow &receivedWindow() { return m_receivedWindow; }
    history::HistoryWindow &historyWindow() { return m_historyWindow; }
    TrayMenus &menus() { return m_menus; }
    // The widgets of windows that unload, while they are loaded.
    settings::PartnerWindow *partnerWindow() const { return m_partnerWindow.get(); }
    settings::PairingWindow *pairingWindow() const { return m_pairingWindow.get(); }
    receive::SendResultNotice *sendResultNotice() const { return m_sendResultNotice.get(); }
    receive::ReactionNotice *reactionNotice() const { return m_reactionNotice.get(); }
    receive::SmallNotice *smallNotice() const { return m_smallNotice.get(); }
    receive::LetterWindow *letterWindow() const { return m_letterWindow.get(); }
    receive::UserSearchWindow *userSearchWindow() const { return m_userSearchWindow.get(); }
    settings::OptionsWindow *optionsWindow() const { return m_optionsWindow.get(); }
    settings::PasswordWindow *passwordWindow() const { return m_passwordWindow.get(); }
    settings::IconSelectionWindow &iconSelectionWindow() { return m_iconSelectionWindow; }
    AboutWindow *aboutWindow() const { return m_aboutWindow.get(); }

private:
    void trayRightPressed(const QPoint &pos);

    copy::Copy &m_copy;
    ComposeWindow m_composeWindow;
    TrayMenus m_menus;
    history::HistoryWindow m_historyWindow;
    receive::ReceivedWindow m_receivedWindow;
    NoticeRelay m_noticeRelay; // before the notices, whose windows it may take the place of
    kit::SlotWidget<settings::PartnerWindow> m_partnerWindow;
    kit::SlotWidget<settings::PairingWindow> m_pairingWindow;
    kit::SlotWidget<receive::SendResultNotice> m_sendResultNotice;
    kit::SlotWidget<receive::ReactionNotice> m_reactionNotice;
    kit::SlotWidget<receive::SmallNotice> m_smallNotice;
    kit::SlotWidget<receive::LetterWindow> m_letterWindow;
    kit::SlotWidget<settings::OptionsWindow> m_optionsWindow;
    kit::SlotWidget<settings::PasswordWindow> m_passwordWindow;
    kit::SlotWidget<receive::UserSearchWindow> m_userSearchWindow;
    settings::IconSelectionWindow m_iconSelectionWindow;
    kit::SlotWidget<AboutWindow> m_aboutWindow;
};

} // namespace shell
