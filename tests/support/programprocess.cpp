#include "support/programprocess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace testkit {

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

QString startDisplay(QProcess &display, QString &why)
{
    const QString xvfb = QStandardPaths::findExecutable(u"Xvfb"_s);
    if (xvfb.isEmpty()) {
        why = u"Xvfb is not installed (make deps installs it)"_s;
        return {};
    }
    // Xvfb picks a free display itself and says which once it accepts clients; no TCP port.
    const QString number = startPrinting(
        display, xvfb,
        {u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s, u"-screen"_s, u"0"_s, u"800x600x24"_s});
    if (number.isEmpty())
        why = u"Xvfb does not run here (%1)"_s.arg(
            QString::fromLocal8Bit(display.readAllStandardError()).trimmed());
    return number;
}

QString installProgram(const QString &folder, const QString &partner)
{
    const QString built = qEnvironmentVariable("MILTOANNE_TESTABLE_EXE");
    const QString exe = QDir(folder).filePath(u"miltoanne"_s);
    if (!QFile::exists(built) || !QFile::copy(built, exe))
        return {};
    const QByteArray adrFile = "\"adrFile\"\r\n\"partner\",\"" + partner.toLatin1() + "\"\r\n";
    QFile adr(QDir(folder).filePath(u"adrFile.dat"_s));
    if (!adr.open(QIODevice::WriteOnly) || adr.write(adrFile) != adrFile.size() || !adr.flush())
        return {};
    return exe;
}

QProcessEnvironment programEnvironment(const QString &folder, const QString &display, const QString &address)
{
    QProcessEnvironment env;
    const QString home = QDir(folder).filePath(u"home"_s);
    // Owner-only, as a runtime folder must be.
    if (!QDir().mkpath(home) ||
        !QFile::setPermissions(home, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return env;
    for (const auto &[name, value] : {std::pair{u"PATH"_s, qEnvironmentVariable("PATH")},
                                      {u"HOME"_s, home},
                                      {u"XDG_RUNTIME_DIR"_s, home},
                                      {u"XDG_CONFIG_HOME"_s, home},
                                      {u"XDG_CACHE_HOME"_s, home},
                                      {u"XDG_DATA_HOME"_s, home},
                                      {u"XAUTHORITY"_s, QDir(home).filePath(u"Xauthority"_s)},
                                      {u"DISPLAY"_s, u":"_s + display},
                                      {u"QT_QPA_PLATFORM"_s, u"xcb"_s},
                                      {u"MILTOANNE_TEST_ADDRESS"_s, address}})
        env.insert(name, value);
    return env;
}

void ProgramControl::command(const QString &line)
{
    m_program.write(line.toUtf8() + '\n');
    m_program.waitForBytesWritten(3000);
}

QString ProgramControl::ask(const QString &line, const QString &prefix)
{
    const auto found = [&] { return m_output.split(u'\n').filter(QRegularExpression(u"^"_s + prefix)); };
    const qsizetype before = found().size();
    command(line);
    QDeadlineTimer deadline(10000);
    // The test's own services (a bus, a session manager) answer the program while it works.
    while (!deadline.hasExpired() && found().size() == before) {
        QTest::qWait(20);
        m_output += QString::fromUtf8(m_program.readAllStandardOutput());
    }
    const QStringList lines = found();
    return lines.size() > before ? lines.at(before) : QString();
}

} // namespace testkit
