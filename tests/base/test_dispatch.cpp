#include "base/core/errors.h"
#include "base/protocol/send.h"
#include "base/text/cp932.h"
#include "support/testcopy.h"

#include <QTest>

using namespace Qt::StringLiterals;

using protocol::Kind;
using testkit::BoxButtons;
using testkit::BoxIcon;
using testkit::boxStyle;
using testkit::FakeNetwork;
using testkit::TestCopy;

// The dispatch of arriving datagrams and the one send sequence, between copies on a fake network.
class TestDispatch final : public QObject {
    Q_OBJECT
private slots:
    void failingHandlerShowsOneBoxAndTheNextDatagramIsHandled();
    void arrivalDuringAHandlerWaitsItsTurn();
    void ordinaryMessageIsAnsweredByAckOrLetter_data();
    void ordinaryMessageIsAnsweredByAckOrLetter();
    void undecodableBytesStillReachTheHandler();
    void sendToABadAddressIsSkippedSilently_data();
    void sendToABadAddressIsSkippedSilently();
    void replyGoesToPort57979OfTheSender();
    void oversizedDatagramFailsAndNothingBreaks();

private:
    static void sendRaw(FakeNetwork &net, const QString &from, const QString &to, const QString &text)
    {
        auto host = net.host(from);
        host->send(to, 57979, text::toCp932(text));
        net.flush();
    }
};

void TestDispatch::failingHandlerShowsOneBoxAndTheNextDatagramIsHandled()
{
    FakeNetwork net;
    TestCopy alice(net, QStringLiteral("127.0.0.2"));
    QVERIFY(alice.start());
    int calls = 0;
    QString lastCall;
    alice.copy->dispatcher().setHandler(Kind::Call, [&](const protocol::Arrival &arrival) {
        lastCall = arrival.text;
        if (++calls == 1)
            throw core::RuntimeError(13, "type mismatch");
    });

    sendRaw(net, QStringLiteral("127.0.0.3"), QStringLiteral("127.0.0.2"),
            QStringLiteral("CALLYOU呼び出し1"));
    QCOMPARE(alice.dialogs.shown().size(), 1);
    QCOMPARE(alice.dialogs.shown()[0].text, QStringLiteral("受信ﾒｯｾｰｼﾞｴﾗｰ！ ｴﾗｰｺｰﾄﾞ:13"));
    QCOMPARE(alice.dialogs.shown()[0].look(), boxStyle(BoxButtons::Ok, BoxIcon::Critical));
    QCOMPARE(alice.dialogs.shown()[0].title, QStringLiteral("ミルトアンヌ"));

    sendRaw(net, QStringLiteral("127.0.0.3"), QStringLiteral("127.0.0.2"),
            QStringLiteral("CALLYOU呼び出し2"));
    QCOMPARE(calls, 2);
    QCOMPARE(lastCall, QStringLiteral("CALLYOU呼び出し2"));
    QCOMPARE(alice.dialogs.shown().size(), 1);

    // A failure that is not one of ours still gets a number and a box, and the copy goes on.
    alice.copy->dispatcher().setHandler(Kind::Call,
                                        [](const protocol::Arrival &) { throw std::out_of_range("index"); });
    sendRaw(net, QStringLiteral("127.0.0.3"), QStringLiteral("127.0.0.2"),
            QStringLiteral("CALLYOU呼び出し1"));
    QCOMPARE(alice.dialogs.shown().size(), 2);
    QVERIFY(alice.dialogs.shown()[1].text.startsWith(QStringLiteral("受信ﾒｯｾｰｼﾞｴﾗｰ！ ｴﾗｰｺｰﾄﾞ:")));
    QVERIFY(!alice.copy->hasEnded());
}

void TestDispatch::arrivalDuringAHandlerWaitsItsTurn()
{
    FakeNetwork net;
    TestCopy alice(net, QStringLiteral("127.0.0.2"));
    QVERIFY(alice.start());
    QStringList order;
    auto &dispatcher = alice.copy->dispatcher();
    dispatcher.setHandler(Kind::Held, [&](const protocol::Arrival &arrival) {
        order << QStringLiteral("hold begins");
        // A datagram that arrives while this handler still runs (as during a modal box).
        dispatcher.arrive(text::toCp932(u"破棄"), QStringLiteral("127.0.0.4"));
        order << QStringLiteral("hold ends with ") + arrival.text + u' ' + arrival.sender.address;
    });
    dispatcher.setHandler(Kind::Discarded, [&](const protocol::Arrival &arrival) {
        order << QStringLiteral("discard ") + arrival.sender.address;
    });

    dispatcher.arrive(text::toCp932(u"保留"), QStringLiteral("127.0.0.3"));
    QCOMPARE(order,
             (QStringList{QStringLiteral("hold begins"), QStringLiteral("hold ends with 保留 127.0.0.3"),
                          QStringLiteral("discard 127.0.0.4")}));

    // However long the handler runs, only so many wait; the rest are dropped and counted.
    int discards = 0;
    dispatcher.setHandler(Kind::Held, [&](const protocol::Arrival &) {
        for (std::size_t i = 0; i < protocol::Dispatcher::kMaxWaiting + 5; ++i)
            dispatcher.arrive(text::toCp932(u"破棄"), QStringLiteral("127.0.0.4"));
    });
    dispatcher.setHandler(Kind::Discarded, [&](const protocol::Arrival &) { ++discards; });
    dispatcher.arrive(text::toCp932(u"保留"), QStringLiteral("127.0.0.3"));
    QCOMPARE(discards, static_cast<int>(protocol::Dispatcher::kMaxWaiting));
    QCOMPARE(dispatcher.droppedArrivals(), quint64{5});
}

void TestDispatch::ordinaryMessageIsAnsweredByAckOrLetter_data()
{
    QTest::addColumn<receive::LetterState>("letter");
    QTest::addColumn<QString>("sender");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<bool>("letterGoes");
    QTest::addColumn<QStringList>("steps");
    const QString partner = QStringLiteral("127.0.0.3");
    const receive::LetterState armed = receive::LetterState::Waiting;
    QTest::newRow("no letter") << receive::LetterState::None << partner << true << true
                               << QStringList{u"receive"_s, u"ack"_s};
    QTest::newRow("letter waits, partner writes")
        << armed << partner << true << true << QStringList{u"receive"_s, u"letter"_s};
    QTest::newRow("letter waits, stranger writes")
        << armed << QStringLiteral("127.0.0.4") << true << true << QStringList{u"receive"_s, u"ack"_s};
    QTest::newRow("letter delivered already")
        << receive::LetterState::Delivered << partner << true << true << QStringList{u"receive"_s, u"ack"_s};
    QTest::newRow("letter cannot go: acknowledged instead")
        << armed << partner << true << false << QStringList{u"receive"_s, u"ack"_s};
    QTest::newRow("refused: no acknowledgement, no letter")
        << armed << partner << false << true << QStringList{u"receive"_s};
}

void TestDispatch::ordinaryMessageIsAnsweredByAckOrLetter()
{
    QFETCH(receive::LetterState, letter);
    QFETCH(QString, sender);
    QFETCH(bool, accepted);
    QFETCH(bool, letterGoes);
    QFETCH(QStringList, steps);
    FakeNetwork net;
    TestCopy alice(net, QStringLiteral("127.0.0.2"));
    QVERIFY(alice.start());
    alice.registerPartner(QStringLiteral("127.0.0.3"));
    alice.copy->letters().window().edit([&](receive::LetterView &v) {
        v.state = letter;
        // Too long for one datagram, it cannot go.
        v.letter = letterGoes ? u"置き手紙"_s : QString(protocol::kMaxDatagramBytes, u'x');
    });
    QStringList seen;
    QString senderDuringReceive;
    alice.copy->dispatcher().setReceiver(
        [&](const protocol::Arrival &arrival) {
            seen << QStringLiteral("receive");
            senderDuringReceive = arrival.sender.address;
            return accepted;
        },
        [&](const protocol::Arrival &) { seen << QStringLiteral("ack"); });
    alice.copy->dispatcher().setHandOver([&](const protocol::Arrival &arrival) {
        const bool went = alice.copy->letters().handOver(arrival);
        if (went)
            seen << QStringLiteral("letter");
        return went;
    });

    sendRaw(net, sender, QStringLiteral("127.0.0.2"), QStringLiteral("ゆうこ      12:00:00こんにちは"));
    QCOMPARE(seen, steps);
    QCOMPARE(senderDuringReceive, sender);
}

void TestDispatch::undecodableBytesStillReachTheHandler()
{
    FakeNetwork net;
    TestCopy alice(net, QStringLiteral("127.0.0.2"));
    QVERIFY(alice.start());
    QString received;
    alice.copy->dispatcher().setReceiver(
        [&](const protocol::Arrival &arrival) {
            received = arrival.text;
            return true;
        },
        {});
    auto other = net.host(QStringLiteral("127.0.0.3"));
    other->send(u"127.0.0.2", 57979, QByteArray::fromHex("ff 8540") + text::toCp932(u"後半も届く"));
    net.flush();
    QVERIFY(received.endsWith(QStringLiteral("後半も届く")));
    QVERIFY(alice.dialogs.shown().isEmpty());
}

void TestDispatch::sendToABadAddressIsSkippedSilently_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("empty: no partner registered") << QString();
    QTest::newRow("not an address") << QStringLiteral("partner-pc");
    QTest::newRow("octet out of range") << QStringLiteral("127.0.0.300");
    QTest::newRow("IPv6") << QStringLiteral("::1");
}

void TestDispatch::sendToABadAddressIsSkippedSilently()
{
    QFETCH(QString, address);
    FakeNetwork net;
    TestCopy alice(net, QStringLiteral("127.0.0.2"));
    TestCopy bob(net, QStringLiteral("127.0.0.3"));
    QVERIFY(alice.start());
    QVERIFY(bob.start());
    net.clearLog();
    const int result = alice.copy->outbox().send(core::Peer(address), QStringLiteral("破棄"));
    QVERIFY(result != 0);
    QVERIFY(alice.dialogs.shown().isEmpty());
    QCOMPARE(net.flush(), 0);

    // The copy goes on: the next send to a good address arrives.
    bool held = false;
    bob.copy->dispatcher().setHandler(Kind::Discarded, [&](const protocol::Arrival &) { held = true; });
    QCOMPARE(alice.copy->outbox().send(core::Peer(QStringLiteral("127.0.0.3")), QStringLiteral("破棄")), 0);
    net.flush();
    QVERIFY(held);
}

void TestDispatch::replyGoesToPort57979OfTheSender()
{
    FakeNetwork net;
    TestCopy alice(net, QStringLiteral("127.0.0.2"));
    TestCopy bob(net, QStringLiteral("127.0.0.3"));
    QVERIFY(alice.start());
    QVERIFY(bob.start());
    bob.copy->dispatcher().setHandler(Kind::PresenceRequest, [&](const protocol::Arrival &arrival) {
        bob.copy->outbox().send(arrival.sender, QStringLiteral("存在OK?      09:05"));
    });
    QString answer;
    alice.copy->dispatcher().setHandler(Kind::PresenceOneSided,
                                        [&](const protocol::Arrival &arrival) { answer = arrival.text; });
    net.clearLog();
    alice.copy->outbox().send(core::Peer(QStringLiteral("127.0.0.3")), QStringLiteral("存在確認"));
    net.flush();
    QCOMPARE(answer, QStringLiteral("存在OK?      09:05"));
    QCOMPARE(net.sent().size(), 2);
    for (const testkit::SentDatagram &d : net.sent())
        QCOMPARE(d.port, quint16(57979));
}

void TestDispatch::oversizedDatagramFailsAndNothingBreaks()
{
    FakeNetwork net;
    TestCopy alice(net, QStringLiteral("127.0.0.2"));
    TestCopy bob(net, QStringLiteral("127.0.0.3"));
    QVERIFY(alice.start());
    QVERIFY(bob.start());
    qsizetype received = -1;
    bob.copy->dispatcher().setReceiver(
        [&](const protocol::Arrival &arrival) {
            received = arrival.text.size();
            return true;
        },
        {});
    const QString largest(65507, u'a');
    QCOMPARE(alice.copy->outbox().send(core::Peer(QStringLiteral("127.0.0.3")), largest), 0);
    net.flush();
    QCOMPARE(received, 65507);
    received = -1;
    QCOMPARE(alice.copy->outbox().send(core::Peer(QStringLiteral("127.0.0.3")), largest + u'a'), 10040);
    net.flush();
    QCOMPARE(received, -1);
    QVERIFY(alice.dialogs.shown().isEmpty());
}

QTEST_MAIN(TestDispatch)
#include "test_dispatch.moc"
