#include "base/protocol/send.h"
#include "base/text/cp932.h"
#include "support/testcopy.h"

#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>

using namespace Qt::StringLiterals;
using testkit::TestCopy;

// Copies on real UDP sockets, each bound to its own loopback address on port 57979.
class TestRealSockets final : public QObject {
    Q_OBJECT
private slots:
    void portHeldByAnotherProgram();
    void startNoticeCrossesARealSocket();
    void largestDatagramArrivesWhole();
    void conversationOverRealSockets();
    void sendingSocketOutlivesFailuresAndStrays();
};

void TestRealSockets::portHeldByAnotherProgram()
{
    QUdpSocket holder;
    QVERIFY(holder.bind(QHostAddress(u"127.0.0.2"_s), 57979, QAbstractSocket::DontShareAddress));
    TestCopy alice(u"127.0.0.2"_s);
    QVERIFY(!alice.start());
    QCOMPARE(alice.dialogs.shown().size(), 1);
    QCOMPARE(alice.dialogs.shown()[0].text, u"「ミルトアンヌ」は、既に起動しています。\r(PortNo Error!)"_s);
    QVERIFY(alice.copy->hasEnded());
}

void TestRealSockets::startNoticeCrossesARealSocket()
{
    TestCopy bob(u"127.0.0.3"_s);
    QVERIFY(bob.start());
    QString seen;
    QString from;
    bob.copy->dispatcher().setHandler(protocol::Kind::Start, [&](const protocol::Arrival &arrival) {
        seen = arrival.text;
        from = arrival.sender.address;
    });
    TestCopy alice(u"127.0.0.2"_s);
    alice.writePartner(u"bob"_s, u"127.0.0.3"_s);
    QVERIFY(alice.start());
    QTRY_VERIFY(!seen.isEmpty());
    QCOMPARE(seen, u"START送信    09:05～     "_s);
    QCOMPARE(from, u"127.0.0.2"_s);
}

void TestRealSockets::largestDatagramArrivesWhole()
{
    TestCopy alice(u"127.0.0.2"_s);
    TestCopy bob(u"127.0.0.3"_s);
    QVERIFY(alice.start());
    QVERIFY(bob.start());
    QString received;
    bob.copy->dispatcher().setReceiver(
        [&](const protocol::Arrival &arrival) {
            received = arrival.text;
            return true;
        },
        {});
    // 65 507 bytes: a 23-byte header, kanji of two bytes each and two ASCII letters.
    const QString text = u"ゆうこ         12:00:00"_s + QString(32741, QChar(u'漢')) + u"!!"_s;
    QCOMPARE(alice.copy->outbox().send(core::Peer(u"127.0.0.3"_s), text), 0);
    QTRY_COMPARE(received.size(), text.size());
    QCOMPARE(received, text);
    QVERIFY(alice.copy->outbox().send(core::Peer(u"127.0.0.3"_s), text + u'!') != 0);

    // Many small ones sent at once are all read, a batch at a time.
    int count = 0;
    bob.copy->dispatcher().setReceiver(
        [&](const protocol::Arrival &) {
            ++count;
            return true;
        },
        {});
    for (int i = 0; i < 300; ++i)
        alice.copy->outbox().send(core::Peer(u"127.0.0.3"_s), u"ゆうこ         12:00:00 small"_s);
    QTRY_COMPARE(count, 300);
}

void TestRealSockets::conversationOverRealSockets()
{
    TestCopy alice(u"127.0.0.2"_s);
    TestCopy bob(u"127.0.0.3"_s);
    alice.writePartner(u"bob"_s, u"127.0.0.3"_s);
    bob.writePartner(u"alice"_s, u"127.0.0.2"_s);
    alice.writeOptions([](core::Options &opt) { opt.userName = u"alice"_s; });
    QVERIFY(alice.start());
    QVERIFY(bob.start());

    alice.copy->compose().open();
    alice.compose().window().edit([](send::ComposeView &v) { v.message = u"本物のUDPで～"_s; });
    alice.copy->compose().send();
    QTRY_VERIFY(bob.messageWaiting());
    QCOMPARE(bob.receivedWindow().view().message, u"本物のUDPで～"_s);
    QTRY_COMPARE(alice.history().sent().size(), 1);
    QCOMPARE(alice.notices().sendResult().view().text, u"メッセージは正しく送信されました。"_s);

    bob.copy->receiving().openReceived();
    bob.copy->receivedMessage().openOrClose();
    QTRY_COMPARE(alice.history().sent().at(1).shownRecvTime(), u"09:05:00"_s);
    QVERIFY(alice.notices().reaction().isVisible());
    QVERIFY(!bob.messageWaiting());
}

// Every datagram leaves from one sending socket kept for the program's life, never from the
// program's port: a failed send must not spoil the next, and datagrams someone sends to the sending
// socket must not reach the dispatch.
void TestRealSockets::sendingSocketOutlivesFailuresAndStrays()
{
    QUdpSocket peer;
    QVERIFY(peer.bind(QHostAddress(u"127.0.0.3"_s), 57979, QAbstractSocket::DontShareAddress));
    TestCopy alice(u"127.0.0.2"_s);
    QVERIFY(alice.start());
    int dispatched = 0;
    alice.copy->dispatcher().setReceiver(
        [&](const protocol::Arrival &) {
            ++dispatched;
            return true;
        },
        {});
    const auto next = [&peer]() -> QNetworkDatagram {
        if (!peer.hasPendingDatagrams() && !peer.waitForReadyRead(2000))
            return {};
        return peer.receiveDatagram();
    };

    QCOMPARE(alice.copy->outbox().send(core::Peer(u"127.0.0.3"_s), u"一通目"_s), 0);
    const QNetworkDatagram first = next();
    QCOMPARE(text::fromCp932(first.data()), u"一通目"_s);
    QCOMPARE(first.senderAddress(), QHostAddress(u"127.0.0.2"_s));
    const int sendingPort = first.senderPort();
    QVERIFY(sendingPort > 0 && sendingPort != 57979);

    QCOMPARE(alice.copy->outbox().send(core::Peer(u"127.0.0.3"_s), QString(70000, u'a')), 10040);
    QCOMPARE(alice.copy->outbox().send(core::Peer(u"not an address"_s), u"x"_s), 11001);
    QCOMPARE(alice.copy->outbox().send(core::Peer(QString()), u"x"_s), 11001);
    for (int i = 0; i < 200; ++i)
        peer.writeDatagram("stray", QHostAddress(u"127.0.0.2"_s), static_cast<quint16>(sendingPort));
    QTest::qWait(50);

    QUdpSocket other;
    QVERIFY(other.bind(QHostAddress(u"127.0.0.4"_s), 57979, QAbstractSocket::DontShareAddress));
    QCOMPARE(alice.copy->outbox().send(core::Peer(u"127.0.0.4"_s), u"別の宛先"_s), 0);
    QVERIFY(other.waitForReadyRead(2000));
    QCOMPARE(text::fromCp932(other.receiveDatagram().data()), u"別の宛先"_s);
    QCOMPARE(alice.copy->outbox().send(core::Peer(u"127.0.0.3"_s), u"二通目"_s), 0);
    const QNetworkDatagram second = next();
    QCOMPARE(text::fromCp932(second.data()), u"二通目"_s);
    QCOMPARE(second.senderPort(), sendingPort);
    QCOMPARE(dispatched, 0);
}

QTEST_MAIN(TestRealSockets)
#include "test_realsockets.moc"
