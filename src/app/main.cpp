#include "base/copy/copy.h"
#include "base/platform/files.h"
#include "base/platform/identity.h"
#include "base/platform/programdir.h"
#include "base/platform/termination.h"
#include "base/platform/udptransport.h"
#include "gui/kit/pictures.h"
#include "gui/platform/dbusnotifications.h"
#include "gui/platform/desktopsession.h"
#include "gui/platform/qtclipboard.h"
#include "gui/platform/qtdialogs.h"
#include "gui/platform/qttranslations.h"
#include "gui/platform/qttray.h"
#include "gui/shell/shell.h"

#ifdef MILTOANNE_TEST_CONTROL
#include "app/testcontrol.h"
#endif

#include <QApplication>
#include <QLocale>

int main(int argc, char *argv[])
{
    platform::preferXWayland();
    QApplication app(argc, argv);
    // The name the desktop shows for the program: the tray's item title, the window class a task
    // bar groups by. The data folder's name does not follow it (see dataDirectory).
    QApplication::setApplicationName(QStringLiteral("ミルトアンヌ"));
    // No display name: the window system would append it to every caption, and a caption is exactly
    // what its window says ("送信ﾒｯｾｰｼﾞ", " From …") and no more. The desktop entry names the program.
    QApplication::setDesktopFileName(QStringLiteral("miltoanne"));
    platform::installQtJapanese(app);
    // The program lives in the tray: closing its last window must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    // The interface is Japanese: dates and times in the windows take the Japanese forms whatever
    // the system's own locale.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    QApplication::setWindowIcon(kit::appIcon());

#ifdef MILTOANNE_TEST_CONTROL
    platform::UdpTransport transport(TestControl::bindAddress());
#else
    platform::UdpTransport transport;
#endif
    platform::QtTray tray(kit::pictureForHandle);
#ifdef MILTOANNE_TEST_CONTROL
    PrintedDialogs dialogs;
#else
    platform::QtDialogs dialogs;
#endif
    platform::SystemClock clock;
    platform::QtClipboard clipboard;
    platform::SystemIdentity identity;
    platform::QtFileStore files;
    // The picture goes with every notification, at the size notification servers show.
    platform::DBusNotifications notifications(core::kProductName, kit::appIcon().pixmap(64).toImage());
    const core::Services services{transport,
                                  tray,
                                  dialogs,
                                  clock,
                                  clipboard,
                                  identity,
                                  files,
                                  notifications,
                                  platform::dataDirectory(QApplication::applicationDirPath()),
                                  QApplication::font().family(),
                                  QApplication::applicationFilePath(),
                                  platform::autostartEntryFile(),
                                  platform::configFile()};

    copy::Copy copy(services);
    shell::Shell shell(copy);
    tray.setContextMenu(&shell.menus().trayMenu());
    platform::TerminationWatcher termination;
    QObject::connect(&termination, &platform::TerminationWatcher::terminationRequested, &copy,
                     &copy::Copy::terminate);
    auto *session = new platform::DesktopSession(app);
    QObject::connect(session, &platform::DesktopSession::saveRequested, &copy,
                     [&copy] { copy.receiving().saveWaiting(); });
    QObject::connect(session, &platform::DesktopSession::endRequested, &copy, &copy::Copy::terminate);
    // The end runs inside a handler; the event loop ends once that handler is done.
    QObject::connect(&copy, &copy::Copy::ended, &app, &QApplication::exit, Qt::QueuedConnection);

#ifdef MILTOANNE_TEST_CONTROL
    TestControl control(copy);
#endif
    if (!copy.startUp())
        return 0;
#ifdef MILTOANNE_TEST_CONTROL
    control.announceReady();
#endif
    return QApplication::exec();
}
