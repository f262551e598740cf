#include "protocol/send.h"
#include "support/testcopy.h"

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
    bob.copy->dispatcher().setHandler(protocol::Kind::Start, [&] {
        seen = bob.state().rcvData;
        from = bob.state().remoteHostIP;
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
    bob.copy->dispatcher().setMessageHandlers([&] { received = bob.state().rcvData; }, {}, {});
    // 65 507 bytes: a 23-byte header, kanji of two bytes each and two ASCII letters.
    const QString text = u"ゆうこ         12:00:00"_s + QString(32741, QChar(u'漢')) + u"!!"_s;
    QCOMPARE(protocol::sendDatagram(alice.context(), u"127.0.0.3"_s, text), 0);
    QTRY_COMPARE(received.size(), text.size());
    QCOMPARE(received, text);
    QVERIFY(protocol::sendDatagram(alice.context(), u"127.0.0.3"_s, text + u'!') != 0);
}

void TestRealSockets::conversationOverRealSockets()
{
    TestCopy alice(u"127.0.0.2"_s);
    TestCopy bob(u"127.0.0.3"_s);
    alice.writePartner(u"bob"_s, u"127.0.0.3"_s);
    bob.writePartner(u"alice"_s, u"127.0.0.2"_s);
    alice.writeOptions([](core::OptSettings &opt) { opt.userName = u"alice"_s; });
    QVERIFY(alice.start());
    QVERIFY(bob.start());

    alice.copy->sending().openCompose();
    alice.context().frmSnd.edit([](core::MainView &v) { v.txtMsg = u"本物のUDPで～"_s; });
    alice.copy->sending().cmdSendClick();
    QTRY_VERIFY(bob.context().messageWaiting());
    QCOMPARE(bob.context().frmRecv.view().text1, u"本物のUDPで～"_s);
    QTRY_COMPARE(alice.context().LvLog.size(), 1);
    QCOMPARE(alice.context().frmSndOK().view().label1, u"メッセージは正しく送信されました。"_s);

    bob.copy->receiving().openReceived();
    bob.copy->received().cmdOPCLClick();
    QTRY_COMPARE(alice.context().LvLog.at(1).recvTime, u"09:05:00"_s);
    QVERIFY(alice.context().frmRcvOK().isVisible());
    QVERIFY(!bob.context().messageWaiting());
}

QTEST_MAIN(TestRealSockets)
#include "test_realsockets.moc"
