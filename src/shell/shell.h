#pragma once

#include "copy/copy.h"
#include "shell/frmsnd.h"
#include "shell/traymenus.h"

#include <QPointer>

#include <QObject>

#include "history/frmlog.h"
#include "settings/frmaddress.h"

class QSessionManager;

namespace shell {

// The windows and menus of one running copy, attached to its models, and the tray's presses.
class Shell final : public QObject {
    Q_OBJECT
public:
    explicit Shell(copy::Copy &copy);

    FrmSnd &frmSnd() { return m_frmSnd; }
    // The registration window's widget while the window is loaded.
    settings::FrmAddress *frmAddress() const { return m_frmAddress; }
    TrayMenus &menus() { return m_menus; }
    history::FrmLog &frmLog() { return m_frmLog; }

    // The desktop session is ending: the same question as any other end, and a "no" keeps the
    // session from ending.
    void sessionEnding(QSessionManager &manager);

private:
    void trayRightPressed(const QPoint &pos);

    copy::Copy &m_copy;
    FrmSnd m_frmSnd;
    TrayMenus m_menus;
    history::FrmLog m_frmLog;
    QPointer<settings::FrmAddress> m_frmAddress;
};

} // namespace shell
