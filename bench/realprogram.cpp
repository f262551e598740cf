#include "realprogram.h"

#include "message.h"

#include "base/protocol/tags.h"
#include "base/protocol/wire.h"
#include "base/text/cp932.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QUdpSocket>
#include <QVariant>

#include <csignal>

using namespace Qt::StringLiterals;

namespace bench {
namespace {

constexpr quint16 kPort = 57979;
constexpr int kNoticeTimeoutMs = 15000;
constexpr int kWindow = 64; // messages on the way at once when loading the program

// A program directory holding a copy of the executable and an address file for 127.0.0.9.
class ProgramDir {
public:
    bool prepare(const QString &built, QString &why)
    {
        if (!m_dir.isValid()) {
            why = u"no temporary directory"_s;
            return false;
        }
        exe = QDir(m_dir.path()).filePath(u"miltoanne"_s);
        if (!QFile::copy(built, exe)) {
            why = u"cannot copy "_s + built;
            return false;
        }
        return reset(why);
    }

    // Leaves the executable and the address file alone in the directory, as before a first start.
    bool reset(QString &why)
    {
        QDir dir(m_dir.path());
        for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
            if (name != u"miltoanne")
                dir.remove(name);
        }
        QFile file(dir.filePath(u"adrFile.dat"_s));
        const QByteArray bytes = "\"adrFile\"\r\n\"bench\",\"127.0.0.9\"\r\n";
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            why = u"cannot write adrFile.dat"_s;
            return false;
        }
        return true;
    }

    QString exe;

private:
    QTemporaryDir m_dir;
};

QProcessEnvironment offscreen()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    return env;
}

// Qt's notes about the offscreen platform would only clutter the figures.
void quiet(QProcess &program)
{
    program.setStandardOutputFile(QProcess::nullDevice());
    program.setStandardErrorFile(QProcess::nullDevice());
}

bool bindListener(QUdpSocket &listener, quint16 listenPort, QString &why)
{
    if (listener.bind(QHostAddress(u"127.0.0.9"_s), listenPort, QAbstractSocket::DontShareAddress))
        return true;
    why = u"cannot listen on 127.0.0.9:"_s + QString::number(listenPort) + u": "_s + listener.errorString();
    return false;
}

void discardPending(QUdpSocket &socket)
{
    while (socket.hasPendingDatagrams())
        socket.readDatagram(nullptr, 0);
}

// Starts the program and waits for its first datagram. The time in ms, or a negative number.
double startProgram(QProcess &program, const QString &exe, QUdpSocket &listener)
{
    discardPending(listener);
    program.setProcessEnvironment(offscreen());
    quiet(program);
    const Clock::time_point started = Clock::now();
    program.start(exe, {});
    if (!program.waitForStarted(5000))
        return -1;
    if (!listener.hasPendingDatagrams() && !listener.waitForReadyRead(kNoticeTimeoutMs))
        return -1;
    return microsBetween(started, Clock::now()) / 1000.0;
}

bool endProgram(QProcess &program)
{
    if (program.state() == QProcess::NotRunning)
        return true;
    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    if (program.waitForFinished(5000))
        return true;
    program.kill();
    program.waitForFinished(3000);
    return false;
}

double runBare(const QString &bare)
{
    QProcess program;
    program.setProcessEnvironment(offscreen());
    quiet(program);
    const Clock::time_point started = Clock::now();
    program.start(bare, {});
    if (!program.waitForFinished(kNoticeTimeoutMs) || program.exitCode() != 0)
        return -1;
    return microsBetween(started, Clock::now()) / 1000.0;
}

// The program from a fresh directory, with the partner's listener ready for its answers.
bool startFresh(const Programs &programs, quint16 listenPort, ProgramDir &dir, QUdpSocket &listener,
                QProcess &program, QString &why)
{
    if (!dir.prepare(programs.program, why) || !bindListener(listener, listenPort, why))
        return false;
    listener.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(8 * 1024 * 1024));
    if (startProgram(program, dir.exe, listener) >= 0)
        return true;
    endProgram(program);
    why = u"no start notice from the program within 15 s"_s;
    return false;
}

} // namespace

StartUp measureStartUp(const Programs &programs, quint16 listenPort, int runs)
{
    StartUp result;
    ProgramDir dir;
    QUdpSocket listener;
    if (!dir.prepare(programs.program, result.error) || !bindListener(listener, listenPort, result.error))
        return result;
    // One unmeasured run of each first (files into the page cache), then the two take turns.
    for (int run = -1; run < runs; ++run) {
        if (!dir.reset(result.error))
            return result;
        QProcess program;
        const double programMs = startProgram(program, dir.exe, listener);
        const bool ended = endProgram(program);
        if (programMs < 0) {
            result.error = u"no start notice from the program within 15 s"_s;
            return result;
        }
        if (!ended) {
            result.error = u"the program did not end on SIGTERM"_s;
            return result;
        }
        const double bareMs = runBare(programs.bare);
        if (bareMs < 0) {
            result.error = u"the bare widgets program failed"_s;
            return result;
        }
        if (run >= 0) {
            result.programMs.push_back(programMs);
            result.bareMs.push_back(bareMs);
        }
    }
    return result;
}

// Sleeps `seconds` and reports the CPU time and the context switches of the process meanwhile.
void watchIdle(qint64 pid, int seconds, double &elapsed, double &cpuMs, qint64 &wakeUps)
{
    const qint64 ticksBefore = cpuTicks(pid);
    const qint64 switchesBefore = contextSwitches(pid);
    const Clock::time_point start = Clock::now();
    QThread::sleep(static_cast<unsigned long>(seconds));
    elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    const qint64 ticksAfter = cpuTicks(pid);
    const qint64 switchesAfter = contextSwitches(pid);
    if (ticksBefore < 0 || ticksAfter < 0)
        return;
    cpuMs = static_cast<double>(ticksAfter - ticksBefore) * 1000.0 / static_cast<double>(ticksPerSecond());
    wakeUps = switchesAfter - switchesBefore;
}

Resources measureResources(const Programs &programs, quint16 listenPort, int messages, int idleSeconds,
                           int waitingSeconds)
{
    Resources result;
    ProgramDir dir;
    QUdpSocket listener;
    QProcess program;
    if (!startFresh(programs, listenPort, dir, listener, program, result.error))
        return result;
    const qint64 pid = program.processId();
    QThread::msleep(1000); // let start-up settle
    discardPending(listener);
    result.rssAfterStartKb = residentKb(pid);

    // Idle: nothing waits, nothing blinks, no window is open.
    watchIdle(pid, idleSeconds, result.idleSeconds, result.idleCpuMs, result.idleWakeUps);

    // Messages from the partner, a window of them on the way at once, each answered with "送信".
    QUdpSocket partner;
    partner.bind(QHostAddress(u"127.0.0.9"_s), 0, QAbstractSocket::DontShareAddress);
    const QByteArray datagram = messageDatagram(u"bench"_s);
    const QByteArray ack = deliveredDatagram();
    const QHostAddress to(u"127.0.0.1"_s);
    const Clock::time_point loadStart = Clock::now();
    const auto deadline = loadStart + std::chrono::seconds(120);
    auto lastProgress = Clock::now();
    char buffer[2048];
    while (result.messagesAcknowledged + result.messagesLost < messages && Clock::now() < deadline) {
        while (result.messagesSent < messages &&
               result.messagesSent - result.messagesAcknowledged - result.messagesLost < kWindow) {
            if (partner.writeDatagram(datagram, to, kPort) == datagram.size())
                ++result.messagesSent;
        }
        if (listener.waitForReadyRead(100)) {
            while (listener.hasPendingDatagrams()) {
                const qint64 size = listener.readDatagram(buffer, sizeof buffer);
                if (QByteArrayView(buffer, std::max<qint64>(size, 0)) == ack) {
                    ++result.messagesAcknowledged;
                    lastProgress = Clock::now();
                }
            }
        } else if (Clock::now() - lastProgress > std::chrono::seconds(2)) {
            // Answers stopped: count the rest of the window as lost and send on.
            result.messagesLost = result.messagesSent - result.messagesAcknowledged;
            lastProgress = Clock::now();
        }
        if (program.state() != QProcess::Running)
            break;
    }
    result.messagesSeconds = std::chrono::duration<double>(Clock::now() - loadStart).count();
    QThread::msleep(1000);
    result.rssAfterMessagesKb = residentKb(pid);
    watchIdle(pid, waitingSeconds, result.waitingSeconds, result.waitingCpuMs, result.waitingWakeUps);
    if (!endProgram(program))
        result.error = u"the program did not end on SIGTERM"_s;
    return result;
}

namespace {

// Waits up to `ms` for a datagram on `listener` that starts with `head`; the others are dropped.
bool awaitDatagram(QUdpSocket &listener, const QByteArray &head, int ms)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    char buffer[2048];
    while (Clock::now() < deadline) {
        while (listener.hasPendingDatagrams()) {
            const qint64 size = listener.readDatagram(buffer, sizeof buffer);
            if (size >= head.size() && QByteArrayView(buffer, head.size()) == head)
                return true;
        }
        listener.waitForReadyRead(10);
    }
    return false;
}

QByteArray tagged(protocol::Kind kind, const QString &rest = {})
{
    return text::toCp932(protocol::tagOf(kind) + rest);
}

} // namespace

Floods measureFloods(const Programs &programs, quint16 listenPort, int largeMessages, int smallPerRound)
{
    using protocol::Kind;
    Floods result;
    ProgramDir dir;
    QUdpSocket listener;
    QProcess program;
    if (!startFresh(programs, listenPort, dir, listener, program, result.error))
        return result;
    const qint64 pid = program.processId();
    const QHostAddress to(u"127.0.0.1"_s);
    QUdpSocket partner;
    QUdpSocket stranger;
    partner.bind(QHostAddress(u"127.0.0.9"_s), 0, QAbstractSocket::DontShareAddress);
    stranger.bind(QHostAddress(u"127.0.0.5"_s), 0, QAbstractSocket::DontShareAddress);
    QThread::msleep(500);
    discardPending(listener);
    // The partner's message waits unread, so every message of the flood waits behind it, joined
    // into one as the window joins a person's messages.
    partner.writeDatagram(messageDatagram(u"bench"_s), to, kPort);
    if (!awaitDatagram(listener, deliveredDatagram(), 2000)) {
        endProgram(program);
        result.error = u"the partner's message was not acknowledged"_s;
        return result;
    }
    QThread::msleep(500);
    result.rssBeforeKb = residentKb(pid);

    const protocol::MessageHead head = protocol::messageHead(u"flood"_s, QTime(9, 5, 0));
    const QString headText = protocol::ordinaryMessage(head, QString());
    const QByteArray large =
        text::toCp932(headText + QString(protocol::kMaxDatagramBytes - headText.size(), u'x'));
    const QByteArray check = tagged(Kind::PresenceRequest);
    const QByteArray answer = tagged(Kind::PresenceOk);
    // The partner checks after every 50 messages of the flood.
    for (int sent = 0; sent < largeMessages; ++sent) {
        stranger.writeDatagram(large, to, kPort);
        ++result.largeSent;
        if (sent % 50 != 49)
            continue;
        const Clock::time_point asked = Clock::now();
        partner.writeDatagram(check, to, kPort);
        if (awaitDatagram(listener, answer, 1000))
            result.answerMs.push_back(microsBetween(asked, Clock::now()) / 1000.0);
        else
            ++result.unanswered;
    }
    QThread::msleep(1000);
    result.rssAfterLargeKb = residentKb(pid);

    // Small datagrams of every kind, from the stranger.
    const std::vector<QByteArray> small{
        messageDatagram(u"flood"_s),
        tagged(Kind::Delivered),
        tagged(Kind::Refused),
        tagged(Kind::Opened),
        tagged(Kind::Held),
        tagged(Kind::Discarded),
        tagged(Kind::PresenceRequest),
        tagged(Kind::PresenceOk, u"10:00"_s),
        text::toCp932(protocol::startNoticeText(u"10:00"_s)),
        tagged(Kind::SearchRequest),
        tagged(Kind::SearchResult, u"flood"_s),
    };
    result.smallPerRound = smallPerRound;
    for (qint64 *after : {&result.rssAfterSmall1Kb, &result.rssAfterSmall2Kb}) {
        for (int i = 0; i < smallPerRound; ++i) {
            stranger.writeDatagram(small[static_cast<std::size_t>(i) % small.size()], to, kPort);
            if (i % 500 == 499)
                QThread::usleep(500); // a pace the program keeps up with, so that each one counts
        }
        QThread::msleep(1000);
        discardPending(listener);
        *after = residentKb(pid);
    }

    // The end, right behind a flood.
    for (int i = 0; i < 200; ++i)
        stranger.writeDatagram(large, to, kPort);
    const Clock::time_point asked = Clock::now();
    const bool ended = endProgram(program);
    result.endMs = microsBetween(asked, Clock::now()) / 1000.0;
    if (!ended)
        result.error = u"the program did not end on SIGTERM"_s;
    return result;
}

} // namespace bench
