#include "base/copy/copy.h"

#include "base/settings/optfile.h"
#include "base/settings/programconfig.h"

#include <QScopeGuard>

namespace copy {
namespace {

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

// The weekday as one kanji.
QString weekdayOf(QDate date)
{
    // Qt counts Monday as 1 and Sunday as 7.
    static constexpr char16_t kDays[] = u"日月火水木金土";
    return QString(QChar(kDays[date.dayOfWeek() % 7]));
}

} // namespace

Copy::Copy(const core::Services &services, QObject *parent)
    : QObject(parent), m_context(services, m_optionValues, m_menu), m_tray(services.tray, m_context.opt),
      m_outbox(services.transport), m_dispatcher(services.dialogs), m_guard(services.programDir),
      m_showRequests(services.programDir), m_partner(m_context, m_outbox),
      m_pairing(m_context, m_partner, m_outbox), m_history(m_context), m_historyViewer(m_context, m_history),
      m_sending(m_outbox, services.clock, services.dialogs, m_partner.registered(), m_context.opt),
      m_notices(m_context), m_compose(m_context, m_sending, m_tray),
      m_presence(m_outbox, services.clock, m_partner.registered(), m_context.opt, m_tray),
      m_receiving(m_context, m_outbox, m_tray, m_partner.registered(), m_history),
      m_waitingNotice(m_context, m_receiving),
      m_receivedMessage(m_context, m_outbox, m_sending, m_receiving, m_history),
      m_letters(m_context, m_outbox, m_sending, m_partner.registered()),
      m_callSignal(m_outbox, m_context.menu, m_partner.registered(), m_tray), m_options(m_context),
      m_password(m_context), m_userSearch(m_context, m_outbox, m_partner.registered()),
      m_iconSelection(m_context, m_tray), m_about(m_context)
{
    // The blink runs from the window's design until start-up stops it.
    m_tray.startBlink();

    // What arrives: each part takes the kinds that are its business.
    connect(&services.transport, &platform::Transport::datagramArrived, this,
            [this](const QByteArray &bytes, const QString &sender) { m_dispatcher.arrive(bytes, sender); });
    // Sealed datagrams are opened first, before anyone looks at them.
    m_pairing.plugInto(m_dispatcher);
    m_sending.plugInto(m_dispatcher);
    m_receiving.plugInto(m_dispatcher);
    m_letters.plugInto(m_dispatcher);
    m_callSignal.plugInto(m_dispatcher);
    m_presence.plugInto(m_dispatcher);
    m_partner.plugInto(m_dispatcher);
    m_userSearch.plugInto(m_dispatcher);

    // What became of a message sent: its history row first, then the notice.
    connect(&m_sending, &protocol::Sending::delivered, this,
            [this](const protocol::SentEntry &entry) { m_history.delivered(entry.to, entry.text); });
    connect(&m_sending, &protocol::Sending::reacted, this, [this](const protocol::SentEntry &entry) {
        if (entry.kind == protocol::SentEntry::Kind::Message)
            m_history.reacted(entry.to, entry.reaction == protocol::SentEntry::Reaction::ClosedUnread);
    });
    m_notices.follow(m_sending);
    // A reply to someone other than the partner that was never confirmed goes back into the
    // received window, for that person.
    connect(&m_sending, &protocol::Sending::unconfirmed, &m_receiving,
            [this](const protocol::SentEntry &entry) {
                if (!entry.toPartner)
                    m_receiving.keepUnsentReply(entry.to, entry.text);
            });
    connect(&m_presence, &protocol::Presence::partnerCameOrWent, this,
            [this](const QString &times) { m_historyViewer.showPartnerTimes(times); });

    m_context.menu.setAction(core::MenuId::Quit, [this] { quit(); });
    connect(&services.tray, &platform::Tray::leftPressed, this, &Copy::trayLeftPressed);
    // The notification of a waiting message stands for the tray icon where that is not seen.
    connect(&services.notifications, &platform::Notifications::invoked, this,
            [this](platform::NotificationSlot slot) {
                if (slot == platform::NotificationSlot::Waiting)
                    trayLeftPressed();
            });
    connect(&m_options, &settings::OptionsEditor::desktopNotificationsSwitched, &m_waitingNotice,
            &receive::WaitingNotice::setOn);
    connect(&m_partner, &settings::Partner::passwordNeeded, this,
            [this] { m_password.ask(settings::PasswordPrompt::Purpose::Registration); });
    connect(&m_password, &settings::PasswordPrompt::registrationAllowed, &m_partner,
            &settings::Partner::showWindow);
    connect(&m_showRequests, &platform::ShowRequests::showRequested, this, &Copy::bringForward);
}

bool Copy::startUp()
{
    core::Context &c = m_context;
    // An end notice may have to go before the rest is known: the port comes first.
    m_outbox.open(protocol::kPort);
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
    m_partner.readFile();
    m_pairing.readFile();
    settings::readOptionsFile(c);
    m_waitingNotice.setOn(settings::desktopNotificationsOn(c.services.configFile));
    c.applyTextStyles();
    m_presence.started();

    const int bindError = c.services.transport.bindReceiver(protocol::kPort);
    if (bindError == platform::socket_error::addressInUse) {
        c.box(kAlreadyRunning + QChar(u'\r') + QStringLiteral("(PortNo Error!)"), platform::box::exclamation);
        endAtStartUp();
        return false;
    }
    // Any other bind failure is passed over: the copy runs on, deaf, and still sends. The bind is
    // synchronous, so there is nothing to wait for.

    send::ComposeWindowModel &compose = m_compose.window();
    m_tray.add(compose.icon());
    const QString weekday = weekdayOf(c.now().date());
    compose.edit([&](send::ComposeView &v) {
        v.message.clear();
        v.weekdayPanel = weekday;
    });
    m_receiving.setWeekday(weekday);
    m_letters.window().edit([](receive::LetterView &v) { v.state = receive::LetterState::None; });
    // Centring the main window is its widget's business; it is hidden here in any case.
    compose.hide();
    const QString loginName = c.services.identity.loginName().left(kLoginWidth);
    m_sending.setLoginName(loginName);
    m_userSearch.buildIdentity(loginName, c.services.identity.hostName());
    c.menu.setVisible(core::MenuId::UserSearch, false);
    c.menu.setChecked(core::MenuId::CallPerson, true);
    c.menu.setChecked(core::MenuId::CallPhone, false);
    m_tray.stopBlink();
    // What waited unread when the copy last ended waits again.
    m_receiving.restoreWaiting();

    // A termination signal that came while a box of the start-up was open ends the copy now,
    // instead of being lost in the box's own event loop.
    m_startingUp = false;
    if (m_endAfterStartUp) {
        endProgram();
        return false;
    }
    m_presence.announce();
    return true;
}

bool Copy::queryUnload(UnloadMode mode)
{
    if (m_ended)
        return false;
    if (mode == UnloadMode::CloseBox) {
        m_compose.window().hide();
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
    m_context.menu.choose(id);
}

void Copy::trayLeftPressed()
{
    if (m_ended || m_context.menu.isLocked())
        return;
    if (m_context.menu.enabled(core::MenuId::Compose))
        m_compose.open();
    else
        m_receiving.openReceived();
}

void Copy::bringForward()
{
    if (m_ended || m_context.menu.isLocked())
        return;
    if (messageWaiting())
        m_receiving.openReceived();
    else
        m_compose.open();
}

bool Copy::confirmEnd()
{
    if (!messageWaiting())
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
    m_presence.endNotice();
    m_pairing.saveNow();
    m_tray.remove();
    m_ended = true;
    emit ended(0);
}

void Copy::endAtStartUp()
{
    m_tray.stopBlink();
    m_ended = true;
    emit ended(0);
}

} // namespace copy
