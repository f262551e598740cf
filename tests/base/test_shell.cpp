#include "base/text/cp932.h"
#include "support/conversation.h"

#include <QTest>

using namespace Qt::StringLiterals;
using core::IconId;
using core::MenuId;
using testkit::BoxButtons;
using testkit::BoxIcon;
using testkit::boxStyle;
using testkit::Conversation;
using testkit::TestCopy;

// The program driven from its tray: the presses, the lock, the clipboard, letters and calls.
class TestShell final : public QObject {
    Q_OBJECT
private slots:
    void trayPressInEachState();
    void lockHidesTheMenuAndAMessageDuringItShowsAfter();
    void clipboardSend();
    void letterArmedEmptyIsDeliveredEmpty();
    void letterGoesToThePartnerOnlyAndOnce();
    void firstReactionAfterALetterMarksIt();
    void cancelWithdrawsTheLetter();
    void letterOkRules();
    void callKindFollowsTheCallMenu();
    void callCycles_data();
    void callCycles();
    void callKindFollowsTheLastDatagram();
    void callAndBlinkTogetherStayBounded();
    void openingAWindowStopsTheCall();
};

void TestShell::trayPressInEachState()
{
    Conversation c;
    // Idle: the compose window.
    c.bob.tray.pressLeft();
    QVERIFY(c.bob.compose().window().isVisible());
    QCOMPARE(c.bob.compose().window().caption(), u"送信ﾒｯｾｰｼﾞ"_s);
    c.bob.copy->compose().cancel();
    // A message waits: the received window.
    c.aliceSends(u"hi"_s);
    c.bob.tray.pressLeft();
    QVERIFY(c.bob.receivedWindow().isVisible());
    QVERIFY(!c.bob.compose().window().isVisible());
    c.bob.receivedWindow().hide();
    // Locked: nothing.
    c.bob.copy->menuClicked(MenuId::Lock);
    c.bob.tray.pressLeft();
    QVERIFY(!c.bob.receivedWindow().isVisible());
    QVERIFY(!c.bob.compose().window().isVisible());
}

void TestShell::lockHidesTheMenuAndAMessageDuringItShowsAfter()
{
    Conversation c;
    core::Context &bob = c.bob.context();
    c.bob.copy->menuClicked(MenuId::Lock);
    QVERIFY(bob.menu.checked(MenuId::Lock));
    for (const core::MenuEntry &e : bob.menu.entries()) {
        if (e.parent == MenuId::Tray && e.id != MenuId::Tray)
            QVERIFY2(e.visible == (e.id == MenuId::Lock), qPrintable(QString::fromUtf16(e.name)));
    }
    c.aliceSends(u"while locked"_s);
    QVERIFY(c.bob.messageWaiting());
    QVERIFY(bob.menu.enabledThroughLock(core::MenuId::ShowReceived));
    QVERIFY(!bob.menu.enabledThroughLock(core::MenuId::Compose));
    // The entries themselves are untouched until the lock is lifted.
    QVERIFY(bob.menu.enabled(MenuId::Compose));
    c.aliceSends(u"and more"_s);
    QCOMPARE(c.bob.receivedWindow().view().message, u"while locked | and more"_s);

    c.bob.copy->menuClicked(MenuId::Lock);
    QVERIFY(!bob.menu.checked(MenuId::Lock));
    QVERIFY(bob.menu.enabled(MenuId::ShowReceived));
    QVERIFY(!bob.menu.enabled(MenuId::Compose));
    QVERIFY(bob.menu.visible(MenuId::Quit));
    QVERIFY(!bob.menu.visible(MenuId::UserSearch));
}

void TestShell::clipboardSend()
{
    Conversation c;
    c.alice.copy->menuClicked(MenuId::SendClipboard);
    QCOMPARE(c.alice.dialogs.texts(), QStringList{u"ｸﾘｯﾌﾟﾎﾞｰﾄﾞ上にﾃｷｽﾄがありません。"_s});
    QCOMPARE(c.alice.dialogs.shown()[0].look(), boxStyle(BoxButtons::Ok, BoxIcon::Exclamation));
    QVERIFY(c.net.sent().isEmpty());

    // A draft in the compose window stays as it was.
    c.alice.copy->compose().open();
    c.alice.compose().window().edit([](send::ComposeView &v) { v.message = u"a draft"_s; });
    c.alice.clipboard.setText(u"from the clipboard\nsecond line"_s);
    c.alice.copy->menuClicked(MenuId::SendClipboard);
    c.net.flush();
    QCOMPARE(c.bob.receivedWindow().view().message, u"from the clipboard\r\nsecond line"_s);
    QCOMPARE(c.alice.history().sent().at(1).message, u"from the clipboard\r\nsecond line"_s);
    QCOMPARE(c.alice.compose().window().view().message, u"a draft"_s);
    QVERIFY(c.alice.compose().window().isVisible());
    QVERIFY(!c.alice.clipboard.hasText());

    // A text that cannot go (no partner) stays on the clipboard.
    c.alice.dialogs.clear();
    c.alice.registerPartner({});
    c.alice.clipboard.setText(u"kept"_s);
    c.alice.copy->menuClicked(MenuId::SendClipboard);
    QCOMPARE(c.alice.dialogs.texts(), QStringList{u"お相手登録を行ってください。"_s});
    QCOMPARE(c.alice.clipboard.text(), u"kept"_s);
}

void TestShell::letterArmedEmptyIsDeliveredEmpty()
{
    Conversation c;
    c.alice.copy->menuClicked(MenuId::Letter);
    receive::LetterWindowModel &letter = c.alice.copy->letters().window();
    QVERIFY(letter.isVisible());
    QCOMPARE(letter.view().statusPanel(), u"未確認"_s);
    c.net.clearLog();
    Conversation::send(c.net, c.bob, u"anyone?"_s);
    QCOMPARE(c.net.textsFrom(c.alice.address()), QStringList{u"LETTER 置き手紙alice       09:05:00"_s});
    QVERIFY(letter.view().statusPanel().startsWith(u"確認されました...  "_s));
    QVERIFY(letter.view().statusPanel().contains(u" / "_s));
    // Bob sees it like a message, with no acknowledgement back, and a history row of its own.
    QVERIFY(c.bob.messageWaiting());
    QCOMPARE(c.bob.receivedWindow().view().message, QString());
    QCOMPARE(c.bob.history().received().size(), 1);
    // Bob's message was answered by the letter instead of "送信": delivered all the same.
    QCOMPARE(c.bob.history().sent().size(), 1);
    QVERIFY(!c.bob.copy->sending().answerTimer().isActive());
}

void TestShell::letterGoesToThePartnerOnlyAndOnce()
{
    Conversation c;
    TestCopy carol(c.net, u"127.0.0.4"_s);
    carol.writePartner(u"alice"_s, c.alice.address());
    QVERIFY(carol.start());
    c.alice.copy->menuClicked(MenuId::Letter);
    c.alice.copy->letters().window().edit([](receive::LetterView &v) { v.letter = u"出かけています"_s; });
    c.alice.copy->letters().confirm();
    QVERIFY(!c.alice.copy->letters().window().isVisible());

    c.net.clearLog();
    Conversation::send(c.net, carol, u"stranger"_s);
    QCOMPARE(c.net.textsFrom(c.alice.address()), QStringList{u"送信"_s});
    QCOMPARE(c.alice.copy->letters().window().view().statusPanel(), u"未確認"_s);

    c.net.clearLog();
    Conversation::send(c.net, c.bob, u"one"_s);
    QCOMPARE(c.net.textsFrom(c.alice.address()),
             QStringList{u"LETTER 置き手紙alice       09:05:00出かけています"_s});
    QCOMPARE(c.bob.receivedWindow().view().message, u"出かけています"_s);
    c.net.clearLog();
    Conversation::send(c.net, c.bob, u"two"_s);
    QCOMPARE(c.net.textsFrom(c.alice.address()), QStringList{u"送信"_s});
}

void TestShell::firstReactionAfterALetterMarksIt()
{
    Conversation c;
    c.alice.copy->menuClicked(MenuId::Letter);
    Conversation::send(c.net, c.bob, u"hi"_s);
    const QString delivered = c.alice.copy->letters().window().view().statusPanel();
    // Bob opens the letter: Alice's letter window records it and no notice opens.
    c.bob.copy->receivedMessage().openOrClose();
    c.net.flush();
    QCOMPARE(c.alice.copy->letters().window().view().statusPanel(), u">"_s + delivered);
    QVERIFY(!c.alice.notices().reactionSlot().isLoaded());
    // Alice answers; Bob's next reaction opens the usual notice.
    c.aliceSends(u"back"_s);
    c.bob.copy->receivedMessage().openOrClose();
    c.net.flush();
    QVERIFY(c.alice.notices().reaction().isVisible());
    QCOMPARE(c.alice.copy->letters().window().view().statusPanel(), u">"_s + delivered);
}

void TestShell::cancelWithdrawsTheLetter()
{
    Conversation c;
    c.alice.copy->menuClicked(MenuId::Letter);
    c.alice.copy->letters().window().edit([](receive::LetterView &v) { v.letter = u"never mind"_s; });
    c.alice.copy->letters().cancel();
    QVERIFY(!c.alice.copy->letters().slot().isLoaded());
    c.net.clearLog();
    Conversation::send(c.net, c.bob, u"hi"_s);
    QCOMPARE(c.net.textsFrom(c.alice.address()), QStringList{u"送信"_s});
    QVERIFY(c.alice.copy->letters().window().view().letter.isEmpty());
}

void TestShell::letterOkRules()
{
    Conversation c;
    receive::Letters &letters = c.alice.copy->letters();
    c.alice.copy->menuClicked(MenuId::Letter);
    letters.confirm();
    QCOMPARE(c.alice.dialogs.texts(), QStringList{u"内容を入力してください。"_s});
    QCOMPARE(c.alice.dialogs.shown()[0].title, u"ｴﾗｰ確認"_s);
    QVERIFY(c.alice.copy->letters().window().isVisible());
    QCOMPARE(c.alice.copy->letters().window().view().statusPanel(), u"未確認"_s);
    // Delivered: OK unloads the window, and the next opening arms a new letter.
    Conversation::send(c.net, c.bob, u"hi"_s);
    letters.confirm();
    QVERIFY(!c.alice.copy->letters().slot().isLoaded());
    c.alice.copy->menuClicked(MenuId::Letter);
    QCOMPARE(c.alice.copy->letters().window().view().statusPanel(), u"未確認"_s);
}

void TestShell::callKindFollowsTheCallMenu()
{
    Conversation c;
    c.alice.copy->callSignal().sendCall();
    c.alice.copy->menuClicked(MenuId::CallPhone);
    QVERIFY(!c.alice.context().menu.checked(MenuId::CallPerson));
    QVERIFY(c.alice.context().menu.checked(MenuId::CallPhone));
    c.alice.copy->callSignal().sendCall();
    QCOMPARE(c.net.textsFrom(c.alice.address()), (QStringList{u"CALLYOU呼び出し1"_s, u"CALLYOU呼び出し2"_s}));
    c.net.flush();
    QVERIFY(c.bob.trayIcon().isCalling());

    // Without a partner the call fails, silently.
    testkit::FakeNetwork net;
    TestCopy alone(net, u"127.0.0.9"_s);
    QVERIFY(alone.start());
    alone.copy->callSignal().sendCall();
    QVERIFY(net.sent().last().result != 0);
    QVERIFY(alone.dialogs.shown().isEmpty());
}

void TestShell::callCycles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("byPartner");
    QTest::addColumn<QList<int>>("frames"); // the tray picture after each tick: frame numbers
    QList<int> person;
    QList<int> phone;
    for (int i = 0; i < 10; ++i) {
        person << 2 << 3;
        phone << 5 << 6;
    }
    person << 4;
    phone << 6; // the third tick of a telephone cycle leaves the picture as it is
    QTest::newRow("person") << u"1"_s << true << (person + person);
    QTest::newRow("telephone") << u"2"_s << true << (phone + phone);
    QTest::newRow("a stranger calls: nothing moves") << u"1"_s << false << QList<int>{};
}

void TestShell::callCycles()
{
    QFETCH(QString, kind);
    QFETCH(bool, byPartner);
    QFETCH(QList<int>, frames);
    Conversation c;
    const QString caller = byPartner ? c.alice.address() : u"127.0.0.77"_s;
    c.bob.copy->dispatcher().arrive(text::toCp932(u"CALLYOU呼び出し"_s + kind), caller);
    QCOMPARE(c.bob.trayIcon().isCalling(), byPartner);
    QList<int> seen;
    for (int i = 0; i < frames.size(); ++i) {
        c.bob.copy->tray().callStep();
        seen << static_cast<int>(c.bob.tray.picture().index);
    }
    QCOMPARE(seen, frames);
    QCOMPARE(c.bob.trayIcon().callCount(), 0);
    // Cycles repeat until the user turns up.
    QCOMPARE(c.bob.trayIcon().isCalling(), byPartner);
    if (!byPartner)
        QCOMPARE(c.bob.tray.picture(), IconId::normal(0));
}

void TestShell::callKindFollowsTheLastDatagram()
{
    Conversation c;
    core::TrayIcon &call = c.bob.trayIcon();
    c.bob.copy->dispatcher().arrive(text::toCp932(u"CALLYOU呼び出し1"), c.alice.address());
    call.callStep();
    QCOMPARE(c.bob.tray.picture(), IconId::callFrame(2));
    // A message is now the last datagram; its twelfth character (a blank of the name field) says
    // "telephone".
    c.aliceSends(u"hello"_s);
    call.callStep();
    QCOMPARE(c.bob.tray.picture(), IconId::callFrame(6));
    // A second call does not restart the cycle.
    const int count = c.bob.trayIcon().callCount();
    c.bob.copy->dispatcher().arrive(text::toCp932(u"CALLYOU呼び出し1"), c.alice.address());
    call.callStep();
    QCOMPARE(c.bob.tray.picture(), IconId::callFrame(2));
    QCOMPARE(c.bob.trayIcon().callCount(), count + 1);
}

void TestShell::callAndBlinkTogetherStayBounded()
{
    Conversation c({}, [](core::Options &opt) { opt.blinkIcon = true; });
    c.aliceSends(u"blink"_s);
    c.bob.copy->dispatcher().arrive(text::toCp932(u"CALLYOU呼び出し1"), c.alice.address());
    QVERIFY(c.bob.trayIcon().isCalling());
    QVERIFY(c.bob.trayIcon().isBlinking());
    // The worst interleaving: the blink always undoes the call's first phase.
    for (int i = 0; i < 50000; ++i) {
        c.bob.copy->tray().callStep();
        c.bob.copy->tray().blinkStep();
        if (i % 7 == 0)
            c.bob.copy->tray().callStep();
        QVERIFY(c.bob.trayIcon().callCount() >= 0 &&
                c.bob.trayIcon().callCount() <= core::TrayIcon::kCallAlternations);
        QVERIFY(c.bob.trayIcon().phase() >= 0 && c.bob.trayIcon().phase() <= 2);
    }
}

void TestShell::openingAWindowStopsTheCall()
{
    Conversation c;
    c.bob.copy->dispatcher().arrive(text::toCp932(u"CALLYOU呼び出し2"), c.alice.address());
    c.bob.copy->tray().callStep();
    c.bob.copy->compose().open();
    QVERIFY(!c.bob.trayIcon().isCalling());
    QCOMPARE(c.bob.tray.picture(), IconId::normal(0));

    c.bob.copy->dispatcher().arrive(text::toCp932(u"CALLYOU呼び出し2"), c.alice.address());
    c.bob.copy->tray().callStep();
    c.bob.copy->receiving().openReceived();
    QVERIFY(!c.bob.trayIcon().isCalling());
    // Nothing waits, so the tray says so: no received picture, nothing to ask at the end.
    QCOMPARE(c.bob.tray.picture(), IconId::normal(0));
    QVERIFY(!c.bob.messageWaiting());
}

QTEST_MAIN(TestShell)
#include "test_shell.moc"
