#pragma once

#include "base/core/about.h"
#include "base/core/context.h"
#include "base/core/trayicon.h"
#include "base/history/history.h"
#include "base/history/historyviewer.h"
#include "base/platform/instanceguard.h"
#include "base/platform/showrequests.h"
#include "base/protocol/dispatch.h"
#include "base/protocol/presence.h"
#include "base/protocol/sending.h"
#include "base/receive/callsignal.h"
#include "base/receive/letters.h"
#include "base/receive/receivedmessage.h"
#include "base/receive/receiving.h"
#include "base/receive/usersearch.h"
#include "base/receive/waitingnotice.h"
#include "base/send/compose.h"
#include "base/send/notices.h"
#include "base/settings/iconselection.h"
#include "base/settings/optionseditor.h"
#include "base/settings/pairing.h"
#include "base/settings/partner.h"
#include "base/settings/passwordprompt.h"

#include <QObject>
#include <QTimer>

namespace copy {

// Why the main window is asked to unload. Only the close box keeps the program running without
// a question; the others are ends.
enum class UnloadMode {
    CloseBox = 0, // the window's own close box or control menu
    ByProgram = 1,
    SessionEnd = 2, // the desktop session ends
    TaskList = 3,
};

// One running copy of the messenger: its context, its dispatch, start-up and shut-down. It has no
// widgets; the windows attach to its models.
class Copy final : public QObject {
    Q_OBJECT
public:
    explicit Copy(const core::Services &services, QObject *parent = nullptr);

    core::Context &context() { return m_context; }
    const core::Context &context() const { return m_context; }
    core::TrayIcon &tray() { return m_tray; }
    protocol::Outbox &outbox() { return m_outbox; }
    protocol::Dispatcher &dispatcher() { return m_dispatcher; }
    settings::Partner &partner() { return m_partner; }
    settings::Pairing &pairing() { return m_pairing; }
    const core::RegisteredPartner &registeredPartner() const { return m_partner.registered(); }
    history::HistoryViewer &historyViewer() { return m_historyViewer; }
    history::History &history() { return m_history; }
    protocol::Sending &sending() { return m_sending; }
    send::Compose &compose() { return m_compose; }
    send::SendNotices &notices() { return m_notices; }
    protocol::Presence &presence() { return m_presence; }
    receive::Receiving &receiving() { return m_receiving; }
    receive::ReceivedMessage &receivedMessage() { return m_receivedMessage; }
    receive::Letters &letters() { return m_letters; }
    receive::CallSignal &callSignal() { return m_callSignal; }
    receive::UserSearch &userSearch() { return m_userSearch; }
    settings::OptionsEditor &options() { return m_options; }
    settings::PasswordPrompt &password() { return m_password; }
    settings::IconSelection &iconSelection() { return m_iconSelection; }
    core::About &about() { return m_about; }
    const receive::WaitingNotice &waitingNotice() const { return m_waitingNotice; }

    // A received message waits until it is dealt with: the one in the received window, or one
    // behind it. Whatever picture the tray shows meanwhile (a blink phase, a call frame, a start
    // notice), this is what the end's question goes by.
    bool messageWaiting() const { return m_receiving.window().anythingWaits(); }
    receive::ReceivedWindowModel &receivedWindow() { return m_receiving.window(); }

    // The start-up sequence. False when the copy ended during it (another copy runs, or the port
    // is taken); the reason has been shown to the user.
    bool startUp();

    // The main window is asked to unload. Returns true when the unload is cancelled: always for
    // the close box, which only hides the window, and when the user keeps a waiting message.
    bool queryUnload(UnloadMode mode);
    // "終了(&X)".
    void quit();
    // A termination signal or the end of the session: ends through the end notice, without a
    // question. An open box closes; during the start-up the end comes once its steps are through,
    // and they show no more boxes.
    void terminate();
    // A tray or call menu entry was chosen.
    void menuClicked(core::MenuId id);
    // Left press on the tray icon: the compose window, or the waiting message; nothing while
    // the operation lock is on.
    void trayLeftPressed();
    // The program was started again: the waiting message, or the compose window, comes forward.
    void bringForward();

    bool hasEnded() const { return m_ended; }

signals:
    // The process is to end with this exit code.
    void ended(int exitCode);

private:
    // Asks before ending while a message waits; true when the user chose to end.
    bool confirmEnd();
    void endProgram();
    void endAtStartUp();

    // The options and the menu first: every part reads them through the context.
    core::Options m_optionValues;
    core::MenuModel m_menu;
    core::Context m_context;
    core::TrayIcon m_tray;
    protocol::Outbox m_outbox;
    protocol::Dispatcher m_dispatcher;
    platform::InstanceGuard m_guard;
    platform::ShowRequests m_showRequests;
    settings::Partner m_partner;
    settings::Pairing m_pairing;
    history::History m_history;
    history::HistoryViewer m_historyViewer;
    protocol::Sending m_sending;
    send::SendNotices m_notices;
    send::Compose m_compose;
    protocol::Presence m_presence;
    receive::Receiving m_receiving;
    receive::WaitingNotice m_waitingNotice;
    receive::ReceivedMessage m_receivedMessage;
    receive::Letters m_letters;
    receive::CallSignal m_callSignal;
    settings::OptionsEditor m_options;
    settings::PasswordPrompt m_password;
    receive::UserSearch m_userSearch;
    settings::IconSelection m_iconSelection;
    core::About m_about;
    bool m_ended = false;
    bool m_startingUp = false;
    bool m_endAfterStartUp = false;
};

} // namespace copy
