#pragma once

#include "copy/copy.h"
#include "shell/frmsnd.h"
#include "shell/traymenus.h"

#include <QObject>

class QSessionManager;

namespace shell {

// The windows and menus of one running copy, attached to its models, and the tray's presses.
class Shell final : public QObject {
    Q_OBJECT
public:
    explicit Shell(copy::Copy &copy);

    FrmSnd &frmSnd() { return m_frmSnd; }
    TrayMenus &menus() { return m_menus; }

    // The desktop session is ending: the same question as any other end, and a "no" keeps the
    // session from ending.
    void sessionEnding(QSessionManager &manager);

private:
    void trayRightPressed(const QPoint &pos);

    copy::Copy &m_copy;
    FrmSnd m_frmSnd;
    TrayMenus m_menus;
};

} // namespace shell
