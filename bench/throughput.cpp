#include "throughput.h"

#include "message.h"

#include <QThread>
#include <QUdpSocket>
#include <QVariant>

#include <cmath>
#include <thread>

using namespace Qt::StringLiterals;

namespace bench {
namespace {

constexpr quint16 kPort = 57979;
constexpr int kReceiveBufferBytes = 8 * 1024 * 1024;
constexpr int kDrainMs = 3000;
constexpr int kTriesPerRate = 3;

class AckCounter {
public:
    AckCounter(QUdpSocket &socket, QByteArray ack) : m_socket(socket), m_ack(std::move(ack)) {}

    // Reads what is there without waiting.
    void drain()
    {
        char buffer[2048];
        while (m_socket.hasPendingDatagrams()) {
            const qint64 size = m_socket.readDatagram(buffer, sizeof buffer);
            if (size == m_ack.size() && QByteArrayView(buffer, size) == m_ack) {
                ++count;
                lastAt = Clock::now();
            }
        }
    }

    int count = 0;
    Clock::time_point lastAt;

private:
    QUdpSocket &m_socket;
    QByteArray m_ack;
};

Burst burst(QUdpSocket &socket, const QByteArray &datagram, const QByteArray &ack, int rate, int burstMs,
            qint64 copyPid)
{
    Burst b;
    const qint64 cpuBefore = cpuNanos(copyPid);
    b.offeredPerSecond = rate;
    const int total = static_cast<int>(std::lround(static_cast<double>(rate) * burstMs / 1000.0));
    const QHostAddress to(u"127.0.0.3"_s);
    AckCounter acks(socket, ack);
    // Sent in slices of a millisecond and asleep in between, so that the sender leaves the
    // processor to the copy; within a slice the datagrams go back to back.
    const Clock::time_point start = Clock::now();
    int attempted = 0; // a datagram the system refused is not counted as sent, nor expected back
    for (int slice = 1; attempted < total; ++slice) {
        const auto due = std::min<qint64>(total, std::llround(static_cast<double>(rate) * slice / 1000.0));
        for (; attempted < due; ++attempted) {
            if (socket.writeDatagram(datagram, to, kPort) == datagram.size())
                ++b.sent;
        }
        acks.drain();
        std::this_thread::sleep_until(start + std::chrono::milliseconds(slice));
    }
    const Clock::time_point sentAll = Clock::now();
    b.sentPerSecond = b.sent / std::chrono::duration<double>(sentAll - start).count();
    const auto deadline = sentAll + std::chrono::milliseconds(kDrainMs);
    while (acks.count < b.sent && Clock::now() < deadline) {
        if (!socket.waitForReadyRead(50))
            continue;
        acks.drain();
    }
    acks.drain();
    b.acknowledged = acks.count;
    const qint64 cpuAfter = cpuNanos(copyPid);
    if (acks.count > 0 && cpuBefore >= 0 && cpuAfter >= cpuBefore)
        b.copyCpuUs = static_cast<double>(cpuAfter - cpuBefore) / 1000.0 / acks.count;
    if (acks.count > 0)
        b.ackedPerSecond = acks.count / std::chrono::duration<double>(acks.lastAt - start).count();
    return b;
}

} // namespace

bool Burst::clean() const
{
    // Answers may trail the last send by one slot and the path; a copy that falls behind shows as
    // an answer rate under the offered one.
    return sent > 0 && acknowledged == sent && ackedPerSecond >= 0.95 * offeredPerSecond &&
           sentPerSecond >= 0.95 * offeredPerSecond;
}

Throughput measureThroughput(const Programs &programs, const std::vector<int> &rates, int burstMs)
{
    Throughput result;
    Helper bob;
    if (!bob.start(programs.peer, {u"copy"_s, u"127.0.0.3"_s, u"127.0.0.2"_s, u"300"_s}, result.error))
        return result;
    QUdpSocket socket;
    if (!socket.bind(QHostAddress(u"127.0.0.2"_s), kPort, QAbstractSocket::DontShareAddress)) {
        result.error = u"cannot bind 127.0.0.2:57979: "_s + socket.errorString();
        return result;
    }
    socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(kReceiveBufferBytes));
    const QByteArray datagram = messageDatagram(u"alice"_s);
    const QByteArray ack = deliveredDatagram();
    // The copy's start notice and anything else still on the way.
    QThread::msleep(200);
    AckCounter(socket, ack).drain();

    // A rate counts once one of its tries is clean: on a shared machine another program may take
    // the copy's core for a moment, which says nothing of what the copy can do.
    for (int rate : rates) {
        bool clean = false;
        for (int attempt = 0; attempt < kTriesPerRate && !clean; ++attempt) {
            const Burst b = burst(socket, datagram, ack, rate, burstMs, bob.pid());
            result.bursts.push_back(b);
            clean = b.clean();
            // Let the copy empty its queue before the next burst.
            QThread::msleep(300);
            AckCounter(socket, ack).drain();
        }
        if (!clean)
            break;
        result.bestPerSecond = rate;
    }
    return result;
}

} // namespace bench
