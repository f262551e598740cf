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
const QString kSealedSender = u"127.0.0.6"_s;
const QString kSealedAnswerer = u"127.0.0.7"_s;
// Any code does: both sealed copies are given the same one.
const QString kPairCode = u"2026-1209-0000-5797-9000"_s;

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

// A copy in this process that sends as alice to `partner`, and its send button in a Pinger. The
// answer is in once the copy has handled it: its "送信" marked the message delivered, and the
// handler of the datagram that brought it returned. The copy's own handler was connected first,
// so the time includes it.
struct Sender {
    Sender(const QString &address, const QString &partner) : copy(address)
    {
        copy.writePartner(u"bob"_s, partner);
        copy.writeOptions([](core::Options &opt) { opt.userName = u"alice"_s; });
    }
    bool start(const QString &code, Pinger &pinger, double &sendingUs, QString &why)
    {
        if (!copy.start() || (!code.isEmpty() && !copy.copy->pairing().pairWith(code))) {
            why = u"the sending copy did not start (or pair) on "_s + copy.address();
            return false;
        }
        pinger.send = [this, &sendingUs] {
            // What the compose window does when the send button is pressed.
            const Clock::time_point pressed = Clock::now();
            copy.compose().window().edit([&](send::ComposeView &v) { v.message = messageText(); });
            copy.copy->compose().send();
            sendingUs += microsBetween(pressed, Clock::now());
        };
        QObject::connect(&copy.copy->sending(), &protocol::Sending::delivered, copy.transport.get(),
                         [this] { delivered = true; });
        QObject::connect(copy.transport.get(), &platform::Transport::datagramArrived, copy.transport.get(),
                         [this, &pinger] {
                             if (!delivered)
                                 return;
                             delivered = false;
                             pinger.answeredAt = Clock::now();
                             pinger.answered = true;
                         });
        return true;
    }
    testkit::TestCopy copy;
    bool delivered = false;
};

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

    // Two copies: this process sends as alice, the helper answers as bob; and two more, paired.
    Helper bob;
    if (!bob.start(programs.peer, {u"copy"_s, kAnswerer, kSender, u"300"_s}, result.error, answerer))
        return result;
    Helper sealedBob;
    if (!sealedBob.start(programs.peer, {u"copy"_s, kSealedAnswerer, kSealedSender, u"300"_s, kPairCode},
                         result.error, answerer))
        return result;
    double sendingUs = 0;
    double sealedSendingUs = 0;
    Pinger copies{{}, false, {}, &result.copyUs, &result.copyLost};
    Pinger sealed{{}, false, {}, &result.sealedUs, &result.sealedLost};
    Sender alice(kSender, kAnswerer);
    Sender sealedAlice(kSealedSender, kSealedAnswerer);
    if (!alice.start({}, copies, sendingUs, result.error) ||
        !sealedAlice.start(kPairCode, sealed, sealedSendingUs, result.error))
        return result;

    EventWaiter waiter;
    result.echoUs.reserve(static_cast<std::size_t>(messages));
    result.copyUs.reserve(static_cast<std::size_t>(messages));
    result.sealedUs.reserve(static_cast<std::size_t>(messages));
    for (Pinger *p : {&bare, &copies, &sealed})
        pingBlock(*p, waiter, warmUp, false);
    for (int done = 0; done < messages; done += kBlock) {
        const int count = std::min(kBlock, messages - done);
        for (Pinger *p : {&bare, &copies, &sealed})
            pingBlock(*p, waiter, count, true);
    }
    result.sendUs = sendingUs / (messages + warmUp);
    result.sealedSendUs = sealedSendingUs / (messages + warmUp);
    return result;
}

} // namespace bench
