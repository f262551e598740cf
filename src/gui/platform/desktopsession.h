#pragma once

#include <QObject>

class QGuiApplication;

namespace platform {

// Before the application starts: under a Wayland compositor that also runs X11 programs, the
// program runs as one of them unless the user chose otherwise (QT_QPA_PLATFORM). There its small
// fixed windows are placed where it puts them, notices open without taking the keyboard, and the
// title bars are the desktop's own; a Wayland client can do none of that. Without XWayland it runs
// on Wayland itself.
void preferXWayland();
// Whether the program runs as a Wayland client: the compositor places its windows, and Qt draws
// their title bars where the compositor leaves them to the program.
bool waylandClient();
// Whether a new window may take the keyboard whatever it asks: under a Wayland compositor, as a
// Wayland client or through XWayland, the compositor decides, and many give it to every new window.
bool newWindowsTakeKeyboard();

// What the desktop session asks of the program. A session manager asks programs to save at
// checkpoints as well as at the end; neither ends this one, which keeps what waits unread in its
// own file and starts at login through its autostart entry alone (so the session is asked never
// to restart it, or a second copy would come up beside the one the entry starts). The session's
// real end arrives as the application's quit; it ends the copy through its own end, once.
class DesktopSession final : public QObject {
    Q_OBJECT
public:
    explicit DesktopSession(QGuiApplication &app);

signals:
    // Keep what must outlive the session; the program runs on.
    void saveRequested();
    // The session ends the program.
    void endRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace platform
