#include "roundtrip.h"

#include "message.h"
#include "support/testcopy.h"

#include <QUdpSocket>

#include <functional>

using namespace Qt::StringLiterals;

namespace bench {
namespace {

constexpr quint16 kPort = 57979;
constexpr int kReplyTimeoutMs = 1000;
constexpr int kBlock = 50; // messages of one kind before the other kind has its turn
const QString kSender = u"127.0.0.2"_s;
const QString kAnswerer = u"127.0.0.3"_s;
const QString kEcho = u"127.0.0.4"_s;
const QString kEchoClient = u"127.0.0.5"_s;

// One way of sending a message and learning that its answer is in.
struct Pinger {
    std::function<void()> send;
    bool answered = false;
    Clock::time_point answeredAt;
    std::vector<double> *samples = nullptr;
    int *lost = nullptr;
};

// One message after the other: the next is sent when the answer to the last is in (or lost).
void pingBlock(Pinger &p, EventWaiter &waiter, int count, bool keep)
{
    for (int i = 0; i < count; ++i) {
        p.answered = false;
        const Clock::time_point sentAt = Clock::now();
        p.send();
        if (!waiter.until([&] { return p.answered; }, kReplyTimeoutMs))
            ++*p.lost;
        else if (keep)
            p.samples->push_back(microsBetween(sentAt, p.answeredAt));
    }
}

} // namespace

RoundTrip measureRoundTrip(const Programs &programs, int messages, int warmUp, int answerer)
{
    RoundTrip result;
    result.separate = answerer != 0;
    result.placement =
        result.separate ? u"each side on a processor of its own"_s : u"both sides on one processor"_s;
    // Where the system places the processes changes the time of every wake-up several-fold; pinned,
    // the echo and the copies meet the same placement.
    struct Pin {
        Pin() { runOnProcessor(0); }
        ~Pin() { runOnProcessor(-1); }
    } pin;
    result.datagramBytes = static_cast<int>(messageDatagram(u"alice"_s).size());

    // The bare echo: a socket that sends every datagram straight back.
    Helper echo;
    if (!echo.start(programs.peer, {u"echo"_s, kEcho, u"300"_s}, result.error, answerer))
        return result;
    QUdpSocket echoClient;
    if (!echoClient.bind(QHostAddress(kEchoClient), kPort, QAbstractSocket::DontShareAddress)) {
        result.error = u"cannot bind "_s + kEchoClient + u":57979: "_s + echoClient.errorString();
        return result;
    }
    const QByteArray datagram = messageDatagram(u"alice"_s);
    const QHostAddress echoAddress(kEcho);
    Pinger bare{[&] { echoClient.writeDatagram(datagram, echoAddress, kPort); },
                false,
                {},
                &result.echoUs,
                &result.echoLost};
    QObject::connect(&echoClient, &QUdpSocket::readyRead, &echoClient, [&] {
        char buffer[2048];
        while (echoClient.hasPendingDatagrams()) {
            echoClient.readDatagram(buffer, sizeof buffer);
            bare.answeredAt = Clock::now();
            bare.answered = true;
        }
    });

    // Two copies: this process sends as alice, the helper answers as bob.
    Helper bob;
    if (!bob.start(programs.peer, {u"copy"_s, kAnswerer, kSender, u"300"_s}, result.error, answerer))
        return result;
    testkit::TestCopy alice(kSender);
    alice.writePartner(u"bob"_s, kAnswerer);
    alice.writeOptions([](core::Options &opt) { opt.userName = u"alice"_s; });
    if (!alice.start()) {
        result.error = u"the sending copy did not start on "_s + kSender;
        return result;
    }
    const QString text = messageText();
    double sendingUs = 0;
    Pinger copies{[&] {
                      // What the compose window does when the send button is pressed.
                      const Clock::time_point pressed = Clock::now();
                      alice.compose().window().edit([&](send::ComposeView &v) { v.message = text; });
                      alice.copy->compose().send();
                      sendingUs += microsBetween(pressed, Clock::now());
                  },
                  false,
                  {},
                  &result.copyUs,
                  &result.copyLost};
    const QByteArray ack = deliveredDatagram();
    // Connected after the copy's own handler: the time includes the copy handling its "送信".
    QObject::connect(alice.transport.get(), &platform::Transport::datagramArrived, alice.transport.get(),
                     [&](const QByteArray &bytes, const QString &) {
                         if (bytes == ack) {
                             copies.answeredAt = Clock::now();
                             copies.answered = true;
                         }
                     });

    EventWaiter waiter;
    result.echoUs.reserve(static_cast<std::size_t>(messages));
    result.copyUs.reserve(static_cast<std::size_t>(messages));
    pingBlock(bare, waiter, warmUp, false);
    pingBlock(copies, waiter, warmUp, false);
    for (int done = 0; done < messages; done += kBlock) {
        const int count = std::min(kBlock, messages - done);
        pingBlock(bare, waiter, count, true);
        pingBlock(copies, waiter, count, true);
    }
    result.sendUs = sendingUs / (messages + warmUp);
    return result;
}

} // namespace bench
