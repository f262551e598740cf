#include "gui/platform/desktopsession.h"

#include <QEvent>
#include <QGuiApplication>
#include <QSessionManager>

namespace platform {

void preferXWayland()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
}

bool waylandClient()
{
    return QGuiApplication::platformName().startsWith(QStringLiteral("wayland"));
}

bool newWindowsTakeKeyboard()
{
    return waylandClient() || (QGuiApplication::platformName() == QStringLiteral("xcb") &&
                               !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"));
}

DesktopSession::DesktopSession(QGuiApplication &app) : QObject(&app)
{
    const auto save = [this](QSessionManager &manager) {
        manager.setRestartHint(QSessionManager::RestartNever);
        emit saveRequested();
    };
    connect(&app, &QGuiApplication::commitDataRequest, this, save);
    connect(&app, &QGuiApplication::saveStateRequest, this, save);
    app.installEventFilter(this);
}

bool DesktopSession::eventFilter(QObject *watched, QEvent *event)
{
    // Qt turns the session manager's "die" into a quit, and a quit first closes every window,
    // which our windows answer by hiding. The copy ends itself instead, with its end notice, and
    // then leaves the event loop.
    if (event->type() == QEvent::Quit && watched == QCoreApplication::instance()) {
        emit endRequested();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform
