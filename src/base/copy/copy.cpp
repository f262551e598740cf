#include "base/copy/copy.h"

#include "base/core/errors.h"
#include "base/history/rowsteps.h"
#include "base/protocol/presence.h"
#include "base/settings/optfile.h"
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
      m_partner(m_context), m_logViewer(m_context), m_sending(m_context), m_receiving(m_context),
      m_received(m_context, m_sending), m_letters(m_context), m_callSignal(m_context), m_options(m_context),
      m_password(m_context), m_userSearch(m_context), m_iconSelection(m_context), m_about(m_context)
{
    // The blink timer runs from the window's design until start-up stops it.
    m_context.Timer2.start();
    connect(&services.transport, &platform::Transport::datagramArrived, this,
            [this](const QByteArray &bytes, const QString &sender) { m_dispatcher.arrive(bytes, sender); });
    connect(&services.tray, &platform::Tray::leftPressed, this, &Copy::trayLeftPressed);
    connect(&m_context.Timer2, &QTimer::timeout, this, [this] { m_receiving.blinkTick(); });
    connect(&m_context.Timer1, &QTimer::timeout, this, [this] { m_callSignal.tick(); });
    connect(&m_partner, &settings::Partner::passwordNeeded, this,
            [this] { m_password.ask(settings::PasswordWindow::Purpose::Registration); });
    connect(&m_password, &settings::PasswordWindow::registrationAllowed, &m_partner,
            &settings::Partner::adrEdit);
    connect(&m_password, &settings::PasswordWindow::unlockAllowed, this, [this] { m_context.trueEnable(); });
    plugHandlers();
}

void Copy::plugHandlers()
{
    using protocol::Kind;
    core::Context &c = m_context;
    m_dispatcher.setHandler(Kind::Delivered, [this] { m_sending.delivered(); });
    m_dispatcher.setHandler(Kind::Refused, [this] { m_sending.refused(); });
    for (Kind reaction : {Kind::Opened, Kind::Held, Kind::Discarded})
        m_dispatcher.setHandler(reaction, [this, reaction] { m_sending.reaction(reaction); });
    // A letter gets no "送信", but it gets a received-history row of its own, so that reading it
    // completes its own row and not the one of the message before it.
    m_dispatcher.setHandler(Kind::Letter, [this] {
        m_sending.letterArrived();
        if (m_receiving.receive())
            history::messageReceived(m_context);
    });
    m_dispatcher.setMessageHandlers([this] { return m_receiving.receive(); },
                                    [this] { m_receiving.recvAck(); },
                                    [this] { return m_letters.letterSend(); });
    m_dispatcher.setHandler(Kind::Call, [this] { m_callSignal.callSignal(); });
    m_dispatcher.setHandler(Kind::PresenceRequest, [&c] { protocol::presenceReply(c); });
    m_dispatcher.setHandler(Kind::PresenceOk, [&c] { protocol::presenceAnswer(c, true); });
    m_dispatcher.setHandler(Kind::PresenceOneSided, [&c] { protocol::presenceAnswer(c, false); });
    m_dispatcher.setHandler(Kind::Start, [&c] { protocol::startEndDisplay(c, true); });
    m_dispatcher.setHandler(Kind::End, [&c] { protocol::startEndDisplay(c, false); });
    m_dispatcher.setHandler(Kind::SearchRequest, [this] { m_userSearch.adrAnswer(); });
    m_dispatcher.setHandler(Kind::SearchResult, [this] { m_userSearch.adrResult(); });
}

bool Copy::startUp()
{
    core::Context &c = m_context;
    core::SharedState &s = c.state;
    // An end notice may have to go before the rest is known: the port comes first.
    s.portNo = QString::number(kPort);
    m_startingUp = true;
    const auto startedUp = qScopeGuard([this] { m_startingUp = false; });

    const platform::InstanceGuard::Result lock = m_guard.tryAcquire();
    if (lock == platform::InstanceGuard::Result::HeldByRunningCopy) {
        c.box(kAlreadyRunning, platform::box::exclamation);
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
    skipOnFailure([&] { settings::rdAdrSub(c); });
    skipOnFailure([&] { settings::rdOptSub(c); });
    skipOnFailure([&] { c.fontSet(); });
    s.startTime = text::hhmm(c.now().time());

    const int bindError = c.services.transport.bindReceiver(s.portNo.toUShort());
    if (bindError == platform::socket_error::addressInUse) {
        c.box(kAlreadyRunning + QChar(u'\r') + QStringLiteral("(PortNo Error!)"), platform::box::exclamation);
        endAtStartUp();
        return false;
    }
    // Any other bind failure is passed over like every other failing step: the copy runs on,
    // deaf, and still sends. The bind is synchronous, so there is nothing to wait for.

    s.trayIcon = c.frmSnd.icon();
    c.nidSet();
    c.trayCall(platform::TrayOp::Add);
    c.frmSnd.edit([](core::MainView &v) { v.txtMsg.clear(); });
    c.youbiSet();
    c.frmSnd.edit([&](core::MainView &v) { v.weekdayPanel = s.youbi; });
    c.frmLetter().edit([](core::LetterView &v) { v.statusPanel.clear(); });
    // Centring the main window is its widget's business; it is hidden here in any case.
    c.frmSnd.hide();
    s.sndLogged = QStringLiteral("0");
    skipOnFailure([&] {
        s.loginName = c.services.identity.loginName().left(kLoginWidth);
        s.hostName = c.services.identity.hostName();
    });
    m_userSearch.adrIdent();
    c.menu.setVisible(core::MenuId::User, false);
    c.menu.setChecked(core::MenuId::Human, true);
    c.menu.setChecked(core::MenuId::Tel, false);
    c.Timer2.stop();

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
        m_context.frmSnd.hide();
        return true;
    }
    if (!confirmEnd())
        return true;
    endProgram();
    return false;
}

void Copy::mnuEndClick()
{
    if (!m_ended && confirmEnd())
        endProgram();
}

void Copy::terminate()
{
    if (m_ended)
        return;
    if (m_startingUp)
        m_endAfterStartUp = true;
    else
        endProgram();
}

void Copy::menuClicked(core::MenuId id)
{
    switch (id) {
    case core::MenuId::End:
        mnuEndClick();
        break;
    case core::MenuId::SendMsg:
        m_sending.openCompose();
        break;
    case core::MenuId::RecvMsg:
        m_receiving.openReceived();
        break;
    case core::MenuId::Human:
    case core::MenuId::Tel:
        m_context.menu.setChecked(core::MenuId::Human, id == core::MenuId::Human);
        m_context.menu.setChecked(core::MenuId::Tel, id == core::MenuId::Tel);
        break;
    case core::MenuId::Lock:
        if (!m_context.menu.checked(core::MenuId::Lock))
            m_context.lockOn();
        else if (m_context.opt.pwEnabled != 1)
            m_context.trueEnable();
        else
            m_password.ask(settings::PasswordWindow::Purpose::Unlock); // only the right password lifts it
        break;
    case core::MenuId::Other:
        m_options.open();
        break;
    case core::MenuId::Icon:
        m_iconSelection.open();
        break;
    case core::MenuId::About:
        m_about.open();
        break;
    case core::MenuId::Letter:
        m_letters.mnuLetterClick();
        break;
    case core::MenuId::Clip:
        m_sending.mnuClipClick();
        break;
    case core::MenuId::Log:
        m_logViewer.open();
        break;
    case core::MenuId::Aite:
        m_partner.mnuAiteClick();
        break;
    case core::MenuId::User:
        m_userSearch.mnuUserClick();
        break;
    default:
        // The other entries belong to the windows that carry them.
        break;
    }
}

void Copy::trayLeftPressed()
{
    if (m_ended || m_context.menu.checked(core::MenuId::Lock))
        return;
    if (m_context.menu.enabled(core::MenuId::SendMsg))
        m_sending.openCompose();
    else
        m_receiving.openReceived();
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
    skipOnFailure([&] { protocol::endNotice(m_context); });
    m_context.trayCall(platform::TrayOp::Delete);
    m_context.Timer1.stop();
    m_context.Timer2.stop();
    m_ended = true;
    emit ended(0);
}

void Copy::endAtStartUp()
{
    m_context.Timer2.stop();
    m_ended = true;
    emit ended(0);
}

} // namespace copy
