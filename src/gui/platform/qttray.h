#pragma once

#include "base/platform/tray.h"

#include <QIcon>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QMenu;

namespace platform {

class StatusNotifierHosts;

// The tray icon on the desktop's notification area. Where the desktop has none, a small window
// that stays on top shows the same picture and answers the same two presses, so the program is
// never invisible; when the notification area goes away while the program runs (the panel
// restarts or is removed) the window takes over, and the icon comes back with the panel.
class QtTray final : public Tray {
    Q_OBJECT
public:
    // Gives the picture for an icon handle; it should keep what it draws, the tray asks often.
    using Pictures = std::function<QIcon(quint32 handle)>;
    explicit QtTray(Pictures pictures, QObject *parent = nullptr);
    ~QtTray() override;

    int notify(TrayOp op, const TrayRecord &trayRecord) override;

    // The menu of the icon. The desktop shows it on the icon itself: Qt pops it up on a right
    // press where the icon sits in an X11 tray, and exports it over D-Bus where the panel draws
    // the menus of its icons. A right press on the icon is then not reported, so the menu never
    // opens twice; the stand-in window still reports its right press.
    void setContextMenu(QMenu *menu);

private:
    void makeIcon();
    void follow();
    bool trayPresent() const;
    void paint();
    void remove();

    Pictures m_pictures;
    QPointer<QMenu> m_menu;
    // What the icon shows; empty while there is no icon. A record equal to it changes nothing.
    std::optional<TrayRecord> m_shown;
    std::unique_ptr<QSystemTrayIcon> m_icon;
    std::unique_ptr<QWidget> m_standIn;
    // Qt chooses the kind of icon once, at the first: a D-Bus one where a StatusNotifierWatcher
    // with a host runs then, else an X11 one. Whether a D-Bus tray is still there, the watcher
    // tells as it changes; whether an X11 tray is, a look every few seconds finds out (Qt tells
    // of an X11 tray that comes back, not of one that goes). The look is not used for the D-Bus
    // tray: there, Qt's own answer opens a new bus connection each time.
    bool m_overDBus = false;
    QTimer m_look;
    std::unique_ptr<StatusNotifierHosts> m_hosts;
};

} // namespace platform
