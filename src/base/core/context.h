#pragma once

#include "base/core/history.h"
#include "base/core/menu.h"
#include "base/core/options.h"
#include "base/core/state.h"
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

inline const QString kProductName = QStringLiteral("ミルトアンヌ");
inline const QString kErrorTitle = QStringLiteral("ｴﾗｰ確認");

// Everything one running copy holds: its services, the shared state, the options, the history
// lists and the models of its windows. Two contexts live side by side in one test process;
// nothing here is global.
class Context final : public QObject {
    Q_OBJECT
public:
    explicit Context(const Services &services);
    ~Context() override;

    const Services services;
    SharedState state;
    Options opt;
    MenuModel menu;
    HistoryList sentHistory;
    HistoryList receivedHistory;

    // Windows that only hide.
    ComposeWindowModel composeWindow;
    ReceivedWindowModel receivedWindow;
    HistoryWindowModel historyWindow;
    // Windows that unload.
    WindowSlot<LetterWindowModel> letterSlot;
    WindowSlot<PartnerWindowModel> partnerSlot;
    WindowSlot<SendResultWindowModel> sendResultSlot;
    WindowSlot<ReactionWindowModel> reactionSlot;
    WindowSlot<SmallNoticeWindowModel> smallNoticeSlot;
    LetterWindowModel &letterWindow() { return letterSlot.get(); }
    PartnerWindowModel &partnerWindow() { return partnerSlot.get(); }
    SendResultWindowModel &sendResultNotice() { return sendResultSlot.get(); }
    ReactionWindowModel &reactionNotice() { return reactionSlot.get(); }
    SmallNoticeWindowModel &smallNotice() { return smallNoticeSlot.get(); }

    // The main window's two 500 ms timers: the call animation and the tray blink.
    QTimer callAnimationTimer;
    QTimer blinkTimer;

    // Draws a number from 0 to n - 1 (the random icon); tests may replace it.
    std::function<int(int)> random;

    // Fills the tray record from the state: icon, and the tip when tips are on.
    void fillTrayRecord();
    // A tray change: set the picture, fill the record, modify the icon.
    void changeTray(IconId icon);
    int trayCall(platform::TrayOp op);
    // A received message waits until it is dealt with: the one in the received window, or one
    // behind it. Whatever picture the tray shows meanwhile (a blink phase, a call frame, a start
    // notice), this is what the end's question goes by.
    bool messageWaiting() const { return receivedWindow.anythingWaits(); }
    // The picture the tray rests on when no blink or call animates it: the received picture while
    // a message waits, the normal one otherwise.
    IconId restingTrayPicture() const;
    // Puts the operation lock on: the lock entry checked, the message entries' states kept
    // aside, every other entry hidden.
    void lockOn();
    bool isLocked() const { return state.locked; }
    // Gives the menu entries back after the operation lock.
    void lockOff();
    // The icon set in use, from iconNo; 0 when iconNo names none.
    int iconSet() const;
    // Gives every window the pictures of icon set `set`; the windows the context does not hold
    // follow through iconSetApplied.
    void applyIconSet(int set);
    // Keeps a window that unloads in the icon set in use: while loaded it takes every set applied,
    // and loaded afresh it takes the set in use rather than the picture it was designed with.
    void followIconSet(WindowSlotBase &slot);
    // Applies the font and colour options to the three message boxes.
    void applyTextStyles();
    // Today's weekday into weekdayNumber and weekday.
    void setWeekday();

    // A message box whose answer is kept in `lastAnswer`.
    int box(const QString &text, int style, const QString &title = kProductName);
    QDateTime now() const { return services.clock.now(); }
    QString dataFile(const QString &name) const;
    // Runs a file operation, offering Retry and Cancel while the disk is full. Any other failure
    // is told in a box naming the file. Returns the last result.
    platform::FileResult withDiskRetry(const std::function<platform::FileResult()> &operation,
                                       const QString &diskFullText, const QString &title);

signals:
    void iconSetApplied(int set);

private:
    // The tip as last cut to its field: the tray changes with every message, the tip hardly ever.
    QString m_tipSource;
    QByteArray m_tipBytes;
};

} // namespace core
