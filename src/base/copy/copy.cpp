#include "base/copy/copy.h"

#include "base/core/errors.h"
#include "base/protocol/presence.h"
#include "base/settings/optfile.h"
#include "base/settings/programconfig.h"
#include "base/text/fields.h"

#include <QScopeGuard>

namespace copy {
namespace {

constexpr quint16 kPort = 57979;
constexpr int kLoginWidth = 20;

const QString kAlreadyRunning = QStringLiteral("「ミルトアンヌ」は、既に起動しています。");

// Why the lock file could not be taken, when it is not another copy that holds it.
QString lockFailureText(platform::InstanceGuard::Result result, const QString &folder)
{
    const QString reason = result == platform::InstanceGuard::Result::NoPermission
                               ? QStringLiteral("(ﾌｫﾙﾀﾞに書込み権限がありません)")
                               : QStringLiteral("(ﾃﾞｨｽｸの空き容量が不足しているか、ﾌｫﾙﾀﾞに書き込めません)");
    return QStringLiteral("ﾛｯｸﾌｧｲﾙを書き込めません。") + QChar(u'\r') + folder + QChar(u'\r') + reason;
}

// Runs one step of a sequence whose failing steps are passed over.
template <typename Step> void skipOnFailure(Step &&step)
{
    try {
        step();
    } catch (const std::exception &) {
    }
}

} // namespace

Copy::Copy(const core::Services &services, QObject *parent)
    : QObject(parent), m_context(services), m_dispatcher(m_context), m_guard(services.programDir),
      m_showRequests(services.programDir), m_partner(m_context), m_historyViewer(m_context),
      m_sending(m_context), m_receiving(m_context), m_waitingNotice(m_context, m_receiving),
      m_receivedMessage(m_context, m_sending, m_receiving), m_letters(m_context), m_callSignal(m_context),
      m_options(m_context), m_password(m_context), m_userSearch(m_context), m_iconSelection(m_context),
      m_about(m_context)
{
    // The blink timer runs from the window's design until start-up stops it.
    m_context.blinkTimer.start();
    connect(&services.transport, &platform::Transport::datagramArrived, this,
            [this](const QByteArray &bytes, const QString &sender) { m_dispatcher.arrive(bytes, sender); });
    connect(&services.tray, &platform::Tray::leftPressed, this, &Copy::trayLeftPressed);
    // The notification of a waiting message stands for the tray icon where that is not seen.
    connect(&services.notifications, &platform::Notifications::invoked, this,
            [this](platform::NotificationSlot slot) {
                if (slot == platform::NotificationSlot::Waiting)
                    trayLeftPressed();
            });
    connect(&m_options, &settings::OptionsEditor::desktopNotificationsSwitched, &m_waitingNotice,
            &receive::WaitingNotice::setOn);
    connect(&m_context.blinkTimer, &QTimer::timeout, this, [this] { m_receiving.blinkTick(); });
    connect(&m_context.callAnimationTimer, &QTimer::timeout, this, [this] { m_callSignal.tick(); });
    connect(&m_partner, &settings::Partner::passwordNeeded, this,
            [this] { m_password.ask(settings::PasswordPrompt::Purpose::Registration); });
    connect(&m_password, &settings::PasswordPrompt::registrationAllowed, &m_partner,
            &settings::Partner::showWindow);
    connect(&m_password, &settings::PasswordPrompt::unlockAllowed, this, [this] { m_context.lockOff(); });
    connect(&m_showRequests, &platform::ShowRequests::showRequested, this, &Copy::bringForward);
    connect(&m_sending, &protocol::Sending::replyUnconfirmed, &m_receiving,
            &protocol::Receiving::keepUnsentReply);
    plugHandlers();
}

void Copy::plugHandlers()
{
    using protocol::Kind;
    core::Context &c = m_context;
    using protocol::Arrival;
    m_dispatcher.setHandler(Kind::Delivered, [this](const Arrival &a) { m_sending.delivered(a.sender); });
    m_dispatcher.setHandler(Kind::Refused, [this](const Arrival &a) { m_sending.refused(a.sender); });
    for (Kind reaction : {Kind::Opened, Kind::Held, Kind::Discarded}) {
        m_dispatcher.setHandler(
            reaction, [this, reaction](const Arrival &a) { m_sending.reaction(reaction, a.sender); });
    }
    // A letter gets no "送信", but like every message it gets a received-history row of its own,
    // so that reading it completes its own row and not the one of the message before it.
    m_dispatcher.setHandler(Kind::Letter, [this](const Arrival &a) {
        m_sending.letterArrived(a.sender);
        m_receiving.receive(a);
    });
    m_dispatcher.setMessageHandlers([this](const Arrival &a) { return m_receiving.receive(a); },
                                    [this](const Arrival &a) { m_receiving.acknowledge(a.sender); },
                                    [this](const Arrival &a) {
                                        if (!m_letters.handOver(a.sender))
                                            return false;
                                        m_sending.letterHandedOver(a.sender,
                                                                   m_context.letterWindow().view().letter);
                                        return true;
                                    });
    m_dispatcher.setHandler(Kind::Call, [this](const Arrival &a) { m_callSignal.callArrived(a); });
    m_dispatcher.setWatcher([this](const Arrival &a) { m_callSignal.noteArrival(a); });
    m_dispatcher.setHandler(Kind::PresenceRequest,
                            [&c](const Arrival &a) { protocol::answerPresence(c, a); });
    m_dispatcher.setHandler(Kind::PresenceOk,
                            [this](const Arrival &a) { m_partner.presenceAnswered(a, true); });
    m_dispatcher.setHandler(Kind::PresenceOneSided,
                            [this](const Arrival &a) { m_partner.presenceAnswered(a, false); });
    m_dispatcher.setHandler(Kind::Start, [&c](const Arrival &a) { protocol::startEndDisplay(c, a, true); });
    m_dispatcher.setHandler(Kind::End, [&c](const Arrival &a) { protocol::startEndDisplay(c, a, false); });
    m_dispatcher.setHandler(Kind::SearchRequest,
                            [this](const Arrival &a) { m_userSearch.answerSearch(a.sender); });
    m_dispatcher.setHandler(Kind::SearchResult, [this](const Arrival &a) { m_userSearch.takeAnswer(a); });
}

bool Copy::startUp()
{
    core::Context &c = m_context;
    core::SharedState &s = c.state;
    // An end notice may have to go before the rest is known: the port comes first.
    s.port = QString::number(kPort);
    m_startingUp = true;
    const auto startedUp = qScopeGuard([this] { m_startingUp = false; });

    const platform::InstanceGuard::Result lock = m_guard.tryAcquire();
    if (lock == platform::InstanceGuard::Result::HeldByRunningCopy) {
        c.box(kAlreadyRunning, platform::box::exclamation);
        m_showRequests.askRunningCopy();
        endAtStartUp();
        return false;
    }
    // Without its lock file the copy could not keep a second one out, nor save anything in that
    // folder: it says what is wrong there and ends.
    if (lock != platform::InstanceGuard::Result::Acquired) {
        c.box(lockFailureText(lock, m_guard.folder()), platform::box::okOnly | platform::box::critical,
              core::kErrorTitle);
        endAtStartUp();
        return false;
    }
    // A second start of this program reaches this copy from now on. Without the socket a second
    // start still ends with its box; nothing else depends on it.
    m_showRequests.listen();
    skipOnFailure([&] { settings::readPartnerFile(c); });
    skipOnFailure([&] { settings::readOptionsFile(c); });
    m_waitingNotice.setOn(settings::desktopNotificationsOn(c.services.configFile));
    skipOnFailure([&] { c.applyTextStyles(); });
    s.startTime = text::hhmm(c.now().time());

    const int bindError = c.services.transport.bindReceiver(s.port.toUShort());
    if (bindError == platform::socket_error::addressInUse) {
        c.box(kAlreadyRunning + QChar(u'\r') + QStringLiteral("(PortNo Error!)"), platform::box::exclamation);
        endAtStartUp();
        return false;
    }
    // Any other bind failure is passed over like every other failing step: the copy runs on,
    // deaf, and still sends. The bind is synchronous, so there is nothing to wait for.

    s.trayPicture = c.composeWindow.icon();
    c.fillTrayRecord();
    c.trayCall(platform::TrayOp::Add);
    c.composeWindow.edit([](core::ComposeView &v) { v.message.clear(); });
    c.setWeekday();
    c.composeWindow.edit([&](core::ComposeView &v) { v.weekdayPanel = s.weekday; });
    c.letterWindow().edit([](core::LetterView &v) { v.state = core::LetterState::None; });
    // Centring the main window is its widget's business; it is hidden here in any case.
    c.composeWindow.hide();
    skipOnFailure([&] {
        s.loginName = c.services.identity.loginName().left(kLoginWidth);
        s.hostName = c.services.identity.hostName();
    });
    m_userSearch.buildIdentity();
    c.menu.setVisible(core::MenuId::UserSearch, false);
    c.menu.setChecked(core::MenuId::CallPerson, true);
    c.menu.setChecked(core::MenuId::CallPhone, false);
    c.blinkTimer.stop();
    // What waited unread when the copy last ended waits again.
    skipOnFailure([&] { m_receiving.restoreWaiting(); });

    // A termination signal that came while a box of the start-up was open ends the copy now,
    // instead of being lost in the box's own event loop.
    m_startingUp = false;
    if (m_endAfterStartUp) {
        endProgram();
        return false;
    }
    protocol::startNotice(c);
    return true;
}

bool Copy::queryUnload(UnloadMode mode)
{
    if (m_ended)
        return false;
    if (mode == UnloadMode::CloseBox) {
        m_context.composeWindow.hide();
        return true;
    }
    if (!confirmEnd())
        return true;
    endProgram();
    return false;
}

void Copy::quit()
{
    if (!m_ended && confirmEnd())
        endProgram();
}

void Copy::terminate()
{
    if (m_ended)
        return;
    // Nobody will answer a box now: the user is logging out, or a service manager ends us.
    m_context.services.dialogs.closeAll();
    if (m_startingUp)
        m_endAfterStartUp = true;
    else
        endProgram();
}

void Copy::menuClicked(core::MenuId id)
{
    switch (id) {
    case core::MenuId::Quit:
        quit();
        break;
    case core::MenuId::Compose:
        m_sending.openCompose();
        break;
    case core::MenuId::ShowReceived:
        m_receiving.openReceived();
        break;
    case core::MenuId::CallPerson:
    case core::MenuId::CallPhone:
        m_context.menu.setChecked(core::MenuId::CallPerson, id == core::MenuId::CallPerson);
        m_context.menu.setChecked(core::MenuId::CallPhone, id == core::MenuId::CallPhone);
        break;
    case core::MenuId::Lock:
        if (!m_context.isLocked())
            m_context.lockOn();
        else if (!m_context.opt.passwordProtected())
            m_context.lockOff();
        else
            m_password.ask(settings::PasswordPrompt::Purpose::Unlock); // only the right password lifts it
        break;
    case core::MenuId::Options:
        m_options.open();
        break;
    case core::MenuId::IconSet:
        m_iconSelection.open();
        break;
    case core::MenuId::About:
        m_about.open();
        break;
    case core::MenuId::Letter:
        m_letters.open();
        break;
    case core::MenuId::SendClipboard:
        m_sending.sendClipboard();
        break;
    case core::MenuId::History:
        m_historyViewer.open();
        break;
    case core::MenuId::Partner:
        m_partner.open();
        break;
    case core::MenuId::UserSearch:
        m_userSearch.open();
        break;
    default:
        // The other entries belong to the windows that carry them.
        break;
    }
}

void Copy::trayLeftPressed()
{
    if (m_ended || m_context.isLocked())
        return;
    if (m_context.menu.enabled(core::MenuId::Compose))
        m_sending.openCompose();
    else
        m_receiving.openReceived();
}

void Copy::bringForward()
{
    if (m_ended || m_context.isLocked())
        return;
    if (m_context.messageWaiting())
        m_receiving.openReceived();
    else
        m_sending.openCompose();
}

bool Copy::confirmEnd()
{
    if (!m_context.messageWaiting())
        return true;
    const int answer =
        m_context.box(QStringLiteral("未確認のﾒｯｾｰｼﾞがあります... 終了しますか？"),
                      platform::box::yesNo | platform::box::question | platform::box::defaultButton2);
    return answer == platform::box::yes;
}

void Copy::endProgram()
{
    // Whatever still waits unread is safe in its file before anything else.
    m_receiving.saveWaiting();
    m_waitingNotice.withdraw();
    skipOnFailure([&] { protocol::endNotice(m_context); });
    m_context.trayCall(platform::TrayOp::Delete);
    m_context.callAnimationTimer.stop();
    m_context.blinkTimer.stop();
    m_ended = true;
    emit ended(0);
}

void Copy::endAtStartUp()
{
    m_context.blinkTimer.stop();
    m_ended = true;
    emit ended(0);
}

} // namespace copy
