#include "base/protocol/seal.h"
#include "base/protocol/wire.h"
#include "base/text/cp932.h"
#include "support/conversation.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using testkit::Conversation;
using testkit::TestCopy;

namespace {

const QString kCode = u"1234-5678-9012-3456-7890"_s;

void pairBoth(Conversation &c, const QString &code = kCode)
{
    QVERIFY(c.alice.copy->pairing().pairWith(code));
    QVERIFY(c.bob.copy->pairing().pairWith(code));
}

// Every datagram between the two copies since the log was cleared went sealed, and none carries
// `text` in the clear.
void allSealedWithout(const Conversation &c, const QString &text)
{
    QVERIFY(!c.net.sent().isEmpty());
    for (const testkit::SentDatagram &d : c.net.sent()) {
        QVERIFY2(protocol::isSealed(d.bytes), qPrintable(d.text()));
        QVERIFY(!d.bytes.contains(text::toCp932(text)));
    }
}

} // namespace

// Two paired copies: a code shown on one and typed on the other, every datagram sealed, and what
// does not open (someone else's, a replay, a changed byte, a plain forgery) never counts.
class TestSealed final : public QObject {
    Q_OBJECT
private slots:
    void pairingByCode_data();
    void pairingByCode();
    void sealedConversation();
    void whatDoesNotOpenIsDroppedAndCounted();
    void plainFromThePartnersAddressIsAStranger();
    void partnerAnsweringFromASecondAddress();
    void unpairingAndAnotherPartner();
    void countsSurviveARestart();
    void envelopeLayoutAndCode();
};

void TestSealed::pairingByCode_data()
{
    QTest::addColumn<bool>("aliceShows");
    QTest::addColumn<bool>("typedRight");
    QTest::newRow("alice shows, bob types") << true << true;
    QTest::newRow("bob shows, alice types") << false << true;
    QTest::newRow("a wrong code") << true << false;
}

void TestSealed::pairingByCode()
{
    QFETCH(bool, aliceShows);
    QFETCH(bool, typedRight);
    Conversation c;
    TestCopy &shower = aliceShows ? c.alice : c.bob;
    TestCopy &typer = aliceShows ? c.bob : c.alice;
    settings::Pairing &shows = shower.copy->pairing();
    settings::Pairing &types = typer.copy->pairing();
    shows.open();
    shows.showCode();
    const QString code = shows.window().view().code;
    QVERIFY(protocol::pairCodeDigits(code));
    QVERIFY(!shows.paired());
    // Typed the way people type it: full-width, blanks between the groups.
    QString typed = code;
    typed.replace(u'-', u'　');
    for (QChar &ch : typed) {
        if (ch.isDigit())
            ch = QChar(ch.unicode() - u'0' + u'０');
    }
    if (!typedRight)
        typed[0] = typed[0] == u'０' ? u'１' : u'０';
    types.open();
    types.window().edit([&](settings::PairingView &v) { v.typed = typed; });
    types.enterCode();
    c.net.flush();

    QCOMPARE(shows.paired(), typedRight);
    if (typedRight) {
        QVERIFY(types.paired());
        QVERIFY(types.window().view().confirmed);
        QVERIFY(types.window().view().status.contains(u"暗号化されています"_s));
        QVERIFY(shows.window().view().status.contains(u"暗号化されています"_s));
        QVERIFY(shower.partner().paired && typer.partner().paired);
        QVERIFY(shows.window().view().code.isEmpty()); // a code pairs once
        // The key is kept for its owner alone.
        const QString file = shower.programDir() + u"/pairKey.json"_s;
        QCOMPARE(QFile::permissions(file) &
                     (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
                 QFile::Permissions());
        return;
    }
    // The typed key opened nothing there: the shower dropped the question, the typer heard nothing
    // and goes back to plain when its wait runs out.
    QCOMPARE(shows.counts().unpaired, quint64{1});
    QVERIFY(types.paired());
    for (int ask = 1; ask <= settings::Pairing::kConfirmAsks; ++ask) {
        QMetaObject::invokeMethod(&types.confirmTimer(), "timeout");
        c.net.flush();
    }
    QCOMPARE(shows.counts().unpaired, quint64{settings::Pairing::kConfirmAsks});
    QVERIFY(!types.paired());
    QVERIFY(!typer.partner().paired);
    QVERIFY(!QFile::exists(typer.programDir() + u"/pairKey.json"_s));
    QVERIFY(types.window().view().status.contains(u"暗号化されていません"_s));
    QVERIFY(!typer.dialogs.shown().isEmpty() || !types.window().view().result.isEmpty());
    // A mistyped code is said so before any key is made.
    types.window().edit([](settings::PairingView &v) { v.typed = u"1234-5678"_s; });
    types.enterCode();
    QVERIFY(typer.dialogs.shown().last().text.contains(u"20 桁"_s));
}

void TestSealed::sealedConversation()
{
    Conversation c;
    pairBoth(c);
    c.alice.copy->letters().open();
    c.alice.copy->letters().window().edit([](receive::LetterView &v) { v.letter = u"置いていく手紙"_s; });
    c.alice.copy->letters().confirm();
    c.aliceSends(u"ひみつの話"_s);

    // Bob has it, as the partner's; Alice has its "送信".
    QCOMPARE(c.bob.receivedWindow().view().message, u"ひみつの話"_s);
    QVERIFY(c.bob.receivedWindow().view().sender.sealed);
    c.bob.copy->receiving().openReceived();
    QVERIFY(c.bob.dialogs.shown().isEmpty());
    c.bob.copy->receivedMessage().openOrClose();
    c.net.flush();
    const protocol::SentEntry &sent = c.alice.copy->sending().ledger().entries().back();
    QCOMPARE(sent.delivery, protocol::SentEntry::Delivery::Delivered);
    QCOMPARE(sent.reaction, protocol::SentEntry::Reaction::Read);

    // Bob's reply takes the letter back, and the call, presence and start and end notices follow.
    Conversation::typeReply(c.bob, u"おへんじ"_s);
    c.bob.copy->receivedMessage().reply();
    c.net.flush();
    QCOMPARE(c.alice.receivedWindow().view().message, u"おへんじ"_s);
    QCOMPARE(c.bob.receivedWindow().view().message, u"置いていく手紙"_s);
    c.alice.copy->callSignal().sendCall();
    c.net.flush();
    QVERIFY(c.bob.trayIcon().isCalling());
    c.bob.copy->partner().showWindow();
    c.bob.copy->partner().checkPresence();
    c.net.flush();
    QCOMPARE(c.bob.copy->partner().window().view().checkResult, u"いるよ～"_s);
    QSignalSpy cameOrWent(&c.bob.copy->presence(), &protocol::Presence::partnerCameOrWent);
    c.alice.copy->presence().announce();
    c.alice.copy->presence().endNotice();
    c.net.flush();
    QCOMPARE(cameOrWent.size(), 2);
    allSealedWithout(c, u"ひみつの話"_s);
    QCOMPARE(c.alice.copy->pairing().counts().total(), quint64{0});
    QCOMPARE(c.bob.copy->pairing().counts().total(), quint64{0});

    // The envelope takes room: the longest plain message no longer fits, and the box says why.
    const QString longest = QString(protocol::kMaxDatagramBytes - 20, u'a');
    c.aliceSends(longest);
    QVERIFY(c.alice.dialogs.shown().last().text.contains(u"暗号化"_s));
}

void TestSealed::whatDoesNotOpenIsDroppedAndCounted()
{
    Conversation c;
    pairBoth(c);
    c.aliceSends(u"一度だけ"_s);
    const QByteArray captured = c.net.sentFrom(c.alice.address()).first().bytes;
    const qsizetype rows = c.bob.history().received().size();
    c.net.clearLog();

    protocol::Dispatcher &bob = c.bob.copy->dispatcher();
    bob.arrive(captured, c.alice.address()); // sent again
    QByteArray changed = captured;
    changed[changed.size() - 20] = static_cast<char>(changed[changed.size() - 20] ^ 1);
    bob.arrive(changed, c.alice.address());
    bob.arrive(captured.left(40), c.alice.address()); // cut short
    // Sealed with a key of another pairing.
    protocol::SealState other;
    other.key = *protocol::derivePairKey("11112222333344445555");
    other.self = 7;
    bob.arrive(protocol::seal(other, "alice       10:00:00x"), c.alice.address());
    c.net.flush();

    const settings::Pairing::Counts &n = c.bob.copy->pairing().counts();
    QCOMPARE(n.replayed, quint64{1});
    QCOMPARE(n.damaged, quint64{3});
    QCOMPARE(c.bob.history().received().size(), rows);
    QVERIFY(c.net.sent().isEmpty()); // none of them answered
    // Bob's own reaction, sent back to him.
    c.bob.copy->receiving().openReceived();
    c.bob.copy->receivedMessage().openOrClose();
    c.net.flush();
    const QByteArray reaction = c.net.sentFrom(c.bob.address()).first().bytes;
    bob.arrive(reaction, c.alice.address());
    QCOMPARE(c.bob.copy->pairing().counts().reflected, quint64{1});

    // Paired again with the same code, Alice seals under a new number; what she sealed under the
    // old one still never opens twice.
    c.alice.copy->pairing().unpair();
    QVERIFY(c.alice.copy->pairing().pairWith(kCode));
    c.aliceSends(u"新しい番号で"_s);
    QVERIFY(c.bob.receivedWindow().view().message.endsWith(u"新しい番号で"_s));
    bob.arrive(captured, c.alice.address());
    QCOMPARE(c.bob.copy->pairing().counts().replayed, quint64{2});

    // An unpaired copy drops a sealed datagram too, rather than show it as a stranger's text.
    c.alice.copy->pairing().unpair();
    c.alice.copy->dispatcher().arrive(reaction, c.bob.address());
    QCOMPARE(c.alice.copy->pairing().counts().unpaired, quint64{1});
    QVERIFY(!c.alice.messageWaiting());
}

void TestSealed::plainFromThePartnersAddressIsAStranger()
{
    Conversation c;
    pairBoth(c);
    c.aliceSends(u"待っています"_s);
    c.net.clearLog();
    // Someone else, from the partner's address, without the key.
    protocol::Dispatcher &bob = c.bob.copy->dispatcher();
    for (const QString &forged : {u"CALLYOU呼び出し1"_s, u"START送信    10:00～     "_s, u"Open確認"_s})
        bob.arrive(text::toCp932(forged), c.alice.address());
    QVERIFY(!c.bob.trayIcon().isCalling());
    protocol::Dispatcher &alice = c.alice.copy->dispatcher();
    alice.arrive(text::toCp932(u"Open確認"_s), c.bob.address());
    bob.arrive(text::toCp932(u"alice       10:00:00偽物です"_s), c.alice.address());
    // Its "送信" goes back plain: the partner's copy must not take it for its own message's.
    QCOMPARE(c.net.textsFrom(c.bob.address()), QStringList{u"送信"_s});
    c.net.flush();

    QCOMPARE(c.bob.copy->pairing().counts().plain, quint64{4});
    QCOMPARE(c.alice.copy->pairing().counts().plain, quint64{2});
    QCOMPARE(c.alice.copy->sending().ledger().entries().back().reaction, protocol::SentEntry::Reaction::None);
    // The forged message waits behind Alice's, as a stranger's.
    c.bob.copy->receiving().openReceived();
    QVERIFY(c.bob.dialogs.shown().isEmpty());
    c.bob.copy->receivedMessage().close();
    c.bob.copy->receiving().openReceived();
    QCOMPARE(c.bob.receivedWindow().view().message, u"偽物です"_s);
    QCOMPARE(c.bob.dialogs.shown().last().text, u"お相手以外からのメッセージです。"_s);
}

void TestSealed::partnerAnsweringFromASecondAddress()
{
    Conversation c;
    c.bob.host().secondAddress = u"127.0.0.13"_s;
    c.bob.host().sendsFromSecond = true;
    pairBoth(c);
    c.aliceSends(u"どこから？"_s);
    QCOMPARE(c.alice.copy->sending().ledger().entries().back().delivery,
             protocol::SentEntry::Delivery::Delivered);
    c.net.clearLog();
    c.bob.copy->receiving().openReceived();
    c.bob.copy->receivedMessage().openOrClose();
    Conversation::typeReply(c.bob, u"こちらから"_s);
    c.bob.copy->receivedMessage().reply();
    c.net.flush();
    // Bob's reply is the partner's, and Alice's answers to it go back where it came from.
    QCOMPARE(c.alice.copy->sending().ledger().entries().back().reaction, protocol::SentEntry::Reaction::Read);
    c.alice.copy->receiving().openReceived();
    QVERIFY(c.alice.dialogs.shown().isEmpty());
    c.alice.copy->receivedMessage().openOrClose();
    c.net.flush();
    QCOMPARE(c.net.sentTo(u"127.0.0.13"_s).size(), 2); // its "送信" and its "Open確認"
    QCOMPARE(c.bob.copy->sending().ledger().entries().back().reaction, protocol::SentEntry::Reaction::Read);
}

void TestSealed::unpairingAndAnotherPartner()
{
    Conversation c;
    pairBoth(c);
    c.alice.copy->pairing().unpair();
    c.bob.copy->pairing().unpair();
    QVERIFY(!QFile::exists(c.alice.programDir() + u"/pairKey.json"_s));
    c.alice.clock.set(QDateTime(QDate(2026, 12, 8), QTime(10, 0, 1)));
    c.aliceSends(u"また平文"_s);
    // Byte for byte what a copy that never paired sends.
    QCOMPARE(c.net.sentFrom(c.alice.address()).first().bytes,
             text::toCp932(u"alice       10:00:01また平文"_s));
    QCOMPARE(c.net.textsFrom(c.bob.address()), QStringList{u"送信"_s});

    // Registering someone else ends a pairing; registering the same address again keeps it.
    pairBoth(c);
    c.alice.copy->partner().setRegistered({u"ぼぶ"_s, c.bob.address()});
    QVERIFY(c.alice.copy->pairing().paired() && c.alice.partner().paired);
    c.alice.registerPartner(u"127.0.0.4"_s);
    QVERIFY(!c.alice.copy->pairing().paired() && !c.alice.partner().paired);
    QVERIFY(!QFile::exists(c.alice.programDir() + u"/pairKey.json"_s));
}

void TestSealed::countsSurviveARestart()
{
    Conversation c;
    pairBoth(c);
    c.aliceSends(u"一通目"_s);
    const QByteArray first = c.net.sentFrom(c.alice.address()).first().bytes;
    c.bob.copy->pairing().saveNow();
    c.bob.copy.reset();
    c.net.clearLog();
    c.aliceSends(u"二通目"_s);
    const QByteArray second = c.net.sentFrom(c.alice.address()).first().bytes;
    c.alice.copy->pairing().saveNow();
    c.alice.copy.reset();
    // Both ended; started again, each goes on from where its file says.
    TestCopy alice(c.net, u"127.0.0.12"_s, c.alice.programDir());
    TestCopy bob(c.net, u"127.0.0.13"_s, c.bob.programDir());
    QVERIFY(alice.start() && bob.start());
    QVERIFY(bob.copy->pairing().paired());
    bob.copy->dispatcher().arrive(first, c.alice.address());
    QCOMPARE(bob.copy->pairing().counts().replayed, quint64{1});
    bob.copy->dispatcher().arrive(second, c.alice.address());
    QCOMPARE(bob.receivedWindow().view().message.right(3), u"二通目"_s);
    c.net.clearLog();
    alice.copy->outbox().send(core::Peer(bob.address(), true), u"alice       10:00:00三通目"_s);
    c.net.flush();
    QVERIFY(bob.receivedWindow().view().message.endsWith(u"三通目"_s));
    QCOMPARE(bob.copy->pairing().counts().total(), quint64{1});
}

void TestSealed::envelopeLayoutAndCode()
{
    // The envelope can never be taken for a plain datagram: CP932 has no character for FF or FD.
    QCOMPARE(text::toCp932(text::fromCp932(QByteArray("\xFF\xFD\x01", 3))).left(2) == "\xFF\xFD", false);
    protocol::SealState s;
    s.key.fill(1);
    s.self = 1;
    const QByteArray sealed = protocol::seal(s, "abc");
    QCOMPARE(sealed.left(3), QByteArray("\xFF\xFD\x01", 3));
    QCOMPARE(sealed.size(), 3 + protocol::kSealOverhead);
    QVERIFY(protocol::seal(s, "abc").mid(3, 24) != sealed.mid(3, 24)); // a new nonce each time

    QCOMPARE(protocol::pairCodeDigits(u"1234-5678-9012-3456-7890"_s), QByteArray("12345678901234567890"));
    QCOMPARE(protocol::pairCodeDigits(u"１２３４ ５６７８　9012－3456 7890"_s),
             QByteArray("12345678901234567890"));
    QVERIFY(!protocol::pairCodeDigits(u"1234-5678-9012-3456-789"_s));
    QVERIFY(!protocol::pairCodeDigits(u"1234-5678-9012-3456-78901"_s));
    QVERIFY(!protocol::pairCodeDigits(u"1234-5678-9012-3456-789a"_s));
    const QString code = protocol::newPairCode();
    QVERIFY(QRegularExpression(u"^\\d{4}(-\\d{4}){4}$"_s).match(code).hasMatch());
    QVERIFY(protocol::newPairCode() != code);
}

QTEST_GUILESS_MAIN(TestSealed)
#include "test_sealed.moc"
