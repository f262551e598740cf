#include "base/protocol/wire.h"
#include "base/text/cp932.h"
#include "base/text/fields.h"
#include "support/conversation.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Qt::StringLiterals;
using core::IconId;
using core::MenuId;
using testkit::Answer;
using testkit::BoxButtons;
using testkit::BoxIcon;
using testkit::boxStyle;
using testkit::Conversation;
using testkit::TestCopy;

// Two copies holding a conversation: the message, its acknowledgement, the reactions, the
// notices and the history rows on both sides.
class TestConversation final : public QObject {
    Q_OBJECT
private slots:
    void theRoadOfOneMessage();
    void sendRefusals();
    void twoSendsBeforeAReactionShareOneRow();
    void refusalIsNeverADelivery();
    void strangerIsRefusedOrShownWithAWarning_data();
    void strangerIsRefusedOrShownWithAWarning();
    void everyAnswerGoesToTheWriterOfItsMessage_data();
    void everyAnswerGoesToTheWriterOfItsMessage();
    void desktopNamesTheSenderAsTheCaptionDoes_data();
    void desktopNamesTheSenderAsTheCaptionDoes();
    void messagesWhileOneWaits_data();
    void messagesWhileOneWaits();
    void holdThenClose();
    void openSendsOpenConfirmationOnce();
    void replyToAnOpenedMessageLeavesTheRow();
    void emptyReplyIsRefused();
    void journalHoldsWhatLogSaveAsksFor();
    void reactionNoticeClosesByItselfOnlyWithAutoErase();
    void smallNotices();
    void blinkAlternatesUntilOpened();
    void lineBreaksTravelAsCrLf();
    void tenThousandMessagesAppendToOneHeldMessage();
    void reactionNoticeSaysWhatHappened();
    void endAsksWhileAMessageWaits_data();
    void endAsksWhileAMessageWaits();
    void senderNamedLikeANotice_data();
    void senderNamedLikeANotice();
    void tooLongToSendIsSaid();
    void silenceIsToldAndTheTextKept();
    void onlyThePartnersCopyTellsWhatHappened_data();
    void onlyThePartnersCopyTellsWhatHappened();
    void floodOfLargeMessagesWhileOneIsHeld();
    void sendsBeforeAnyAnswer_data();
    void sendsBeforeAnyAnswer();
    void reactionAfterAReplyToAStranger_data();
    void reactionAfterAReplyToAStranger();
    void partnerReachedHoweverItsAddressIsWritten_data();
    void partnerReachedHoweverItsAddressIsWritten();
    void onePersonPerReceivedWindow_data();
    void onePersonPerReceivedWindow();
    void unconfirmedReplyToAStranger();
    void unreadMessagesWaitAcrossAnEnd_data();
    void unreadMessagesWaitAcrossAnEnd();
};

void TestConversation::theRoadOfOneMessage()
{
    Conversation c;
    c.alice.clock.set(QDateTime(QDate(2026, 12, 8), QTime(10, 0, 1)));
    c.aliceSends(u"こんにちは"_s);

    // On the wire: the header and the text; back comes "送信".
    QCOMPARE(c.net.textsFrom(c.alice.address()), QStringList{u"alice       10:00:01こんにちは"_s});
    QCOMPARE(c.net.textsFrom(c.bob.address()), QStringList{u"送信"_s});
    QVERIFY(!c.alice.compose().window().isVisible());

    // Bob's copy keeps it out of sight and says so in the tray.
    core::Context &bob = c.bob.context();
    QVERIFY(c.bob.messageWaiting());
    QCOMPARE(c.bob.tray.picture(), IconId::received(0));
    QCOMPARE(c.bob.receivedWindow().view().message, u"こんにちは"_s);
    QVERIFY(!c.bob.receivedWindow().view().messageVisible);
    QCOMPARE(c.bob.receivedWindow().view().openCloseCaption, u"OPEN"_s);
    QVERIFY(!c.bob.receivedWindow().isVisible());
    QVERIFY(bob.menu.enabled(MenuId::ShowReceived));
    QVERIFY(!bob.menu.enabled(MenuId::Compose));
    QCOMPARE(c.bob.history().received().size(), 1);

    // Alice learns of the delivery.
    QCOMPARE(c.alice.history().sent().size(), 1);
    QCOMPARE(c.alice.history().sent().at(1).message, u"こんにちは"_s);
    QVERIFY(c.alice.notices().sendResult().isVisible());
    QCOMPARE(c.alice.notices().sendResult().view().text, u"メッセージは正しく送信されました。"_s);

    // Bob opens it from the tray and reads it.
    c.net.clearLog();
    c.bob.tray.pressLeft();
    QVERIFY(c.bob.receivedWindow().isVisible());
    QCOMPARE(c.bob.receivedWindow().caption(), u" From alice  Time 10:00:01"_s);
    c.bob.clock.set(QDateTime(QDate(2026, 12, 8), QTime(10, 2, 0)));
    c.bob.copy->receivedMessage().openOrClose();
    c.net.flush();
    QCOMPARE(c.net.textsFrom(c.bob.address()), QStringList{u"Open確認"_s});
    QVERIFY(!c.bob.messageWaiting());
    QCOMPARE(c.bob.history().received().at(1).shownRecvTime(), u"10:02:00"_s);
    QCOMPARE(c.bob.history().received().at(1).message, u"こんにちは"_s);
    QVERIFY(c.alice.notices().reaction().isVisible());
    QCOMPARE(c.alice.notices().reaction().view().text, u"メッセージは確認されました。"_s);
    QCOMPARE(c.alice.history().sent().at(1).shownRecvTime(), u"10:00:01"_s); // by Alice's clock

    // And replies; the reply is a message of its own, recorded on Bob's side when it arrives.
    c.net.clearLog();
    Conversation::typeReply(c.bob, u"やあ"_s);
    c.bob.copy->receivedMessage().reply();
    c.net.flush();
    QCOMPARE(c.net.textsFrom(c.bob.address()), QStringList{u"bob         10:02:00やあ"_s});
    QVERIFY(!c.bob.receivedWindow().isVisible());
    QVERIFY(bob.menu.enabled(MenuId::Compose));
    QVERIFY(!bob.menu.enabled(MenuId::ShowReceived));
    QCOMPARE(c.bob.history().sent().size(), 1);
    QCOMPARE(c.bob.history().sent().at(1).message, u"やあ"_s);
    QVERIFY(c.alice.messageWaiting());

    // A user who gave no name signs with the login name, as the options page promises.
    c.bob.opt().userName.clear();
    c.net.clearLog();
    Conversation::send(c.net, c.bob, u"名無し"_s);
    QCOMPARE(c.net.textsFrom(c.bob.address()).first(), u"tester      10:02:00名無し"_s);
}

void TestConversation::sendRefusals()
{
    testkit::FakeNetwork net;
    TestCopy alone(net, u"127.0.0.2"_s);
    QVERIFY(alone.start());
    alone.copy->compose().send();
    alone.compose().window().edit([](send::ComposeView &v) { v.message = u"hi"_s; });
    alone.copy->compose().send();
    QCOMPARE(alone.dialogs.texts(),
             (QStringList{u"ﾒｯｾｰｼﾞを入力してください。"_s, u"お相手登録を行ってください。"_s}));
    QCOMPARE(alone.dialogs.shown()[0].look(), boxStyle(BoxButtons::Ok, BoxIcon::Exclamation));
    QCOMPARE(net.sent().size(), 1); // the start notice only
}

void TestConversation::twoSendsBeforeAReactionShareOneRow()
{
    Conversation c;
    c.alice.clock.set(QDateTime(QDate(2026, 12, 8), QTime(11, 0, 0)));
    c.aliceSends(u"一"_s);
    c.alice.clock.set(QDateTime(QDate(2026, 12, 8), QTime(11, 0, 30)));
    c.aliceSends(u"二"_s);
    QCOMPARE(c.alice.history().sent().size(), 1);
    QCOMPARE(c.alice.history().sent().at(1).sendTime, u"11:00:30"_s);
    QCOMPARE(c.alice.history().sent().at(1).message, u"一 | 二"_s);

    c.alice.clock.set(QDateTime(QDate(2026, 12, 8), QTime(11, 5, 0)));
    c.bob.copy->receivedMessage().close();
    c.net.flush();
    QCOMPARE(c.alice.history().sent().at(1).shownRecvTime(), u"11:05:00*"_s);
    QCOMPARE(c.alice.notices().reaction().view().text, u"メッセージは未確認のまま閉じられました。"_s);
    QCOMPARE(c.bob.history().received().at(2).shownRecvTime().right(1), u"*"_s);
}

void TestConversation::refusalIsNeverADelivery()
{
    Conversation c({}, [](core::Options &opt) { opt.rejectOthers = 1; });
    TestCopy &carol = c.strangerToBob();
    c.net.clearLog();
    Conversation::send(c.net, carol, u"hello"_s);
    // The refusal is the whole answer: no "送信", no row, nothing waits.
    QCOMPARE(c.net.textsFrom(c.bob.address()), QStringList{u"OTHER送信"_s});
    QVERIFY(!c.bob.messageWaiting());
    QVERIFY(c.bob.receivedWindow().view().message.isEmpty());
    QCOMPARE(c.bob.history().received().size(), 0);
    QVERIFY(carol.notices().sendResult().isVisible());
    QCOMPARE(carol.notices().sendResult().view().text, u"あなたのﾒｯｾｰｼﾞは拒否されました。"_s);
    QCOMPARE(carol.history().sent().size(), 0);
    // The partner's next message opens the first row, which the partner's text completes.
    c.aliceSends(u"from alice"_s);
    c.bob.copy->receivedMessage().openOrClose();
    QCOMPARE(c.bob.history().received().size(), 1);
    QCOMPARE(c.bob.history().received().at(1).message, u"from alice"_s);

    // A copy on Windows follows its refusal with a "送信" for the same message: the refusal stands.
    auto windowsCopy = c.net.host(u"127.0.0.5"_s);
    carol.registerPartner(u"127.0.0.5"_s);
    Conversation::send(c.net, carol, u"refused again"_s);
    for (const char16_t *answer : {u"OTHER送信", u"送信"})
        windowsCopy->send(carol.address(), 57979, text::toCp932(answer));
    c.net.flush();
    QCOMPARE(carol.notices().sendResult().view().text, u"あなたのﾒｯｾｰｼﾞは拒否されました。"_s);
    QCOMPARE(carol.history().sent().size(), 0);
    // The next message that is delivered counts as delivered.
    Conversation::send(c.net, carol, u"accepted"_s);
    windowsCopy->send(carol.address(), 57979, text::toCp932(u"送信"));
    c.net.flush();
    QCOMPARE(carol.notices().sendResult().view().text, u"メッセージは正しく送信されました。"_s);
    QCOMPARE(carol.history().sent().size(), 1);
    QCOMPARE(carol.history().sent().at(1).message, u"accepted"_s);

    // A refusal is shown even when send notices are off.
    carol.opt().sendConfirm = 0;
    Conversation::send(c.net, carol, u"refused with notices off"_s);
    carol.notices().sendResultSlot().unload();
    carol.copy->dispatcher().arrive(text::toCp932(u"OTHER送信"), u"127.0.0.5"_s);
    QVERIFY(carol.notices().sendResult().isVisible());
    QCOMPARE(carol.notices().sendResult().view().text, u"あなたのﾒｯｾｰｼﾞは拒否されました。"_s);
}

void TestConversation::strangerIsRefusedOrShownWithAWarning_data()
{
    QTest::addColumn<int>("rejectOthers");
    QTest::newRow("strangers welcome") << 0;
    QTest::newRow("partner only") << 1;
}

void TestConversation::strangerIsRefusedOrShownWithAWarning()
{
    QFETCH(int, rejectOthers);
    Conversation c({}, [&](core::Options &opt) { opt.rejectOthers = rejectOthers; });
    TestCopy &carol = c.strangerToBob();
    Conversation::send(c.net, carol, u"who am I?"_s);
    QCOMPARE(c.bob.messageWaiting(), rejectOthers == 0);
    if (rejectOthers == 1)
        return;
    c.bob.copy->receiving().openReceived();
    QCOMPARE(c.bob.dialogs.texts(), QStringList{u"お相手以外からのメッセージです。"_s});
    QCOMPARE(c.bob.receivedWindow().caption(), u" From carol  Time 09:05:00"_s);
    // The reply goes to Carol, not to the partner.
    c.net.clearLog();
    Conversation::typeReply(c.bob, u"hi carol"_s);
    c.bob.copy->receivedMessage().reply();
    QCOMPARE(c.net.sentFrom(c.bob.address()).last().to, carol.address());
    // A message from the compose window goes to the partner, and does not redirect the window's
    // answers to Carol's message there.
    c.net.flush();
    Conversation::send(c.net, c.bob, u"back to alice"_s);
    QCOMPARE(c.net.sentFrom(c.bob.address()).last().to, c.alice.address());
    QVERIFY(c.bob.receivedWindow().view().reply.isEmpty()); // sent, the reply left the box
    Conversation::typeReply(c.bob, u"hi again"_s);
    c.bob.copy->receivedMessage().reply();
    QCOMPARE(c.net.sentFrom(c.bob.address()).last().to, carol.address());
}

void TestConversation::everyAnswerGoesToTheWriterOfItsMessage_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("letter");
    for (const char *button : {"open", "hold", "close", "reply"}) {
        QTest::addRow("%s on a message", button) << QString::fromLatin1(button) << false;
        QTest::addRow("%s on a letter", button) << QString::fromLatin1(button) << true;
    }
}

void TestConversation::everyAnswerGoesToTheWriterOfItsMessage()
{
    QFETCH(QString, button);
    QFETCH(bool, letter);
    Conversation c;
    TestCopy &carol = c.strangerToBob();
    receive::ReceivedMessage &window = c.bob.copy->receivedMessage();

    // A stranger's message, opened (with a warning) and closed.
    testkit::FakeNotifications &desktop = c.bob.notifications;
    Conversation::send(c.net, carol, u"from a stranger"_s);
    QCOMPARE(desktop.posts().last().title, u"carol"_s);
    c.bob.copy->receiving().openReceived();
    window.openOrClose();
    window.close();
    c.net.flush();
    QVERIFY(!desktop.shown());

    // Then the partner writes, a message or a letter.
    if (letter) {
        c.alice.copy->letters().open();
        c.alice.copy->letters().window().edit([](receive::LetterView &v) { v.letter = u"a letter"_s; });
        c.alice.copy->letters().confirm();
        Conversation::send(c.net, c.bob, u"anyone home?"_s);
    } else {
        c.aliceSends(u"from the partner"_s);
    }
    QVERIFY(c.bob.messageWaiting());
    // The desktop is told who wrote and what came, never what it says.
    QVERIFY(desktop.shown());
    QCOMPARE(desktop.posts().size(), 2);
    QCOMPARE(desktop.posts().last().title, u"alice"_s);
    QCOMPARE(desktop.posts().last().body,
             letter ? u"09:05 に置き手紙が届きました。"_s : u"09:05 にﾒｯｾｰｼﾞが届きました。"_s);
    c.bob.dialogs.clear();
    c.net.clearLog();
    desktop.click(); // as the tray icon's left click
    QVERIFY(c.bob.receivedWindow().isVisible());
    QVERIFY(c.bob.dialogs.texts().isEmpty()); // no "not your partner" warning
    QVERIFY(c.bob.receivedWindow().caption().startsWith(u" From alice "_s));
    if (button == u"open") {
        window.openOrClose();
    } else if (button == u"hold") {
        window.hold();
    } else if (button == u"close") {
        window.close();
    } else {
        Conversation::typeReply(c.bob, u"answer"_s);
        window.reply();
    }
    const QList<testkit::SentDatagram> sent = c.net.sentFrom(c.bob.address());
    QCOMPARE(sent.size(), 1);
    QCOMPARE(sent[0].to, c.alice.address());
    QVERIFY(!desktop.shown()); // every answer deals with the message, holding it too
    c.net.flush();
    QVERIFY(c.net.sentTo(carol.address()).isEmpty());
    // The partner's reaction to a letter marks the letter.
    if (letter && button != u"reply")
        QVERIFY(c.alice.copy->letters().window().view().statusPanel().startsWith(u">"_s));
}

void TestConversation::desktopNamesTheSenderAsTheCaptionDoes_data()
{
    QTest::addColumn<bool>("fromPartner");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("caption");
    QTest::newRow("the partner, while the options are behind a password")
        << true << u"受信ﾒｯｾｰｼﾞ"_s << u"受信ﾒｯｾｰｼﾞ  Time : 09:05:00"_s;
    QTest::newRow("someone who signs with no name")
        << false << u"127.0.0.4"_s << u" From 127.0.0.4 Time 09:05:00"_s;
}

// A desktop notification may be seen by anyone near the screen: it names no more than the
// received window's caption does.
void TestConversation::desktopNamesTheSenderAsTheCaptionDoes()
{
    QFETCH(bool, fromPartner);
    QFETCH(QString, title);
    QFETCH(QString, caption);
    Conversation c({}, [](core::Options &opt) {
        opt.pwEnabled = 1;
        opt.password = u"secret"_s;
    });
    if (fromPartner) {
        c.aliceSends(u"hello"_s);
    } else {
        auto stranger = c.net.host(u"127.0.0.4"_s);
        stranger->send(c.bob.address(), 57979, text::toCp932(u"            09:05:00hello"));
        c.net.flush();
    }
    QCOMPARE(c.bob.notifications.posts().size(), 1);
    QCOMPARE(c.bob.notifications.posts().first().title, title);
    c.bob.tray.pressLeft();
    QCOMPARE(c.bob.receivedWindow().caption(), caption);
}

void TestConversation::messagesWhileOneWaits_data()
{
    QTest::addColumn<int>("addOnHold");
    QTest::addColumn<QString>("message");
    QTest::newRow("appended") << 1 << u"one | two"_s;
    QTest::newRow("replaced") << 0 << u"two"_s;
}

void TestConversation::messagesWhileOneWaits()
{
    QFETCH(int, addOnHold);
    QFETCH(QString, message);
    Conversation c({}, [&](core::Options &opt) { opt.addOnHold = addOnHold; });
    c.aliceSends(u"one"_s);
    Conversation::typeReply(c.bob, u"draft"_s);
    c.aliceSends(u"two"_s);
    QCOMPARE(c.bob.receivedWindow().view().message, message);
    QCOMPARE(c.bob.receivedWindow().view().reply, addOnHold == 1 ? u"draft"_s : QString());
}

void TestConversation::holdThenClose()
{
    Conversation c;
    c.aliceSends(u"later?"_s);
    c.net.clearLog();
    core::Context &bob = c.bob.context();
    c.bob.copy->receiving().openReceived();
    c.bob.copy->receivedMessage().hold();
    c.net.flush();
    QCOMPARE(c.net.textsFrom(c.bob.address()), QStringList{u"保留"_s});
    QCOMPARE(c.alice.notices().reaction().view().text, u"メッセージは返信保留されています。"_s);
    QVERIFY(!c.bob.receivedWindow().isVisible());
    QVERIFY(!c.bob.messageWaiting());
    QVERIFY(bob.menu.enabled(MenuId::ShowReceived));
    QVERIFY(c.bob.history().received().at(1).shownRecvTime().isEmpty()); // a hold completes nothing

    // "Open確認" while the hold notice is open keeps its text.
    c.alice.notices().reaction().show();
    c.net.clearLog();
    c.bob.copy->receiving().openReceived();
    c.bob.copy->receivedMessage().close();
    c.net.flush();
    QVERIFY(c.net.sentFrom(c.bob.address()).isEmpty());
    QVERIFY(!bob.menu.enabled(MenuId::ShowReceived));
    QVERIFY(bob.menu.enabled(MenuId::Compose));

    // A second hold with nothing waiting just hides the window.
    c.bob.receivedWindow().show();
    c.bob.copy->receivedMessage().hold();
    QVERIFY(c.net.sentFrom(c.bob.address()).isEmpty());
    QVERIFY(!c.bob.receivedWindow().isVisible());
}

void TestConversation::openSendsOpenConfirmationOnce()
{
    Conversation c;
    c.aliceSends(u"read me"_s);
    // A call animates the tray meanwhile: the message still waits, and opening it says so.
    c.bob.copy->dispatcher().arrive(text::toCp932(u"CALLYOU呼び出し1"), c.alice.address());
    c.bob.copy->tray().callStep();
    c.net.clearLog();
    auto &window = c.bob.copy->receivedMessage();
    window.openOrClose();
    QCOMPARE(c.bob.receivedWindow().view().openCloseCaption, u"CLOSE"_s);
    QVERIFY(c.bob.receivedWindow().view().messageVisible);
    window.openOrClose();
    QCOMPARE(c.bob.receivedWindow().view().openCloseCaption, u"OPEN"_s);
    QVERIFY(!c.bob.receivedWindow().view().messageVisible);
    window.openOrClose();
    c.net.flush();
    QCOMPARE(c.net.textsFrom(c.bob.address()), QStringList{u"Open確認"_s});
}

void TestConversation::replyToAnOpenedMessageLeavesTheRow()
{
    Conversation c;
    c.aliceSends(u"hi"_s);
    c.bob.clock.set(QDateTime(QDate(2026, 12, 8), QTime(12, 0, 0)));
    c.bob.copy->receivedMessage().openOrClose();
    c.bob.clock.set(QDateTime(QDate(2026, 12, 8), QTime(12, 30, 0)));
    Conversation::typeReply(c.bob, u"answer"_s);
    c.bob.copy->receivedMessage().reply();
    c.net.flush();
    QCOMPARE(c.bob.history().received().at(1).shownRecvTime(), u"12:00:00"_s);
    QVERIFY(c.alice.messageWaiting());
}

void TestConversation::emptyReplyIsRefused()
{
    Conversation c;
    c.aliceSends(u"hi"_s);
    c.net.clearLog();
    c.bob.copy->receivedMessage().reply();
    QCOMPARE(c.bob.dialogs.texts(), QStringList{u"ﾒｯｾｰｼﾞを入力してください。"_s});
    QVERIFY(c.net.sent().isEmpty());
    QVERIFY(c.bob.messageWaiting());
}

void TestConversation::journalHoldsWhatLogSaveAsksFor()
{
    auto save = [](core::Options &opt) { opt.logSave = 1; };
    Conversation c(save, save);
    c.aliceSends(u"first"_s);
    c.bob.copy->receivedMessage().close(); // closed unread: never journaled
    c.net.flush();
    c.aliceSends(u"second"_s);
    c.bob.copy->receivedMessage().openOrClose();
    c.net.flush();
    const QByteArray dashes(51, '-');
    QCOMPARE(c.alice.readFile(u"logFile.dat"_s), dashes + "< send    2026/12/08 09:05:00>-----\r\nfirst\r\n" +
                                                     dashes +
                                                     "< send    2026/12/08 09:05:00>-----\r\nsecond\r\n");
    QCOMPARE(c.bob.readFile(u"logFile.dat"_s), dashes + "< receive 2026/12/08 09:05:00>-----\r\nsecond\r\n");
}

void TestConversation::reactionNoticeClosesByItselfOnlyWithAutoErase()
{
    for (int autoErase : {0, 1}) {
        Conversation c([&](core::Options &opt) { opt.autoErase = autoErase; });
        c.aliceSends(u"hi"_s);
        c.bob.copy->receivedMessage().openOrClose();
        c.net.flush();
        QVERIFY(c.alice.notices().reactionSlot().isLoaded());
        QCOMPARE(c.alice.copy->notices().reactionTimer().isActive(), autoErase == 1);
        if (autoErase == 1)
            c.alice.copy->notices().reactionTick();
        QCOMPARE(c.alice.notices().reactionSlot().isLoaded(), autoErase == 0);
        // The send-result notice has no timer: OK closes it, and it comes back as designed.
        QVERIFY(c.alice.notices().sendResultSlot().isLoaded());
        c.alice.notices().sendResultSlot().unload();
        QCOMPARE(c.alice.notices().sendResult().view().text, u"あなたのﾒｯｾｰｼﾞは拒否されました。"_s);
    }
}

void TestConversation::smallNotices()
{
    Conversation c([](core::Options &opt) {
        opt.sendConfirmMin = 1;
        opt.recvConfirmMin = 1;
        opt.autoErase = 1;
    });
    c.alice.clock.set(QDateTime(QDate(2026, 12, 8), QTime(13, 14, 15)));
    c.aliceSends(u"hi"_s);
    QVERIFY(!c.alice.notices().sendResult().isVisible()); // loaded by the dispatch, never shown
    QVERIFY(c.alice.notices().small().isVisible());
    QCOMPARE(c.alice.notices().small().view().time, u"13:14:15"_s);
    QVERIFY(c.alice.notices().small().view().showsDelivery);
    QVERIFY(!c.alice.notices().small().view().showsReaction);
    // The minimal send notice never closes by itself, whatever autoErase says.
    QVERIFY(!c.alice.copy->notices().smallTimer().isActive());

    c.bob.copy->receivedMessage().openOrClose();
    c.net.flush();
    QVERIFY(!c.alice.notices().small().view().showsDelivery);
    QVERIFY(c.alice.notices().small().view().showsReaction);
    QVERIFY(c.alice.copy->notices().smallTimer().isActive());
    c.alice.copy->notices().smallTick();
    QVERIFY(!c.alice.notices().smallSlot().isLoaded());
}

void TestConversation::blinkAlternatesUntilOpened()
{
    Conversation c({}, [](core::Options &opt) { opt.blinkIcon = true; });
    c.aliceSends(u"blink"_s);
    QVERIFY(c.bob.trayIcon().isBlinking());
    c.bob.copy->tray().blinkStep();
    QCOMPARE(c.bob.tray.picture(), IconId::received(0));
    c.bob.copy->tray().blinkStep();
    QCOMPARE(c.bob.tray.picture(), IconId::normal(0));
    QVERIFY(c.bob.messageWaiting()); // whatever the phase shows
    c.bob.copy->receiving().openReceived();
    QVERIFY(!c.bob.trayIcon().isBlinking());
    QVERIFY(c.bob.messageWaiting());
}

void TestConversation::lineBreaksTravelAsCrLf()
{
    Conversation c;
    c.aliceSends(u"line 1\r\nline 2"_s);
    QVERIFY(c.net.sentFrom(c.alice.address())[0].bytes.endsWith("line 1\r\nline 2"));
    QCOMPARE(c.bob.receivedWindow().view().message, u"line 1\r\nline 2"_s);
    QCOMPARE(text::editorLineBreaks(c.bob.receivedWindow().view().message), u"line 1\nline 2"_s);
    QCOMPARE(text::wireLineBreaks(u"a\nb\r\nc"_s), u"a\r\nb\r\nc"_s);
}

void TestConversation::tenThousandMessagesAppendToOneHeldMessage()
{
    Conversation c;
    auto sender = c.net.host(u"127.0.0.2"_s);
    const QByteArray message = text::toCp932(u"alice       09:05:00ok");
    for (int i = 0; i < 10001; ++i)
        sender->send(c.bob.address(), 57979, message);
    c.net.flush();
    const QString held = c.bob.receivedWindow().view().message;
    QCOMPARE(held.count(u" | "_s), 10000);
    QCOMPARE(held.size(), 10001 * 2 + 10000 * 3);
}

void TestConversation::reactionNoticeSaysWhatHappened()
{
    Conversation c;
    send::ReactionWindowModel &notice = c.alice.notices().reaction();
    c.aliceSends(u"one"_s);
    c.bob.copy->receiving().openReceived();
    c.bob.copy->receivedMessage().hold();
    c.net.flush();
    QCOMPARE(notice.view().text, u"メッセージは返信保留されています。"_s);
    // The hold notice is still open when the next message is read.
    c.aliceSends(u"two"_s);
    c.bob.copy->receiving().openReceived();
    c.bob.copy->receivedMessage().openOrClose();
    c.net.flush();
    QVERIFY(notice.isVisible());
    QCOMPARE(notice.view().text, u"メッセージは確認されました。"_s);
}

void TestConversation::endAsksWhileAMessageWaits_data()
{
    QTest::addColumn<QString>("state");
    QTest::addColumn<bool>("asks");
    QTest::newRow("waiting") << u"waiting"_s << true;
    QTest::newRow("blinking, received phase") << u"blink received"_s << true;
    QTest::newRow("blinking, normal phase") << u"blink normal"_s << true;
    QTest::newRow("a call animates the tray") << u"call"_s << true;
    QTest::newRow("read, then a call ended by opening") << u"read then call"_s << false;
    QTest::newRow("held, then a call ended by opening") << u"held then call"_s << false;
}

void TestConversation::endAsksWhileAMessageWaits()
{
    QFETCH(QString, state);
    QFETCH(bool, asks);
    Conversation c({}, [](core::Options &opt) { opt.blinkIcon = true; });
    c.aliceSends(u"hi"_s);
    auto call = [&] {
        c.bob.copy->dispatcher().arrive(text::toCp932(u"CALLYOU呼び出し1"), c.alice.address());
        c.bob.copy->tray().callStep();
        QCOMPARE(c.bob.tray.picture().kind, IconId::Kind::CallFrame);
    };
    if (state.startsWith(u"blink")) {
        c.bob.copy->tray().blinkStep();
        if (state == u"blink normal")
            c.bob.copy->tray().blinkStep();
        QCOMPARE(c.bob.tray.picture(), state == u"blink normal" ? IconId::normal(0) : IconId::received(0));
    } else if (state == u"call") {
        call();
    } else if (state != u"waiting") {
        c.bob.copy->receiving().openReceived();
        if (state == u"read then call")
            c.bob.copy->receivedMessage().openOrClose();
        else
            c.bob.copy->receivedMessage().hold();
        call();
        c.bob.copy->receiving().openReceived();
        QCOMPARE(c.bob.tray.picture(), IconId::normal(0));
        // Closing what was already dealt with tells the sender nothing more.
        c.net.clearLog();
        c.bob.copy->receivedMessage().close();
        QVERIFY(c.net.sentFrom(c.bob.address()).isEmpty());
    }
    c.bob.dialogs.answerNext(Answer::No);
    c.bob.copy->quit();
    QCOMPARE(c.bob.dialogs.texts(),
             asks ? QStringList{u"未確認のﾒｯｾｰｼﾞがあります... 終了しますか？"_s} : QStringList{});
    QCOMPARE(c.bob.copy->hasEnded(), !asks);
    QCOMPARE(c.bob.messageWaiting(), asks);
}

void TestConversation::senderNamedLikeANotice_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("notice");
    QTest::newRow("START送信") << u"START送信"_s << protocol::startNoticeText(u"10:00"_s);
    QTest::newRow("END送信") << u"END送信"_s << protocol::endNoticeText(u"10:00"_s, u"11:30"_s);
    QTest::newRow("存在OK") << u"存在OK"_s << u"存在OK       10:00"_s;
    QTest::newRow("存在OK?") << u"存在OK?"_s << u"存在OK?      10:00"_s;
}

void TestConversation::senderNamedLikeANotice()
{
    QFETCH(QString, name);
    QFETCH(QString, notice);
    Conversation c;
    TestCopy &carol = c.strangerToBob(name);
    c.net.clearLog();
    Conversation::send(c.net, carol, u"just a message"_s);
    QCOMPARE(c.net.textsFrom(c.bob.address()), QStringList{u"送信"_s});
    QVERIFY(c.bob.messageWaiting());
    QCOMPARE(c.bob.receivedWindow().view().message, u"just a message"_s);
    QCOMPARE(carol.history().sent().size(), 1);

    // A real notice with that tag is handled as before: a presence answer from the copy just
    // asked, a start or end notice from the partner.
    const bool answer = name.startsWith(u"存在");
    if (answer) {
        c.bob.copy->partner().window().edit([&](settings::PartnerView &v) { v.address = carol.address(); });
        c.bob.copy->partner().checkPresence();
    }
    c.bob.copy->dispatcher().arrive(text::toCp932(notice), answer ? carol.address() : c.alice.address());
    if (name.startsWith(u"存在"))
        QCOMPARE(c.bob.copy->partner().window().caption(), u"ミルトアンヌ　起動時間：10:00"_s);
    else
        QVERIFY(c.bob.historyWindow().caption().startsWith(u"送受信履歴　（10:00～"_s));
    QCOMPARE(c.bob.receivedWindow().view().message, u"just a message"_s);
}

void TestConversation::tooLongToSendIsSaid()
{
    Conversation c;
    const QString tooLong = u"あ"_s.repeated(32744); // 20 + 65 488 bytes: 65 508
    const QString longest = QString(65507 - 20, u'a');
    const QString kTooLong =
        u"ﾒｯｾｰｼﾞが長すぎて送信できません。\n送信できるのは全角32,743文字（半角65,487文字）までです。"_s;

    // From the compose window: said, nothing sent, the window stays with its text.
    c.net.clearLog();
    c.alice.copy->compose().open();
    c.alice.compose().window().edit([&](send::ComposeView &v) { v.message = tooLong; });
    QVERIFY(!c.alice.copy->compose().send());
    QCOMPARE(c.alice.dialogs.texts(), QStringList{kTooLong});
    QVERIFY(c.net.sent().isEmpty());
    QVERIFY(c.alice.compose().window().isVisible());
    // The longest that fits goes whole.
    c.aliceSends(longest);
    QCOMPARE(c.net.sentFrom(c.alice.address())[0].bytes.size(), 65507);
    QCOMPARE(c.bob.receivedWindow().view().message, longest);

    // A reply too long changes nothing: the message still waits, its row stays open.
    c.net.clearLog();
    Conversation::typeReply(c.bob, tooLong);
    c.bob.copy->receivedMessage().reply();
    QCOMPARE(c.bob.dialogs.texts(), QStringList{kTooLong});
    QVERIFY(c.net.sent().isEmpty());
    QVERIFY(c.bob.messageWaiting());
    QVERIFY(c.bob.history().received().at(1).shownRecvTime().isEmpty());

    // A letter too long is refused at OK; one that outgrew a datagram while being written keeps
    // waiting, and the partner's message is acknowledged as usual.
    c.alice.dialogs.clear();
    c.alice.copy->letters().open();
    receive::LetterWindowModel &letter = c.alice.copy->letters().window();
    letter.edit([&](receive::LetterView &v) { v.letter = tooLong; });
    c.alice.copy->letters().confirm();
    // The letter's tag takes 15 bytes more.
    QCOMPARE(
        c.alice.dialogs.texts(),
        QStringList{
            u"内容が長すぎて送信できません。\n送信できるのは全角32,736文字（半角65,472文字）までです。"_s});
    QVERIFY(letter.isVisible());
    c.net.clearLog();
    Conversation::send(c.net, c.bob, u"hello?"_s);
    QCOMPARE(c.net.textsFrom(c.alice.address()), QStringList{u"送信"_s});
    QCOMPARE(letter.view().statusPanel(), u"未確認"_s);
    QCOMPARE(c.alice.dialogs.texts().size(), 1); // no error box for the partner's message
    // Cut down, it goes with the next message.
    letter.edit([](receive::LetterView &v) { v.letter = u"short now"_s; });
    c.alice.copy->letters().confirm();
    Conversation::send(c.net, c.bob, u"hello again"_s);
    QVERIFY(c.net.textsFrom(c.alice.address()).last().endsWith(u"short now"_s));
    // The letter stands for the "送信" of the message it answered.
    QVERIFY(!c.bob.copy->sending().answerTimer().isActive());
}

void TestConversation::silenceIsToldAndTheTextKept()
{
    testkit::FakeNetwork net;
    TestCopy alice(net, u"127.0.0.2"_s);
    alice.writePartner(u"bob"_s, u"127.0.0.3"_s); // nobody runs there
    alice.writeOptions([](core::Options &opt) { opt.sendConfirm = 0; });
    QVERIFY(alice.start());
    protocol::Sending &sending = alice.copy->sending();
    Conversation::send(net, alice, u"are you there?"_s);
    QVERIFY(sending.answerTimer().isActive());
    QCOMPARE(sending.answerTimer().interval(), 10000);
    sending.answerTimeout(); // too early by the copy's clock: nothing is said yet
    QVERIFY(!alice.notices().sendResultSlot().isLoaded());
    alice.clock.set(alice.clock.now().addSecs(10));
    sending.answerTimeout();
    // Said whatever the send notices are set to.
    send::SendResultWindowModel &notice = alice.notices().sendResult();
    QVERIFY(notice.isVisible());
    QVERIFY(notice.view().text.startsWith(u"ﾒｯｾｰｼﾞの到着を確認できませんでした。"_s));
    // The text waits in the compose window.
    alice.compose().open();
    QCOMPARE(alice.compose().window().view().message, u"are you there?"_s);

    // A late "送信" still counts as the delivery of that text.
    alice.compose().window().edit([](send::ComposeView &v) { v.message = u"typing something else"_s; });
    net.host(u"127.0.0.3"_s)->send(alice.address(), 57979, text::toCp932(u"送信"));
    net.flush();
    QCOMPARE(notice.view().text, u"メッセージは正しく送信されました。"_s);
    QCOMPARE(alice.history().sent().size(), 1);
    QCOMPARE(alice.history().sent().at(1).message, u"are you there?"_s);
    // What is being typed stays; opened afresh, the window no longer offers the delivered text.
    alice.compose().open();
    QCOMPARE(alice.compose().window().view().message, u"typing something else"_s);
    alice.compose().cancel();
    alice.compose().open();
    QVERIFY(alice.compose().window().view().message.isEmpty());
    // An answer in time leaves nothing to say.
    QVERIFY(!sending.answerTimer().isActive());
}

void TestConversation::onlyThePartnersCopyTellsWhatHappened_data()
{
    using protocol::Kind;
    QTest::addColumn<QString>("datagram");
    for (Kind kind : {Kind::Delivered, Kind::Refused, Kind::Opened, Kind::Held, Kind::Discarded})
        QTest::newRow(qPrintable(protocol::tagOf(kind))) << protocol::tagOf(kind);
    QTest::newRow("存在OK") << protocol::tagOf(Kind::PresenceOk) + u"10:00"_s;
    QTest::newRow("存在OK?") << protocol::tagOf(Kind::PresenceOneSided) + u"10:00"_s;
    QTest::newRow("START送信") << protocol::startNoticeText(u"10:00"_s);
    QTest::newRow("END送信") << protocol::endNoticeText(u"10:00"_s, u"11:30"_s);
}

void TestConversation::onlyThePartnersCopyTellsWhatHappened()
{
    QFETCH(QString, datagram);
    auto everything = [](core::Options &opt) {
        opt.logSave = 1;
        opt.notifyStartEnd = 1;
    };
    Conversation c(everything, everything);
    auto forge = [&](const QString &from) {
        c.alice.copy->dispatcher().arrive(text::toCp932(datagram), from);
    };
    auto seen = [&] {
        return QStringList{
            QString::fromLatin1(c.alice.readFile(u"logFile.dat"_s).toHex()),
            QString::number(c.alice.history().sent().size()),
            c.alice.history().sent().isEmpty() ? QString() : c.alice.history().sent().at(1).shownRecvTime(),
            c.alice.notices().sendResultSlot().isLoaded() ? c.alice.notices().sendResult().view().text
                                                          : QString(),
            c.alice.notices().reactionSlot().isLoaded() ? c.alice.notices().reaction().view().text
                                                        : QString(),
            c.alice.historyWindow().caption(),
            QString::number(c.alice.copy->partner().slot().isLoaded()),
            testkit::describe(c.alice.tray.picture()),
            QString::number(c.alice.copy->sending().answerTimer().isActive())};
    };

    // While Alice's message is on its way, from a third address. That may be the partner's PC
    // answering from its other address: a "送信" or "OTHER送信" counts for the message, once.
    c.alice.compose().window().edit([](send::ComposeView &v) { v.message = u"hello"_s; });
    QVERIFY(c.alice.copy->compose().send());
    const QStringList awaiting = seen();
    forge(u"127.0.0.9"_s);
    const bool answer = datagram == protocol::tagOf(protocol::Kind::Delivered) ||
                        datagram == protocol::tagOf(protocol::Kind::Refused);
    QCOMPARE(seen() == awaiting, !answer);

    // After Bob's copy has told it all, from the third address, and again from Bob's.
    c.net.flush();
    c.bob.copy->receiving().openReceived();
    c.bob.copy->receivedMessage().openOrClose();
    c.net.flush();
    const QStringList told = seen();
    QVERIFY(told != awaiting);
    QVERIFY(c.alice.history().sent().size() <= 1);
    QVERIFY(c.alice.readFile(u"logFile.dat"_s).count("< send ") <= 1);
    forge(u"127.0.0.9"_s);
    QCOMPARE(seen(), told);
    if (answer) {
        for (int i = 0; i < 3; ++i)
            forge(c.bob.address());
        QCOMPARE(seen(), told);
    }
    QVERIFY(c.alice.dialogs.shown().isEmpty());
}

void TestConversation::floodOfLargeMessagesWhileOneIsHeld()
{
    Conversation c([](core::Options &opt) { opt.addOnHold = 1; });
    Conversation::send(c.net, c.bob, u"first"_s);
    c.alice.copy->receiving().openReceived();
    c.alice.copy->receivedMessage().hold();

    // A host floods Alice with the largest messages a datagram carries.
    auto flooder = c.net.host(u"127.0.0.9"_s);
    const QString head = u"flood       09:05:00"_s;
    QString newest;
    for (int i = 0; i < 60; ++i) {
        newest = QString(protocol::kMaxDatagramBytes - head.size(), QChar(u'0' + i % 10));
        flooder->send(c.alice.address(), 57979, text::toCp932(head + newest));
        c.net.flush();
    }
    const QString held = c.alice.receivedWindow().view().message;
    QVERIFY(held.size() <= receive::kHeldTextLimit);
    QVERIFY(held.size() > receive::kHeldTextLimit / 2);
    QVERIFY(held.startsWith(receive::kHeldTextCut));
    QVERIFY(held.endsWith(u" | "_s + newest));
    QVERIFY(!held.contains(u"first"_s));

    c.alice.copy->receiving().openReceived();
    c.alice.copy->receivedMessage().openOrClose();
    QVERIFY(c.alice.receivedWindow().view().messageVisible);
}

void TestConversation::sendsBeforeAnyAnswer_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("answers"); // how many "送信" come back, in order
    QTest::newRow("two sends, two answers") << QStringList{u"一"_s, u"二"_s} << 2;
    QTest::newRow("three sends, three answers") << QStringList{u"一"_s, u"二"_s, u"三"_s} << 3;
    QTest::newRow("two sends, one answer") << QStringList{u"一"_s, u"二"_s} << 1;
}

void TestConversation::sendsBeforeAnyAnswer()
{
    QFETCH(QStringList, texts);
    QFETCH(int, answers);
    testkit::FakeNetwork net;
    TestCopy alice(net, u"127.0.0.2"_s);
    alice.writePartner(u"bob"_s, u"127.0.0.3"_s);
    alice.writeOptions([](core::Options &opt) { opt.logSave = 1; });
    QVERIFY(alice.start());
    auto bob = net.host(u"127.0.0.3"_s); // answers by hand
    for (const QString &text : texts) {
        alice.compose().window().edit([&](send::ComposeView &v) { v.message = text; });
        QVERIFY(alice.copy->compose().send());
    }
    for (int i = 0; i < answers; ++i)
        bob->send(alice.address(), 57979, text::toCp932(u"送信"));
    net.flush();

    // Every delivered text in the history and the journal, once, in order.
    const QStringList delivered = texts.mid(0, answers);
    QCOMPARE(alice.history().sent().size(), 1);
    QCOMPARE(alice.history().sent().at(1).message, delivered.join(u" | "_s));
    QByteArray journal;
    for (int i = 1; i <= answers; ++i)
        journal += QByteArray(51, '-') + "< send    2026/12/08 09:05:00>-----\r\n" +
                   text::toCp932(texts.mid(0, i).join(u" | "_s)) + "\r\n";
    QCOMPARE(alice.readFile(u"logFile.dat"_s), journal);

    // The silence of each unanswered one is told, and it waits in the compose window.
    alice.clock.set(alice.clock.now().addSecs(10));
    alice.copy->sending().answerTimeout();
    const bool silence = answers < texts.size();
    QCOMPARE(alice.notices().sendResult().view().text.startsWith(u"ﾒｯｾｰｼﾞの到着を確認できませんでした。"_s),
             silence);
    alice.copy->compose().open();
    QCOMPARE(alice.compose().window().view().message, texts.mid(answers).join(u"\r\n"_s));
    QVERIFY(!alice.copy->sending().answerTimer().isActive());
}

void TestConversation::reactionAfterAReplyToAStranger_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<QString>("mark");
    QTest::newRow("open") << u"open"_s << u"メッセージは確認されました。"_s << QString();
    QTest::newRow("hold") << u"hold"_s << u"メッセージは返信保留されています。"_s << QString();
    QTest::newRow("close") << u"close"_s << u"メッセージは未確認のまま閉じられました。"_s << u"*"_s;
}

void TestConversation::reactionAfterAReplyToAStranger()
{
    QFETCH(QString, button);
    QFETCH(QString, notice);
    QFETCH(QString, mark);
    Conversation c;
    TestCopy &carol = c.strangerToBob();
    Conversation::send(c.net, c.bob, u"to alice"_s);
    Conversation::send(c.net, carol, u"from carol"_s);
    c.bob.copy->receiving().openReceived();
    Conversation::typeReply(c.bob, u"to carol"_s);
    c.bob.copy->receivedMessage().reply();
    c.net.flush();
    QCOMPARE(c.bob.history().sent().size(), 2);

    // Alice reacts to Bob's earlier message: it is told, and stamped in its own row.
    c.bob.clock.set(QDateTime(QDate(2026, 12, 8), QTime(10, 0, 0)));
    c.alice.copy->receiving().openReceived();
    receive::ReceivedMessage &window = c.alice.copy->receivedMessage();
    button == u"open" ? window.openOrClose() : button == u"hold" ? window.hold() : window.close();
    c.net.flush();
    QVERIFY(c.bob.notices().reaction().isVisible());
    QCOMPARE(c.bob.notices().reaction().view().text, notice);
    QCOMPARE(c.bob.history().sent().at(1).message, u"to alice"_s);
    QCOMPARE(c.bob.history().sent().at(1).shownRecvTime(), u"10:00:00"_s + mark);
    QVERIFY(c.bob.history().sent().at(2).shownRecvTime().isEmpty());
}

void TestConversation::partnerReachedHoweverItsAddressIsWritten_data()
{
    QTest::addColumn<QString>("registered"); // how Alice registers Bob
    QTest::addColumn<bool>("otherAddress");  // Bob's PC answers from its second address
    QTest::newRow("answers from a second address") << u"127.0.0.3"_s << true;
    QTest::newRow("typed with leading zeros and a blank") << u" 127.000.0.03"_s << false;
}

void TestConversation::partnerReachedHoweverItsAddressIsWritten()
{
    QFETCH(QString, registered);
    QFETCH(bool, otherAddress);
    Conversation c;
    c.bob.host().secondAddress = u"127.0.0.13"_s;
    c.bob.host().sendsFromSecond = otherAddress;
    settings::Partner &partner = c.alice.copy->partner();
    partner.showWindow();
    c.alice.copy->partner().window().edit([&](settings::PartnerView &v) { v.address = registered; });
    partner.registerPartner();
    QCOMPARE(c.alice.partner().address, c.bob.address());

    c.aliceSends(u"hi"_s);
    c.bob.copy->receiving().openReceived();
    c.bob.copy->receivedMessage().openOrClose();
    c.net.flush();
    c.alice.clock.set(c.alice.clock.now().addSecs(10));
    c.alice.copy->sending().answerTimeout();
    QCOMPARE(c.alice.notices().sendResult().view().text, u"メッセージは正しく送信されました。"_s);
    QCOMPARE(c.alice.notices().reaction().view().text, u"メッセージは確認されました。"_s);
    QCOMPARE(c.alice.history().sent().size(), 1);
    QVERIFY(!c.alice.history().sent().at(1).shownRecvTime().isEmpty());

    partner.checkPresence();
    c.net.flush();
    QCOMPARE(c.alice.copy->partner().window().view().checkResult, u"いるよ～"_s);
}

void TestConversation::onePersonPerReceivedWindow_data()
{
    QTest::addColumn<bool>("partnerFirst");
    QTest::newRow("a stranger writes while the partner's reply is typed") << true;
    QTest::newRow("the partner writes while a stranger's reply is typed") << false;
}

void TestConversation::onePersonPerReceivedWindow()
{
    QFETCH(bool, partnerFirst);
    Conversation c({}, [](core::Options &opt) { opt.addOnHold = 1; });
    TestCopy &carol = c.strangerToBob();
    TestCopy &first = partnerFirst ? c.alice : carol;
    TestCopy &second = partnerFirst ? carol : c.alice;
    core::Context &bob = c.bob.context();
    // Bob has a draft in the compose window; a reply leaves it as it was.
    c.bob.copy->compose().open();
    c.bob.compose().window().edit([](send::ComposeView &v) { v.message = u"a draft"_s; });

    Conversation::send(c.net, first, u"first"_s);
    c.bob.copy->receiving().openReceived();
    const QString caption = c.bob.receivedWindow().caption();
    QVERIFY(caption.contains(partnerFirst ? u"alice"_s : u"carol"_s));
    c.bob.copy->receivedMessage().openOrClose();
    Conversation::typeReply(c.bob, u"my answer"_s);
    Conversation::send(c.net, second, u"second"_s);
    // The second person's message waits its turn: the window, its caption and its reply stay.
    QCOMPARE(c.bob.receivedWindow().view().message, u"first"_s);
    QCOMPARE(c.bob.receivedWindow().caption(), caption);
    QCOMPARE(c.bob.receivedWindow().view().reply, u"my answer"_s);
    QVERIFY(c.bob.messageWaiting());
    QCOMPARE(c.bob.tray.picture(), IconId::received(0));

    c.net.clearLog();
    c.bob.copy->receivedMessage().reply();
    QCOMPARE(c.net.sentFrom(c.bob.address()).last().to, first.address());
    c.net.flush();
    QCOMPARE(first.receivedWindow().view().message, u"my answer"_s);
    QCOMPARE(c.bob.compose().window().view().message, u"a draft"_s);

    // Then the second message has the window, named and answered as its writer.
    QVERIFY(c.bob.messageWaiting());
    QVERIFY(bob.menu.enabled(MenuId::ShowReceived));
    c.bob.dialogs.clear();
    c.bob.copy->receiving().openReceived();
    QCOMPARE(c.bob.dialogs.texts().size(), partnerFirst ? 1 : 0); // the stranger warning
    QVERIFY(c.bob.receivedWindow().caption().contains(partnerFirst ? u"carol"_s : u"alice"_s));
    QCOMPARE(c.bob.receivedWindow().view().message, u"second"_s);
    c.net.clearLog();
    c.bob.copy->receivedMessage().close();
    QCOMPARE(c.net.sentFrom(c.bob.address()).last().to, second.address());
    QVERIFY(!c.bob.messageWaiting());

    // A reply being written to someone whose message gives way comes back with their next one.
    Conversation::send(c.net, first, u"third"_s);
    c.bob.copy->receiving().openReceived();
    c.bob.copy->receivedMessage().openOrClose();
    Conversation::typeReply(c.bob, u"half written"_s);
    Conversation::send(c.net, second, u"fourth"_s);
    c.bob.copy->receiving().openReceived(); // the tray shows something waits: it comes in
    QCOMPARE(c.bob.receivedWindow().view().message, u"fourth"_s);
    QVERIFY(c.bob.receivedWindow().view().reply.isEmpty());
    c.bob.copy->receivedMessage().close();
    Conversation::send(c.net, first, u"fifth"_s);
    QCOMPARE(c.bob.receivedWindow().view().reply, u"half written"_s);
}

void TestConversation::unconfirmedReplyToAStranger()
{
    Conversation c;
    auto stranger = c.net.host(u"127.0.0.4"_s); // writes once, then is gone
    stranger->send(c.bob.address(), 57979, text::toCp932(u"dave        09:05:00are you there?"));
    c.net.flush();
    c.bob.copy->receiving().openReceived();
    Conversation::typeReply(c.bob, u"yes, and you?"_s);
    c.bob.copy->receivedMessage().reply();
    c.net.flush();
    c.bob.clock.set(c.bob.clock.now().addSecs(10));
    c.bob.copy->sending().answerTimeout();

    // Told with who did not answer; offered again to that person, never to the partner.
    core::Context &bob = c.bob.context();
    QCOMPARE(c.bob.notices().sendResult().view().text,
             u"ﾒｯｾｰｼﾞの到着を確認できませんでした。\ndave（127.0.0.4）が起動していない可能性があります。"_s);
    c.bob.copy->compose().open();
    QVERIFY(c.bob.compose().window().view().message.isEmpty());
    QVERIFY(bob.menu.enabled(MenuId::ShowReceived));
    c.bob.copy->menuClicked(MenuId::ShowReceived);
    QCOMPARE(c.bob.receivedWindow().view().reply, u"yes, and you?"_s);
    c.net.clearLog();
    c.bob.copy->receivedMessage().reply();
    QCOMPARE(c.net.sentFrom(c.bob.address()).last().to, u"127.0.0.4"_s);
}

void TestConversation::unreadMessagesWaitAcrossAnEnd_data()
{
    QTest::addColumn<QString>("end");
    QTest::newRow("終了 after its question") << u"quit"_s;
    QTest::newRow("a termination signal") << u"signal"_s;
}

void TestConversation::unreadMessagesWaitAcrossAnEnd()
{
    QFETCH(QString, end);
    Conversation c;
    TestCopy &carol = c.strangerToBob();
    c.aliceSends(u"held one"_s);
    c.bob.copy->receiving().openReceived();
    c.bob.copy->receivedMessage().hold();
    c.net.flush();
    Conversation::send(c.net, carol, u"unread one"_s);
    c.aliceSends(u"and more"_s);
    if (end == u"quit") {
        c.bob.dialogs.answerNext(Answer::Yes);
        c.bob.copy->quit();
    } else {
        c.bob.copy->terminate();
    }
    QVERIFY(c.bob.copy->hasEnded());
    const QString dir = c.bob.programDir();
    c.bob.copy.reset();
    c.bob.transport.reset();

    // The next start: both wait again, in their order, with their senders and times. Carol's
    // came into the window, the held one gave way and took Alice's next message.
    TestCopy again(c.net, c.bob.address(), dir);
    QVERIFY(again.start());
    QVERIFY(again.messageWaiting());
    QCOMPARE(again.tray.picture(), IconId::received(0));
    QCOMPARE(again.receivedWindow().view().message, u"unread one"_s);
    QCOMPARE(again.receivedWindow().view().waitingBehind, 1);
    QCOMPARE(again.history().received().size(), 2);
    c.net.clearLog();
    again.tray.pressLeft();
    QCOMPARE(again.receivedWindow().caption(), u" From carol  Time 09:05:00"_s);
    again.copy->receivedMessage().close();
    QCOMPARE(c.net.sentFrom(again.address()).last().to, carol.address());
    again.tray.pressLeft();
    QCOMPARE(again.receivedWindow().view().message, u"held one | and more"_s);
    QCOMPARE(again.receivedWindow().caption(), u" From alice  Time 09:05:00"_s);
    c.net.clearLog();
    again.copy->receivedMessage().openOrClose();
    QCOMPARE(c.net.textsFrom(again.address()), QStringList{u"Open確認"_s});
    QCOMPARE(c.net.sentFrom(again.address()).last().to, c.alice.address());
    // Dealt with, nothing is kept any more.
    again.copy->receiving().saveWaiting();
    QVERIFY(!QFile::exists(QDir(dir).filePath(receive::Receiving::kWaitingFile)));
}

QTEST_MAIN(TestConversation)
#include "test_conversation.moc"
