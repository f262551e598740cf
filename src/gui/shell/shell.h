#pragma once

#include "base/copy/copy.h"
#include "gui/history/frmlog.h"
#include "gui/kit/slotwidget.h"
#include "gui/receive/frmletter.h"
#include "gui/receive/frmrecv.h"
#include "gui/receive/frmuser.h"
#include "gui/receive/noticewindows.h"
#include "gui/settings/frmaddress.h"
#include "gui/settings/frmopt.h"
#include "gui/settings/frmoption.h"
#include "gui/settings/frmpw.h"
#include "gui/shell/frmsnd.h"
#include "gui/shell/frmversion.h"
#include "gui/shell/traymenus.h"

#include <QObject>

class QSessionManager;

namespace shell {

// The windows and menus of one running copy, attached to its models, and the tray's presses.
class Shell final : public QObject {
    Q_OBJECT
public:
    explicit Shell(copy::Copy &copy);

    FrmSnd &frmSnd() { return m_frmSnd; }
    receive::FrmRecv &frmRecv() { return m_frmRecv; }
    history::FrmLog &frmLog() { return m_frmLog; }
    TrayMenus &menus() { return m_menus; }
    // The widgets of windows that unload, while they are loaded.
    settings::FrmAddress *frmAddress() const { return m_frmAddress.get(); }
    receive::FrmSndOK *frmSndOK() const { return m_frmSndOK.get(); }
    receive::FrmRcvOK *frmRcvOK() const { return m_frmRcvOK.get(); }
    receive::FrmSROK *frmSROK() const { return m_frmSROK.get(); }
    receive::FrmLetter *frmLetter() const { return m_frmLetter.get(); }
    receive::FrmUser *frmUser() const { return m_frmUser.get(); }
    settings::FrmOpt *frmOpt() const { return m_frmOpt.get(); }
    settings::FrmPw *frmPw() const { return m_frmPw.get(); }
    FrmOption &frmOption() { return m_frmOption; }
    FrmVersion *frmVersion() const { return m_frmVersion.get(); }

    // The desktop session is ending: the same question as any other end, and a "no" keeps the
    // session from ending.
    void sessionEnding(QSessionManager &manager);

private:
    void trayRightPressed(const QPoint &pos);

    copy::Copy &m_copy;
    FrmSnd m_frmSnd;
    TrayMenus m_menus;
    history::FrmLog m_frmLog;
    receive::FrmRecv m_frmRecv;
    SlotWidget<settings::FrmAddress> m_frmAddress;
    SlotWidget<receive::FrmSndOK> m_frmSndOK;
    SlotWidget<receive::FrmRcvOK> m_frmRcvOK;
    SlotWidget<receive::FrmSROK> m_frmSROK;
    SlotWidget<receive::FrmLetter> m_frmLetter;
    SlotWidget<settings::FrmOpt> m_frmOpt;
    SlotWidget<settings::FrmPw> m_frmPw;
    SlotWidget<receive::FrmUser> m_frmUser;
    FrmOption m_frmOption;
    SlotWidget<FrmVersion> m_frmVersion;
};

} // namespace shell
