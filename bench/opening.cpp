#include "opening.h"

#include "base/protocol/tags.h"
#include "base/protocol/wire.h"
#include "base/receive/receiving.h"
#include "base/text/cp932.h"

#include <QNetworkDatagram>
#include <QUdpSocket>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace bench {
namespace {

constexpr quint16 kPort = 57979;
const QHostAddress kCopy(u"127.0.0.2"_s);
const QHostAddress kPartner(u"127.0.0.9"_s);
constexpr int kPingMs = 5;

// One round: a copy with windows, filled by its partner, opened while the partner keeps asking
// whether it is there.
bool measureOnce(const Programs &programs, QChar letter, Opening &result)
{
    QProcess peer;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    peer.setProcessEnvironment(env);
    peer.setProcessChannelMode(QProcess::SeparateChannels);
    peer.setStandardErrorFile(QProcess::nullDevice());
    peer.start(programs.peer, {u"window"_s, kCopy.toString(), kPartner.toString(), u"120"_s});
    auto stop = qScopeGuard([&peer] {
        peer.terminate();
        if (!peer.waitForFinished(3000))
            peer.kill();
    });
    EventWaiter wait;
    QByteArray output;
    auto line = [&](const QByteArray &start) {
        output += peer.readAllStandardOutput();
        const qsizetype at = output.indexOf(start);
        return at < 0 || output.indexOf('\n', at) < 0 ? QByteArray()
                                                      : output.mid(at, output.indexOf('\n', at) - at);
    };
    if (!wait.until([&] { return !line("ready").isEmpty(); }, 10000)) {
        result.error = u"the copy with windows did not start"_s;
        return false;
    }

    QUdpSocket partner;
    if (!partner.bind(kPartner, kPort)) {
        result.error = u"cannot bind the partner: "_s + partner.errorString();
        return false;
    }
    const QString head = protocol::ordinaryMessage(protocol::messageHead(u"bench"_s, QTime(9, 5, 0)), {});
    // As many letters as one datagram carries: a full-width one takes two bytes.
    const qsizetype text = (protocol::kMaxDatagramBytes - head.size()) / (letter.unicode() < 0x80 ? 1 : 2);
    const QByteArray largest = text::toCp932(head + QString(text, letter));
    const QByteArray delivered = text::toCp932(protocol::tagOf(protocol::Kind::Delivered));
    const QByteArray present = text::toCp932(protocol::tagOf(protocol::Kind::PresenceOk));
    qsizetype held = text;
    int acknowledged = 0;
    std::vector<Clock::time_point> answers;
    QObject::connect(&partner, &QUdpSocket::readyRead, &partner, [&] {
        while (partner.hasPendingDatagrams()) {
            const QByteArray data = partner.receiveDatagram().data();
            if (data == delivered)
                ++acknowledged;
            else if (data.startsWith(present))
                answers.push_back(Clock::now());
        }
    });
    // As many as the copy keeps whole, one after the other.
    for (int sent = 1; held <= receive::kHeldTextLimit; ++sent) {
        partner.writeDatagram(largest, kCopy, kPort);
        if (!wait.until([&] { return acknowledged == sent; }, 2000)) {
            result.error = u"a message was not acknowledged"_s;
            return false;
        }
        held += 3 + text;
    }
    result.heldChars = held - 3 - text;

    QTimer ping;
    ping.setInterval(kPingMs);
    const QByteArray check = text::toCp932(protocol::tagOf(protocol::Kind::PresenceRequest));
    QObject::connect(&ping, &QTimer::timeout, &partner, [&] { partner.writeDatagram(check, kCopy, kPort); });
    ping.start();
    wait.until([] { return false; }, 200);
    const Clock::time_point asked = Clock::now();
    peer.write("open\n");
    QByteArray opened;
    if (!wait.until([&] { return !(opened = line("opened ")).isEmpty(); }, 15000)) {
        result.error = u"the copy did not say it opened"_s;
        return false;
    }
    wait.until([] { return false; }, 300);
    ping.stop();
    result.openMs.push_back(opened.mid(7).trimmed().toDouble());
    // The longest gap between answers from the open on, counting from the last answer before it.
    auto from = std::lower_bound(answers.begin(), answers.end(), asked);
    Clock::time_point last = from == answers.begin() ? asked : *(from - 1);
    double longest = 0;
    for (auto it = from; it != answers.end(); ++it) {
        longest = std::max(longest, microsBetween(last, *it) / 1000.0);
        last = *it;
    }
    result.silenceMs.push_back(longest);
    return true;
}

} // namespace

Opening measureOpening(const Programs &programs, int rounds)
{
    Opening result;
    // Half the rounds with latin letters, which have no place to break a line, half with kanji,
    // which take longer to draw.
    for (int round = 0; round < rounds; ++round) {
        if (!measureOnce(programs, round % 2 == 0 ? QChar(u'x') : QChar(u'漢'), result))
            break;
    }
    return result;
}

} // namespace bench
