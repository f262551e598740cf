#include "gui/shell/shell.h"
#include "support/conversation.h"

#include <QPointer>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using testkit::Conversation;

// The windows follow their models and hand the user's acts to the handlers, offscreen.
class TestWindows final : public QObject {
    Q_OBJECT
private slots:
    void composeTypeAndSend();
    void receivedWindowOpensAndAnswers();
    void noticeWidgetsComeAndGoWithTheirWindows();
    void registrationWindowGoesWithItsCloseButton();
    void everyWindowGoesWithItsCopy();
};

void TestWindows::composeTypeAndSend()
{
    Conversation c;
    shell::Shell aliceShell(*c.alice.copy);
    c.alice.tray.pressLeft();
    shell::ComposeWindow &composeWindow = aliceShell.composeWindow();
    QVERIFY(composeWindow.isVisible());
    QCOMPARE(composeWindow.windowTitle(), u"送信ﾒｯｾｰｼﾞ"_s);
    QTest::keyClicks(composeWindow.message, u"first"_s);
    QTest::keyClick(composeWindow.message, Qt::Key_Return);
    QTest::keyClicks(composeWindow.message, u"second"_s);
    QCOMPARE(c.alice.context().composeWindow.view().message, u"first\r\nsecond"_s);
    QTest::mouseClick(composeWindow.sendButton, Qt::LeftButton);
    c.net.flush();
    QVERIFY(!composeWindow.isVisible());
    QCOMPARE(c.bob.context().receivedWindow.view().message, u"first\r\nsecond"_s);
    // The buttons keep to the right of the message box whatever the size.
    composeWindow.resize(600, 300);
    QVERIFY(composeWindow.sendButton->geometry().left() > composeWindow.message->geometry().right());
    QVERIFY(composeWindow.cancelButton->geometry().top() > composeWindow.sendButton->geometry().bottom());
}

void TestWindows::receivedWindowOpensAndAnswers()
{
    Conversation c;
    shell::Shell bobShell(*c.bob.copy);
    c.aliceSends(u"line 1\r\nline 2"_s);
    c.bob.tray.pressLeft();
    receive::ReceivedWindow &window = bobShell.receivedWindow();
    QVERIFY(window.isVisible());
    QVERIFY(window.message->isHidden());
    QCOMPARE(window.openCloseButton->text(), u"OPEN"_s);
    QCOMPARE(window.windowTitle(), u" From alice  Time 09:05:00"_s);
    QTest::mouseClick(window.openCloseButton, Qt::LeftButton);
    QVERIFY(!window.message->isHidden());
    QCOMPARE(window.message->toPlainText(), u"line 1\nline 2"_s);
    QCOMPARE(window.openCloseButton->text(), u"CLOSE"_s);
    // A message arriving meanwhile is hidden until OPEN.
    c.aliceSends(u"line 3"_s);
    QVERIFY(window.message->isHidden());
    QTest::mouseClick(window.openCloseButton, Qt::LeftButton);
    QCOMPARE(window.message->toPlainText(), u"line 1\nline 2 | line 3"_s);
    QTest::keyClicks(window.reply, u"thanks"_s);
    QTest::mouseClick(window.replyButton, Qt::LeftButton);
    c.net.flush();
    QVERIFY(!window.isVisible());
    QCOMPARE(c.alice.context().receivedWindow.view().message, u"thanks"_s);
}

void TestWindows::noticeWidgetsComeAndGoWithTheirWindows()
{
    Conversation c;
    shell::Shell aliceShell(*c.alice.copy);
    c.aliceSends(u"hi"_s);
    QVERIFY(aliceShell.sendResultNotice() != nullptr);
    QVERIFY(aliceShell.sendResultNotice()->isVisible());
    QCOMPARE(aliceShell.sendResultNotice()->textLabel->text(), u"メッセージは正しく送信されました。"_s);
    // No label is cut off.
    for (QLabel *label : {aliceShell.sendResultNotice()->textLabel, aliceShell.sendResultNotice()->dateLabel})
        QVERIFY(label->width() >= label->sizeHint().width());
    QTest::mouseClick(aliceShell.sendResultNotice()->okButton, Qt::LeftButton);
    QVERIFY(!c.alice.context().sendResultSlot.isLoaded());
    QTRY_VERIFY(aliceShell.sendResultNotice() == nullptr);
}

void TestWindows::registrationWindowGoesWithItsCloseButton()
{
    Conversation c;
    shell::Shell aliceShell(*c.alice.copy);
    c.alice.copy->menuClicked(core::MenuId::Partner);
    settings::PartnerWindow *window = aliceShell.partnerWindow();
    QVERIFY(window != nullptr);
    QVERIFY(window->isVisible());
    QCOMPARE(window->address->text(), c.bob.address());
    QTest::mouseClick(window->closeButton, Qt::LeftButton);
    QTRY_VERIFY(aliceShell.partnerWindow() == nullptr);
}

void TestWindows::everyWindowGoesWithItsCopy()
{
    QList<QPointer<QWidget>> widgets;
    {
        auto c = std::make_unique<Conversation>();
        auto aliceShell = std::make_unique<shell::Shell>(*c->alice.copy);
        copy::Copy &alice = *c->alice.copy;
        core::Context &context = alice.context();
        // A notice that unloads just before the end is on its way out when the copy goes.
        context.smallNotice().show();
        const QPointer<QWidget> leaving = aliceShell->smallNotice();
        context.smallNoticeSlot.unload();
        QVERIFY(leaving);
        for (core::WindowModel *model : std::initializer_list<core::WindowModel *>{
                 &context.partnerWindow(), &context.sendResultNotice(), &context.reactionNotice(),
                 &context.smallNotice(), &context.letterWindow()})
            model->show();
        alice.options().open();
        alice.password().ask(settings::PasswordPrompt::Purpose::Registration);
        alice.userSearch().open();
        alice.about().open();
        widgets << aliceShell->partnerWindow() << aliceShell->sendResultNotice()
                << aliceShell->reactionNotice() << aliceShell->smallNotice() << aliceShell->letterWindow()
                << aliceShell->optionsWindow() << aliceShell->passwordWindow()
                << aliceShell->userSearchWindow() << aliceShell->aboutWindow();
        for (const QPointer<QWidget> &widget : std::as_const(widgets))
            QVERIFY(widget && widget->isVisible());
        widgets << leaving;
        aliceShell.reset();
        c.reset();
    }
    for (const QPointer<QWidget> &widget : std::as_const(widgets))
        QVERIFY(widget.isNull());
    // Nothing of them ticks on afterwards (the status bars' clocks tick every second).
    QTest::qWait(1200);
}

QTEST_MAIN(TestWindows)
#include "test_windows.moc"
