#include "roundtrip.h"

#include "freshsocket.h"
#include "message.h"
#include "support/testcopy.h"

#include <QUdpSocket>

using namespace Qt::StringLiterals;

namespace bench {
namespace {

constexpr quint16 kPort = 57979;
constexpr int kReplyTimeoutMs = 1000;
const QString kSender = u"127.0.0.2"_s;
const QString kAnswerer = u"127.0.0.3"_s;

// One message after the other: the next is sent when the answer to the last is in (or lost).
template <typename Send>
void pingPong(int total, int warmUp, bool &answered, Clock::time_point &answeredAt, Send &&send,
              std::vector<double> &samples, int &lost)
{
    EventWaiter waiter;
    samples.reserve(static_cast<std::size_t>(total));
    for (int i = 0; i < warmUp + total; ++i) {
        answered = false;
        const Clock::time_point sentAt = Clock::now();
        send();
        if (!waiter.until([&] { return answered; }, kReplyTimeoutMs)) {
            ++lost;
            continue;
        }
        if (i >= warmUp)
            samples.push_back(microsBetween(sentAt, answeredAt));
    }
}

// A bare echo. `fresh`: each datagram, both ways, leaves from a socket made for it alone.
void measureEcho(const Programs &programs, int messages, int warmUp, bool fresh, RoundTrip &result)
{
    Helper echo;
    if (!echo.start(programs.peer, {fresh ? u"echo-fresh"_s : u"echo"_s, kAnswerer, u"120"_s}, result.error))
        return;
    QUdpSocket socket;
    if (!socket.bind(QHostAddress(kSender), kPort, QAbstractSocket::DontShareAddress)) {
        result.error = u"cannot bind "_s + kSender + u":57979: "_s + socket.errorString();
        return;
    }
    const QByteArray datagram = messageDatagram(u"alice"_s);
    const QHostAddress to(kAnswerer);
    const QHostAddress from(kSender);
    bool answered = false;
    Clock::time_point answeredAt;
    QObject::connect(&socket, &QUdpSocket::readyRead, &socket, [&] {
        char buffer[2048];
        while (socket.hasPendingDatagrams()) {
            socket.readDatagram(buffer, sizeof buffer);
            answeredAt = Clock::now();
            answered = true;
        }
    });
    pingPong(
        messages, warmUp, answered, answeredAt,
        [&] {
            if (fresh)
                sendOnFreshSocket(from, to, kPort, datagram);
            else
                socket.writeDatagram(datagram, to, kPort);
        },
        fresh ? result.freshEchoUs : result.echoUs, fresh ? result.freshEchoLost : result.echoLost);
}

void measureCopies(const Programs &programs, int messages, int warmUp, RoundTrip &result)
{
    Helper bob;
    if (!bob.start(programs.peer, {u"copy"_s, kAnswerer, kSender, u"120"_s}, result.error))
        return;
    testkit::TestCopy alice(kSender);
    alice.writePartner(u"bob"_s, kAnswerer);
    alice.writeOptions([](core::OptSettings &opt) { opt.userName = u"alice"_s; });
    if (!alice.start()) {
        result.error = u"the sending copy did not start on "_s + kSender;
        return;
    }
    const QByteArray ack = deliveredDatagram();
    bool answered = false;
    Clock::time_point answeredAt;
    // Connected after the copy's own handler: the time includes the copy handling its "送信".
    QObject::connect(alice.transport.get(), &platform::Transport::datagramArrived, alice.transport.get(),
                     [&](const QByteArray &bytes, const QString &) {
                         if (bytes == ack) {
                             answeredAt = Clock::now();
                             answered = true;
                         }
                     });
    const QString text = messageText();
    double sendingUs = 0;
    pingPong(
        messages, warmUp, answered, answeredAt,
        [&] {
            // What the compose window does when the send button is pressed.
            const Clock::time_point pressed = Clock::now();
            alice.context().frmSnd.edit([&](core::MainView &v) { v.txtMsg = text; });
            alice.copy->sending().cmdSendClick();
            sendingUs += microsBetween(pressed, Clock::now());
        },
        result.copyUs, result.copyLost);
    result.sendUs = sendingUs / (messages + warmUp);
}

} // namespace

RoundTrip measureRoundTrip(const Programs &programs, int messages, int warmUp)
{
    RoundTrip result;
    result.datagramBytes = static_cast<int>(messageDatagram(u"alice"_s).size());
    measureEcho(programs, messages, warmUp, false, result);
    if (result.error.isEmpty())
        measureEcho(programs, messages, warmUp, true, result);
    if (result.error.isEmpty())
        measureCopies(programs, messages, warmUp, result);
    return result;
}

} // namespace bench
