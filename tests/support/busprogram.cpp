#include "support/busprogram.h"

#include "base/text/cp932.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QNetworkDatagram>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

namespace testkit {
namespace {

// Starts a helper that prints one line once it is ready (an address, a display number) and
// returns that line, or an empty text when the helper could not start.
QString startPrinting(QProcess &process, const QString &program, const QStringList &arguments)
{
    process.start(program, arguments);
    if (!process.waitForStarted(5000))
        return {};
    QDeadlineTimer deadline(10000);
    while (!process.canReadLine() && !deadline.hasExpired() && process.state() == QProcess::Running)
        process.waitForReadyRead(100);
    return QString::fromLocal8Bit(process.readLine()).trimmed();
}

void stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

QString notRunning(const QString &what, QProcess &process)
{
    return QStringLiteral("%1 does not run here (%2); skipping")
        .arg(what, QString::fromLocal8Bit(process.readAllStandardError()).trimmed());
}

} // namespace

BusProgram::BusProgram(const QString &connectionName) : m_connectionName(connectionName) {}

BusProgram::~BusProgram()
{
    stop(m_program);
    QDBusConnection::disconnectFromBus(m_connectionName);
    stop(m_bus);
    stop(m_display);
}

QString BusProgram::startDisplay()
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty())
        return QStringLiteral("Xvfb is not installed (make deps installs it); skipping");
    // Xvfb picks a free display itself and says which once it accepts clients; no TCP port.
    m_displayNumber =
        startPrinting(m_display, xvfb,
                      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                       QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                       QStringLiteral("800x600x24")});
    return m_displayNumber.isEmpty() ? notRunning(QStringLiteral("Xvfb"), m_display) : QString();
}

QString BusProgram::startBus()
{
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty() || !m_dir.isValid())
        return QStringLiteral("dbus-daemon is not installed (make deps installs it); skipping");
    // It listens in the test's folder and lets everyone on it call and own anything.
    const QString config = QDir(m_dir.path()).filePath(QStringLiteral("bus.conf"));
    QFile conf(config);
    if (!conf.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write the bus configuration; skipping");
    conf.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
               " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
               "<busconfig><type>session</type><listen>unix:dir=" +
               m_dir.path().toUtf8() +
               "</listen><auth>EXTERNAL</auth><policy context=\"default\"><allow send_destination=\"*\"/>"
               "<allow receive_sender=\"*\"/><allow own=\"*\"/></policy></busconfig>\n");
    conf.close();
    m_busAddress = startPrinting(m_bus, daemon,
                                 {QStringLiteral("--config-file=") + config,
                                  QStringLiteral("--print-address"), QStringLiteral("--nofork")});
    if (m_busAddress.isEmpty())
        return notRunning(QStringLiteral("dbus-daemon"), m_bus);
    if (!QDBusConnection::connectToBus(m_busAddress, m_connectionName).isConnected())
        return QStringLiteral("cannot connect to the test's own bus; skipping");
    return {};
}

QString BusProgram::home() const
{
    return QDir(m_dir.path()).filePath(QStringLiteral("home"));
}

bool BusProgram::prepare()
{
    const QString built = qEnvironmentVariable("MILTOANNE_TESTABLE_EXE");
    if (!QFile::exists(built)) {
        qWarning("MILTOANNE_TESTABLE_EXE must name the test build of the program");
        return false;
    }
    const QString exe = QDir(m_dir.path()).filePath(QStringLiteral("miltoanne"));
    const QByteArray adrFile = "\"adrFile\"\r\n\"partner\",\"" + kPartnerAddress.toLatin1() + "\"\r\n";
    QFile adr(QDir(m_dir.path()).filePath(QStringLiteral("adrFile.dat")));
    if (!QFile::copy(built, exe) || !adr.open(QIODevice::WriteOnly) || adr.write(adrFile) != adrFile.size() ||
        !adr.flush())
        return false;
    adr.close();
    // Owner-only, as a runtime folder must be.
    if (!QDir().mkpath(home()) ||
        !QFile::setPermissions(home(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return false;
    m_program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    return true;
}

void BusProgram::useWayland(const QString &runtimeDir, const QString &display)
{
    setEnvironment(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    setEnvironment(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    setEnvironment(QStringLiteral("WAYLAND_DISPLAY"), display);
}

bool BusProgram::start()
{
    QProcessEnvironment env;
    for (const auto &[name, value] :
         {std::pair{QStringLiteral("PATH"), qEnvironmentVariable("PATH")},
          {QStringLiteral("HOME"), home()},
          {QStringLiteral("XDG_RUNTIME_DIR"), home()},
          {QStringLiteral("XDG_CONFIG_HOME"), home()},
          {QStringLiteral("XDG_CACHE_HOME"), home()},
          {QStringLiteral("XDG_DATA_HOME"), home()},
          {QStringLiteral("XAUTHORITY"), QDir(home()).filePath(QStringLiteral("Xauthority"))},
          {QStringLiteral("MILTOANNE_TEST_ADDRESS"), kProgramAddress},
          // Where the program is built with LeakSanitizer, it passes over what system libraries keep
          // (found by a full unwind: Mesa's drivers are gone from memory by the time it reports).
          {QStringLiteral("LSAN_OPTIONS"),
           QStringLiteral("fast_unwind_on_malloc=0:suppressions=" MILTOANNE_LSAN_SUPPRESSIONS)}})
        env.insert(name, value);
    if (!m_busAddress.isEmpty())
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_busAddress);
    if (m_displayNumber.isEmpty()) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    } else {
        env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":") + m_displayNumber);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    }
    env.insert(m_extra);
    m_program.setProcessEnvironment(env);
    m_program.start(QDir(m_dir.path()).filePath(QStringLiteral("miltoanne")), {});
    return m_program.waitForStarted() && !ask(QString(), QStringLiteral("ready")).isEmpty();
}

bool BusProgram::endsCleanly()
{
    QDeadlineTimer deadline(10000);
    while (m_program.state() != QProcess::NotRunning && !deadline.hasExpired())
        QTest::qWait(20);
    return m_program.state() == QProcess::NotRunning && m_program.exitStatus() == QProcess::NormalExit &&
           m_program.exitCode() == 0;
}

void BusProgram::command(const QString &line)
{
    m_program.write(line.toUtf8() + '\n');
    m_program.waitForBytesWritten(3000);
}

QString BusProgram::ask(const QString &line, const QString &prefix)
{
    const QRegularExpression starts(QStringLiteral("^") + QRegularExpression::escape(prefix));
    const auto count = [&] { return m_output.split(u'\n').filter(starts).size(); };
    const qsizetype before = count();
    command(line);
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && count() == before) {
        QTest::qWait(20);
        m_output += QString::fromUtf8(m_program.readAllStandardOutput());
    }
    const QStringList found = m_output.split(u'\n').filter(starts);
    return found.size() > before ? found.at(before) : QString();
}

bool BusProgram::bindPartner()
{
    return m_partner.bind(QHostAddress(kPartnerAddress), 57979, QAbstractSocket::DontShareAddress);
}

QStringList BusProgram::arrivals()
{
    QStringList texts;
    while (m_partner.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_partner.receiveDatagram();
        const QString text = text::fromCp932(datagram.data());
        texts << (datagram.senderAddress() == QHostAddress(kProgramAddress)
                      ? text
                      : datagram.senderAddress().toString() + QStringLiteral(": ") + text);
    }
    return texts;
}

} // namespace testkit
