#pragma once

#include "base/core/history.h"
#include "base/core/menu.h"
#include "base/core/options.h"
#include "base/core/product.h"
#include "base/core/windows.h"
#include "base/platform/clipboard.h"
#include "base/platform/clock.h"
#include "base/platform/dialogs.h"
#include "base/platform/files.h"
#include "base/platform/identity.h"
#include "base/platform/notifications.h"
#include "base/platform/transport.h"
#include "base/platform/tray.h"

#include <QString>
#include <QTimer>

#include <functional>

namespace core {

// What a running copy is given from outside: the system seams and where it lives.
struct Services {
    platform::Transport &transport;
    platform::Tray &tray;
    platform::Dialogs &dialogs;
    platform::Clock &clock;
    platform::Clipboard &clipboard;
    platform::Identity &identity;
    platform::FileStore &files;
    platform::Notifications &notifications;
    QString programDir;
    QString defaultFontName; // the compose window's own font, the default of the font option
    QString programFile;     // the running program, which the autostart entry starts
    QString autostartFile;   // where that entry goes; empty where the desktop has no autostart
    QString configFile;      // the program's own settings, which optFile.dat has no field for
};

// What every part of one running copy is given: the system services, the options and the menu
// (each owned by the copy), the boxes, the clock and the data folder, and the announcements that
// the options' pictures and text styles were applied. It holds no state of its own. Two contexts
// live side by side in one test process; nothing here is global.
class Context final : public QObject {
    Q_OBJECT
public:
    Context(const Services &services, Options &options, MenuModel &menu);
    ~Context() override;

    const Services services;
    Options &opt;
    MenuModel &menu;

    // Draws a number from 0 to n - 1 (the random icon); tests may replace it.
    std::function<int(int)> random;

    // Gives every window the pictures of icon set `set`; the windows the context does not hold
    // follow through iconSetApplied.
    void applyIconSet(int set);
    // Keeps a window that unloads in the icon set in use: while loaded it takes every set applied,
    // and loaded afresh it takes the set in use rather than the picture it was designed with.
    void followIconSet(WindowSlotBase &slot);
    // Applies the font and colour options to the three message boxes.
    void applyTextStyles();
    // The text style the font and colour options give.
    TextStyle textStyle() const;

    int box(const QString &text, int style, const QString &title = kProductName);
    QDateTime now() const { return services.clock.now(); }
    QString dataFile(const QString &name) const;
    // Runs a file operation, offering Retry and Cancel while the disk is full. Any other failure
    // is told in a box naming the file. Returns the last result.
    platform::FileResult withDiskRetry(const std::function<platform::FileResult()> &operation,
                                       const QString &diskFullText, const QString &title);

signals:
    void iconSetApplied(int set);
    void textStylesApplied(const core::TextStyle &style);
};

} // namespace core
