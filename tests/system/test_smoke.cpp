#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

#include <csignal>

using namespace Qt::StringLiterals;

// The real executable, offscreen, from a program directory of its own: it starts, holds port
// 57979, and ends on SIGTERM through its end path.
class TestSmoke final : public QObject {
    Q_OBJECT
private slots:
    void startsBindsAndEndsOnSigterm();
};

namespace {
bool portTaken()
{
    QUdpSocket probe;
    const bool bound = probe.bind(QHostAddress(u"127.0.0.1"_s), 57979, QAbstractSocket::DontShareAddress);
    return !bound && probe.error() == QAbstractSocket::AddressInUseError;
}
} // namespace

void TestSmoke::startsBindsAndEndsOnSigterm()
{
    const QString built = qEnvironmentVariable("MILTOANNE_EXE");
    QVERIFY2(QFile::exists(built), "MILTOANNE_EXE must name the built program");
    QTemporaryDir dir;
    const QString exe = QDir(dir.path()).filePath(u"miltoanne"_s);
    QVERIFY(QFile::copy(built, exe));
    QVERIFY(!portTaken());

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    program.setProcessEnvironment(env);
    program.start(exe, {});
    QVERIFY(program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(portTaken(), 15000);
    QCOMPARE(program.state(), QProcess::Running);

    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    QVERIFY(program.waitForFinished(5000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(!portTaken());
}

QTEST_GUILESS_MAIN(TestSmoke)
#include "test_smoke.moc"
