#include "support/busprogram.h"

#include <QDir>
#include <QSocketNotifier>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

// Last: the X headers define Bool, Status, True and False as macros.
#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

// The transport library's switch, exported by libICE though no header declares it: the test's
// manager takes clients on the local socket only and opens no TCP port.
extern "C" int _IceTransNoListen(const char *protocol);

using namespace Qt::StringLiterals;

namespace {

// An XSMP session manager of the test's own, as a desktop runs one: it listens on a local socket,
// registers one client, and asks it to save or tells it to die. Any local client is let in, so no
// ICE authority file is needed. libSM keeps one manager a process.
class SessionManager final {
public:
    SessionManager() = default;
    SessionManager(const SessionManager &) = delete;
    SessionManager &operator=(const SessionManager &) = delete;
    ~SessionManager();

    // Listens; an empty text, or what failed.
    QString listen();
    // Where a client finds the manager (SESSION_MANAGER).
    QString address() const { return m_address; }
    bool registered() const { return m_client != nullptr && m_registered; }
    // A checkpoint (shutdown false) or the end of the session; no interaction with the user.
    void saveYourself(bool shutdown);
    void die()
    {
        if (m_client)
            SmsDie(m_client);
    }

    int savesDone = 0;
    // The client's properties as it last set them, each its values' bytes.
    QHash<QByteArray, QList<QByteArray>> properties;

private:
    void accept(IceListenObj listener);
    void process();
    void dropConnection();

    static Status newClient(SmsConn client, SmPointer manager, unsigned long *mask, SmsCallbacks *callbacks,
                            char **failure);
    static Status registerClient(SmsConn client, SmPointer manager, char *previousId);
    static void saveYourselfDone(SmsConn client, SmPointer manager, Bool success);
    static void setProperties(SmsConn client, SmPointer manager, int count, SmProp **props);
    static void closeConnection(SmsConn client, SmPointer manager, int count, char **reasons);

    int m_listenerCount = 0;
    IceListenObj *m_listeners = nullptr;
    std::vector<std::unique_ptr<QSocketNotifier>> m_listening;
    QString m_address;
    IceConn m_connection = nullptr;
    std::unique_ptr<QSocketNotifier> m_reading;
    SmsConn m_client = nullptr;
    bool m_registered = false;
    bool m_shutdown = false;
};

Bool anyHost(char *)
{
    return True;
}

QString SessionManager::listen()
{
    char error[256] = {};
    // libICE's default answer to a connection that breaks is to end the whole process; here a
    // client that goes is only dropped (process()).
    IceSetIOErrorHandler([](IceConn) {});
    if (!SmsInitialize("miltoanne-test", "1", newClient, this, anyHost, sizeof error, error))
        return QString::fromLocal8Bit(error);
    _IceTransNoListen("tcp");
    if (!IceListenForConnections(&m_listenerCount, &m_listeners, sizeof error, error))
        return QString::fromLocal8Bit(error);
    for (int i = 0; i < m_listenerCount; ++i) {
        IceListenObj listener = m_listeners[i];
        IceSetHostBasedAuthProc(listener, anyHost);
        auto &notifier = m_listening.emplace_back(
            std::make_unique<QSocketNotifier>(IceGetListenConnectionNumber(listener), QSocketNotifier::Read));
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [this, listener] { accept(listener); });
    }
    char *ids = IceComposeNetworkIdList(m_listenerCount, m_listeners);
    m_address = QString::fromLocal8Bit(ids);
    std::free(ids);
    return {};
}

SessionManager::~SessionManager()
{
    if (m_connection)
        dropConnection();
    m_listening.clear();
    if (m_listeners)
        IceFreeListenObjs(m_listenerCount, m_listeners);
}

void SessionManager::saveYourself(bool shutdown)
{
    m_shutdown = shutdown;
    if (m_client)
        SmsSaveYourself(m_client, SmSaveBoth, shutdown ? True : False, SmInteractStyleNone, False);
}

void SessionManager::accept(IceListenObj listener)
{
    IceAcceptStatus status;
    IceConn connection = IceAcceptConnection(listener, &status);
    if (!connection)
        return;
    if (m_connection) { // one client only
        IceCloseConnection(connection);
        return;
    }
    m_connection = connection;
    m_reading = std::make_unique<QSocketNotifier>(IceConnectionNumber(connection), QSocketNotifier::Read);
    QObject::connect(m_reading.get(), &QSocketNotifier::activated, [this] { process(); });
}

// One message from the client; its callbacks below run inside. A closed or refused connection is
// dropped.
void SessionManager::process()
{
    if (IceProcessMessages(m_connection, nullptr, nullptr) != IceProcessMessagesSuccess ||
        IceConnectionStatus(m_connection) == IceConnectRejected)
        dropConnection();
}

void SessionManager::dropConnection()
{
    m_reading.reset();
    if (m_client)
        SmsCleanUp(m_client);
    m_client = nullptr;
    IceSetShutdownNegotiation(m_connection, False);
    IceCloseConnection(m_connection);
    m_connection = nullptr;
}

Status SessionManager::newClient(SmsConn client, SmPointer manager, unsigned long *mask,
                                 SmsCallbacks *callbacks, char **)
{
    static_cast<SessionManager *>(manager)->m_client = client;
    // Every callback is given; the ones this test does not watch answer as a plain manager would
    // (the property names to delete are a list of texts, freed as reasons are).
    *callbacks = {};
    callbacks->register_client = {registerClient, manager};
    callbacks->interact_request = {[](SmsConn c, SmPointer, int) { SmsInteract(c); }, manager};
    callbacks->interact_done = {[](SmsConn, SmPointer, Bool) {}, manager};
    callbacks->save_yourself_request = {[](SmsConn, SmPointer, int, Bool, int, Bool, Bool) {}, manager};
    callbacks->save_yourself_phase2_request = {[](SmsConn c, SmPointer) { SmsSaveYourselfPhase2(c); },
                                               manager};
    callbacks->save_yourself_done = {saveYourselfDone, manager};
    callbacks->close_connection = {closeConnection, manager};
    callbacks->set_properties = {setProperties, manager};
    callbacks->delete_properties = {
        [](SmsConn, SmPointer, int count, char **names) { SmFreeReasons(count, names); }, manager};
    callbacks->get_properties = {[](SmsConn c, SmPointer) { SmsReturnProperties(c, 0, nullptr); }, manager};
    *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
            SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask | SmsSaveYourselfDoneProcMask |
            SmsCloseConnectionProcMask | SmsSetPropertiesProcMask | SmsDeletePropertiesProcMask |
            SmsGetPropertiesProcMask;
    return 1;
}

Status SessionManager::registerClient(SmsConn client, SmPointer manager, char *previousId)
{
    // Every client is new here: a fresh id, whatever earlier one it names.
    std::free(previousId);
    char *id = SmsGenerateClientID(client);
    const Status ok = id && SmsRegisterClientReply(client, id);
    std::free(id);
    static_cast<SessionManager *>(manager)->m_registered = ok;
    return ok;
}

void SessionManager::saveYourselfDone(SmsConn client, SmPointer manager, Bool)
{
    auto *self = static_cast<SessionManager *>(manager);
    ++self->savesDone;
    // A checkpoint is over once every client is done; the end of the session waits for the die.
    if (!self->m_shutdown)
        SmsSaveComplete(client);
}

void SessionManager::setProperties(SmsConn, SmPointer manager, int count, SmProp **props)
{
    for (int i = 0; i < count; ++i) {
        QList<QByteArray> values;
        for (int v = 0; v < props[i]->num_vals; ++v)
            values << QByteArray(static_cast<const char *>(props[i]->vals[v].value),
                                 props[i]->vals[v].length);
        static_cast<SessionManager *>(manager)->properties.insert(props[i]->name, values);
        SmFreeProperty(props[i]);
    }
    std::free(props);
}

void SessionManager::closeConnection(SmsConn client, SmPointer manager, int count, char **reasons)
{
    SmFreeReasons(count, reasons);
    SmsCleanUp(client);
    static_cast<SessionManager *>(manager)->m_client = nullptr;
}

} // namespace

// The test build of the program on a display of the test's own, in a desktop session whose manager
// is the test's: a checkpoint leaves it running with the session asked never to restart it, and
// the end of the session ends it with its end notice, once. Skipped only where Xvfb cannot run.
class TestSession final : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void savesAndEndsWithTheSession();

private:
    // Declared first, so that it outlives the program it manages.
    std::unique_ptr<SessionManager> m_manager;
    // Its bus is never started: the program runs without one, the session manager all it has of
    // a desktop.
    testkit::BusProgram m_program{u"session-test"_s};
};

void TestSession::initTestCase()
{
    if (const QString skip = m_program.startDisplay(); !skip.isEmpty())
        QSKIP(qPrintable(skip));

    // The manager and the program look up an authority file of the test's own; the user's is none
    // of their business.
    const QString iceAuthority = QDir(m_program.home()).filePath(u"ICEauthority"_s);
    qputenv("ICEAUTHORITY", iceAuthority.toLocal8Bit());
    m_manager = std::make_unique<SessionManager>();
    const QString error = m_manager->listen();
    if (!error.isEmpty())
        QSKIP(qPrintable(u"no session manager can listen here (%1); skipping"_s.arg(error)));

    QVERIFY(m_program.prepare());
    m_program.setEnvironment(u"ICEAUTHORITY"_s, iceAuthority);
    m_program.setEnvironment(u"SESSION_MANAGER"_s, m_manager->address());
}

void TestSession::savesAndEndsWithTheSession()
{
    QVERIFY(m_program.bindPartner());
    // The program registers with the manager while it starts.
    QVERIFY2(m_program.start(), "the program did not start");
    QTRY_VERIFY2_WITH_TIMEOUT(m_manager->registered(),
                              "the program did not register with the session manager", 10000);
    const auto endNotices = [](const QStringList &texts) {
        return std::ranges::count_if(texts, [](const QString &t) { return t.startsWith(u"END送信"_s); });
    };
    // A CARD8: the value's first byte.
    const auto restartHint = [this] {
        return m_manager->properties.value(SmRestartStyleHint).value(0).left(1);
    };

    // A checkpoint: the program saves, asks never to be restarted (the autostart entry starts it),
    // and runs on without a word to its partner.
    m_manager->saveYourself(false);
    QTRY_COMPARE_WITH_TIMEOUT(m_manager->savesDone, 1, 10000);
    QCOMPARE(restartHint(), QByteArray(1, SmRestartNever));
    QVERIFY(!m_program.ask(u"state"_s, u"state"_s).isEmpty());
    QCOMPARE(m_program.process().state(), QProcess::Running);
    QStringList arrived = m_program.arrivals();
    QCOMPARE(endNotices(arrived), 0);

    // The session ends: the last save ends nothing yet; the die ends the program, with its end
    // notice to the partner once.
    m_manager->properties.clear();
    m_manager->saveYourself(true);
    QTRY_COMPARE_WITH_TIMEOUT(m_manager->savesDone, 2, 10000);
    QCOMPARE(restartHint(), QByteArray(1, SmRestartNever));
    QVERIFY(!m_program.ask(u"state"_s, u"state"_s).isEmpty());
    arrived += m_program.arrivals();
    QCOMPARE(endNotices(arrived), 0);
    m_manager->die();
    QVERIFY2(m_program.endsCleanly(), "the program did not end by itself");
    arrived += m_program.arrivals();
    QVERIFY2(endNotices(arrived) == 1, qPrintable(arrived.join(u'|')));
}

QTEST_GUILESS_MAIN(TestSession)
#include "test_session.moc"
