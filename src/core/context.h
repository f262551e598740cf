#pragma once

#include "core/menu.h"
#include "core/options.h"
#include "core/state.h"
#include "core/windows.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/identity.h"
#include "platform/transport.h"
#include "platform/tray.h"

#include <QString>

#include <memory>

namespace core {

// What a running copy is given from outside: the system seams and where it lives.
struct Services {
    platform::Transport &transport;
    platform::Tray &tray;
    platform::Dialogs &dialogs;
    platform::Clock &clock;
    platform::Clipboard &clipboard;
    platform::Identity &identity;
    QString programDir;
    QString defaultFontName; // the compose window's own font, the default of the font option
};

inline const QString kProductName = QStringLiteral("ミルトアンヌ");

// Everything one running copy holds: its services, the shared state, the options and the models
// of its windows. Two contexts live side by side in one test process; nothing here is global.
class Context final : public QObject {
    Q_OBJECT
public:
    explicit Context(const Services &services);
    ~Context() override;

    const Services services;
    SharedState state;
    OptSettings opt;
    MenuModel menu;
    MainWindowModel frmSnd;
    ReceivedWindowModel frmRecv;

    // The letter window is unloaded when it closes; touching it loads it again, hidden, with its
    // design contents.
    LetterWindowModel &frmLetter();
    bool letterLoaded() const { return m_letter != nullptr; }
    void unloadLetter();

    // Fills the tray record from the state: icon, and the tip when tips are on.
    void nidSet();
    // A tray change: set the picture, fill the record, modify the icon.
    void changeTray(IconId icon);
    int trayCall(platform::TrayOp op);
    // A received message waits exactly while the tray shows the received window's picture.
    bool messageWaiting() const;
    // Gives the menu entries back after the operation lock.
    void trueEnable();
    // Applies the font and colour options to the three message boxes.
    void fontSet();
    // Today's weekday into youbiNo and youbi.
    void youbiSet();

    // A message box whose answer is kept in `ans`.
    int box(const QString &text, int style, const QString &title = kProductName);
    QDateTime now() const { return services.clock.now(); }

signals:
    void letterLoadedChanged(bool loaded);

private:
    std::unique_ptr<LetterWindowModel> m_letter;
};

} // namespace core
