#include "base/protocol/tags.h"
#include "base/protocol/wire.h"
#include "base/settings/programconfig.h"
#include "base/text/cp932.h"
#include "support/busprogram.h"
#include "support/statusnotifierwatcher.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDir>
#include <QLibraryInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using testkit::BusProgram;

namespace {

const QString kService = u"org.freedesktop.Notifications"_s;
const QString kPath = u"/org/freedesktop/Notifications"_s;

// The desktop's notification server, as the test's own: it numbers and keeps what it is given,
// and the test plays the user who clicks or closes a notification.
class NotificationServer final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Posted {
        uint id;
        uint replaces;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        int timeout;
    };
    QList<Posted> posted;
    QList<uint> closed;  // by the program
    QSet<uint> onScreen; // what the user sees

    void userCloses(uint id)
    {
        onScreen.remove(id);
        emit NotificationClosed(id, 2);
    }
    void userClicks(uint id, const QString &action) { emit ActionInvoked(id, action); }

public slots:
    QStringList GetCapabilities() { return {u"actions"_s, u"body"_s, u"persistence"_s}; }
    uint Notify(const QString &, uint replaces, const QString &, const QString &summary, const QString &body,
                const QStringList &actions, const QVariantMap &hints, int timeout)
    {
        // One that is no longer there is not replaced: a new one comes.
        const uint id = onScreen.contains(replaces) ? replaces : ++m_lastId;
        onScreen.insert(id);
        posted.append({id, replaces, summary, body, actions, hints, timeout});
        return id;
    }
    void CloseNotification(uint id)
    {
        closed.append(id);
        if (onScreen.remove(id))
            emit NotificationClosed(id, 3);
    }

signals:
    // Unnamed, as moc names them in its definitions.
    void NotificationClosed(uint, uint);
    void ActionInvoked(uint, const QString &);

private:
    uint m_lastId = 0;
};

} // namespace

// The test build of the program on a session bus of the test's own, where the test serves the
// desktop's notifications: a waiting message is told there, one notification at a time, clicking
// it opens the message, and it goes once the message is dealt with or the option is turned off.
// Skipped only where dbus-daemon cannot run.
class TestNotifications final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void waitingMessageOnTheDesktop();
    void waylandNoticeLeavesTheComposeWindow();

private:
    // The partner writes to the program, and the program has taken it in.
    void partnerWrites(const QString &datagram);

    BusProgram m_program{u"notifications-test"_s};
    NotificationServer m_server;
};

void TestNotifications::initTestCase()
{
    if (const QString skip = m_program.startBus(); !skip.isEmpty())
        QSKIP(qPrintable(skip));
    QVERIFY(m_program.bus().registerObject(
        kPath, &m_server, QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals));
    QVERIFY(m_program.bus().registerService(kService));
    QVERIFY(m_program.prepare());
    QVERIFY(m_program.bindPartner());
}

void TestNotifications::partnerWrites(const QString &datagram)
{
    const QByteArray bytes = text::toCp932(datagram);
    QCOMPARE(m_program.partner().writeDatagram(bytes, QHostAddress(BusProgram::kProgramAddress), 57979),
             bytes.size());
    QVERIFY(!m_program.ask(QString(), u"rx "_s + BusProgram::kPartnerAddress).isEmpty());
}

void TestNotifications::waitingMessageOnTheDesktop()
{
    QVERIFY2(m_program.start(), "the program did not start");
    const auto message = [](const QString &text) {
        return protocol::ordinaryMessage(protocol::messageHead(u"ゆうこ"_s, QTime(9, 5, 0)), text);
    };

    // A message: its sender and that it came, with the program's picture and entry, but not what
    // it says, which only the window shows (and tells the sender it was read).
    partnerWrites(message(u"ひみつの話"_s));
    QTRY_COMPARE_WITH_TIMEOUT(m_server.posted.size(), 1, 10000);
    const NotificationServer::Posted first = m_server.posted.first();
    QCOMPARE(first.replaces, 0u);
    QCOMPARE(first.summary, u"ゆうこ"_s);
    QVERIFY2(first.body.contains(u"ﾒｯｾｰｼﾞが届きました"_s) && !first.body.contains(u"ひみつ"_s),
             qPrintable(first.body));
    QVERIFY(first.actions.contains(u"default"_s));
    QCOMPARE(first.actions.value(first.actions.indexOf(u"open"_s) + 1), u"開く"_s);
    QCOMPARE(first.timeout, 0);
    QCOMPARE(first.hints.value(u"desktop-entry"_s).toString(), u"miltoanne"_s);
    QCOMPARE(first.hints.value(u"image-data"_s).value<QDBusArgument>().currentSignature(), u"(iiibiiay)"_s);

    // A letter next: it takes the place of the first notification.
    partnerWrites(protocol::tagOf(protocol::Kind::Letter) + message(u"置いておくね"_s));
    QTRY_COMPARE_WITH_TIMEOUT(m_server.posted.size(), 2, 10000);
    QCOMPARE(m_server.posted.last().replaces, first.id);
    QVERIFY(m_server.posted.last().body.contains(u"置き手紙"_s));
    QVERIFY(m_server.posted.last().hints.value(u"resident"_s).toBool()); // the server keeps them
    QCOMPARE(m_server.onScreen.size(), 1);

    // "開く" opens the received window, as a click on the tray icon does.
    QVERIFY(!m_program.windows().contains(u"FrmRecv"_s));
    m_server.userClicks(first.id, u"open"_s);
    QTRY_VERIFY_WITH_TIMEOUT(m_program.windows().contains(u"FrmRecv"_s), 10000);
    QVERIFY(m_server.closed.isEmpty()); // opened is not yet read

    // Read: the notification goes.
    QCOMPARE(m_program.ask(u"open"_s, u"done"_s), u"done open"_s);
    QTRY_COMPARE_WITH_TIMEOUT(m_server.closed, QList<uint>{first.id}, 10000);
    QVERIFY(m_server.onScreen.isEmpty());

    // One the user closed is not replaced: the next message has a notification of its own.
    partnerWrites(message(u"もう一通"_s));
    QTRY_COMPARE_WITH_TIMEOUT(m_server.posted.size(), 3, 10000);
    m_server.userCloses(m_server.posted.last().id);
    QCOMPARE(m_program.ask(u"state"_s, u"state"_s).isEmpty(), false);
    partnerWrites(message(u"さらに一通"_s));
    QTRY_COMPARE_WITH_TIMEOUT(m_server.posted.size(), 4, 10000);
    QCOMPARE(m_server.posted.last().replaces, 0u);

    // The program ends with the message unread: its notification goes with it.
    const uint unread = m_server.posted.last().id;
    m_program.command(u"quit"_s);
    QTRY_COMPARE_WITH_TIMEOUT(m_program.process().state(), QProcess::NotRunning, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(m_server.closed.size(), 2, 10000);
    QCOMPARE(m_server.closed.last(), unread);

    // Turned off (in the program's config file): neither the message that waited across the end
    // nor a new one is told.
    QVERIFY(settings::setDesktopNotificationsOn(
        QDir(m_program.home()).filePath(u"miltoanne/miltoanne.conf"_s), false));
    QVERIFY2(m_program.start(), "the program did not start again");
    partnerWrites(message(u"聞こえる？"_s));
    QCOMPARE(m_program.ask(u"state"_s, u"state"_s).isEmpty(), false);
    QCOMPARE(m_server.posted.size(), 4);
    m_program.command(u"quit"_s);
    QTRY_COMPARE_WITH_TIMEOUT(m_program.process().state(), QProcess::NotRunning, 10000);
}

// On a Wayland compositor (weston's headless one, the test's own) the program runs as its client:
// it starts with the stand-in for a tray and moves into a panel that comes up later, and the notice of a
// delivered message comes as a desktop notification, so the compose window the user writes in stays the one
// window that may have the keyboard. Skipped where weston or Qt's Wayland plugin is missing.
void TestNotifications::waylandNoticeLeavesTheComposeWindow()
{
    const QString weston = QStandardPaths::findExecutable(u"weston"_s);
    if (weston.isEmpty() || !QFile::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                                           u"/platforms/libqwayland-generic.so"_s))
        QSKIP("weston or Qt's Wayland plugin (qt6-wayland) is missing; make deps installs both; skipping");
    QTemporaryDir runtime; // its owner's alone, as a runtime folder must be
    QProcess compositor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
    compositor.setProcessEnvironment(env);
    compositor.start(weston, {u"--backend=headless-backend.so"_s, u"--socket=miltoanne-test"_s,
                              u"--width=1024"_s, u"--height=768"_s, u"--idle-time=0"_s});
    const auto stopCompositor = qScopeGuard([&compositor] {
        compositor.terminate();
        compositor.waitForFinished(3000);
    });
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(QDir(runtime.path()).filePath(u"miltoanne-test"_s)) ||
                                 compositor.state() == QProcess::NotRunning,
                             10000);
    if (compositor.state() == QProcess::NotRunning)
        QSKIP(qPrintable(u"weston does not run here: "_s +
                         QString::fromLocal8Bit(compositor.readAllStandardError())));

    QVERIFY(settings::setDesktopNotificationsOn(
        QDir(m_program.home()).filePath(u"miltoanne/miltoanne.conf"_s), true));
    m_program.useWayland(runtime.path(), u"miltoanne-test"_s);
    QVERIFY2(m_program.start(), "the program did not start on Wayland");
    const auto shown = [this] { return m_program.windows().split(u' '); };
    QVERIFY(shown().contains(u"trayStandIn"_s)); // no panel on this bus

    // A panel comes up after the program: the icon goes into it, and the stand-in goes.
    testkit::Watcher panel(m_program.bus());
    QVERIFY(m_program.bus().registerObject(testkit::Watcher::kPath, &panel,
                                           QDBusConnection::ExportAllSlots |
                                               QDBusConnection::ExportAllSignals |
                                               QDBusConnection::ExportAllProperties));
    QVERIFY(m_program.bus().registerService(testkit::Watcher::kService));
    const auto panelGoes = qScopeGuard([this] {
        m_program.bus().unregisterService(testkit::Watcher::kService);
        m_program.bus().unregisterObject(testkit::Watcher::kPath);
    });
    QTRY_VERIFY_WITH_TIMEOUT(panel.registrations > 0 && !shown().contains(u"trayStandIn"_s), 10000);

    // A message from the partner waits; one to the partner goes, and the compose window is open
    // again for the next one.
    partnerWrites(protocol::ordinaryMessage(protocol::messageHead(u"ゆうこ"_s, QTime(9, 5, 0)), u"ねえ"_s));
    QTRY_VERIFY_WITH_TIMEOUT(!m_server.onScreen.isEmpty(), 10000);
    const uint waiting = m_server.posted.last().id;
    QCOMPARE(m_program.ask(u"send やあ"_s, u"done"_s), u"done send"_s);
    QCOMPARE(m_program.ask(u"menu mnuSendMsg"_s, u"done"_s), u"done menu"_s);
    QVERIFY(shown().contains(u"FrmSnd"_s));
    const qsizetype before = m_server.posted.size();
    const QByteArray delivered = text::toCp932(u"送信"_s);
    QCOMPARE(m_program.partner().writeDatagram(delivered, QHostAddress(BusProgram::kProgramAddress), 57979),
             delivered.size());
    QTRY_VERIFY_WITH_TIMEOUT(m_server.posted.size() > before, 10000);
    QCOMPARE(m_server.posted.last().summary, u"ミルトアンヌ　送信確認"_s);
    QVERIFY(m_server.posted.last().body.startsWith(u"メッセージは正しく送信されました。"_s));
    // The partner reads it: that notice too is a notification, beside the waiting message's.
    const QByteArray read = text::toCp932(u"Open確認"_s);
    QCOMPARE(m_program.partner().writeDatagram(read, QHostAddress(BusProgram::kProgramAddress), 57979),
             read.size());
    QTRY_COMPARE_WITH_TIMEOUT(m_server.posted.last().summary, u"ミルトアンヌ　着信確認"_s, 10000);
    const QStringList after = shown();
    QVERIFY2(after.contains(u"FrmSnd"_s) && !after.contains(u"FrmSndOK"_s) && !after.contains(u"FrmRcvOK"_s),
             qPrintable(after.join(u' ')));
    QCOMPARE(m_server.onScreen.size(), 3);
    QVERIFY(m_server.onScreen.contains(waiting));

    m_program.command(u"quit"_s);
    QVERIFY(m_program.endsCleanly());
}

QTEST_GUILESS_MAIN(TestNotifications)
#include "test_notifications.moc"
