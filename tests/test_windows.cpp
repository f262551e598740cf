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
    shell::FrmSnd &frmSnd = aliceShell.frmSnd();
    QVERIFY(frmSnd.isVisible());
    QCOMPARE(frmSnd.windowTitle(), u"送信ﾒｯｾｰｼﾞ"_s);
    QTest::keyClicks(frmSnd.TxtMsg, u"first"_s);
    QTest::keyClick(frmSnd.TxtMsg, Qt::Key_Return);
    QTest::keyClicks(frmSnd.TxtMsg, u"second"_s);
    QCOMPARE(c.alice.context().frmSnd.view().txtMsg, u"first\r\nsecond"_s);
    QTest::mouseClick(frmSnd.CmdSend, Qt::LeftButton);
    c.net.flush();
    QVERIFY(!frmSnd.isVisible());
    QCOMPARE(c.bob.context().frmRecv.view().text1, u"first\r\nsecond"_s);
    // The buttons keep to the right of the message box whatever the size.
    frmSnd.resize(600, 300);
    QVERIFY(frmSnd.CmdSend->geometry().left() > frmSnd.TxtMsg->geometry().right());
    QVERIFY(frmSnd.CmdCancel->geometry().top() > frmSnd.CmdSend->geometry().bottom());
}

void TestWindows::receivedWindowOpensAndAnswers()
{
    Conversation c;
    shell::Shell bobShell(*c.bob.copy);
    c.aliceSends(u"line 1\r\nline 2"_s);
    c.bob.tray.pressLeft();
    receive::FrmRecv &window = bobShell.frmRecv();
    QVERIFY(window.isVisible());
    QVERIFY(window.Text1->isHidden());
    QCOMPARE(window.CmdOPCL->text(), u"OPEN"_s);
    QCOMPARE(window.windowTitle(), u" From alice  Time 09:05:00"_s);
    QTest::mouseClick(window.CmdOPCL, Qt::LeftButton);
    QVERIFY(!window.Text1->isHidden());
    QCOMPARE(window.Text1->toPlainText(), u"line 1\nline 2"_s);
    QCOMPARE(window.CmdOPCL->text(), u"CLOSE"_s);
    // A message arriving meanwhile is hidden until OPEN, and not laid out before.
    c.aliceSends(u"line 3"_s);
    QVERIFY(window.Text1->isHidden());
    QCOMPARE(window.Text1->toPlainText(), u"line 1\nline 2"_s);
    QTest::mouseClick(window.CmdOPCL, Qt::LeftButton);
    QCOMPARE(window.Text1->toPlainText(), u"line 1\nline 2 | line 3"_s);
    QTest::keyClicks(window.Text2, u"thanks"_s);
    QTest::mouseClick(window.CmdCback, Qt::LeftButton);
    c.net.flush();
    QVERIFY(!window.isVisible());
    QCOMPARE(c.alice.context().frmRecv.view().text1, u"thanks"_s);
}

void TestWindows::noticeWidgetsComeAndGoWithTheirWindows()
{
    Conversation c;
    shell::Shell aliceShell(*c.alice.copy);
    c.aliceSends(u"hi"_s);
    QVERIFY(aliceShell.frmSndOK() != nullptr);
    QVERIFY(aliceShell.frmSndOK()->isVisible());
    QCOMPARE(aliceShell.frmSndOK()->Label1->text(), u"メッセージは正しく送信されました。"_s);
    // No label is cut off.
    for (QLabel *label : {aliceShell.frmSndOK()->Label1, aliceShell.frmSndOK()->Label2})
        QVERIFY(label->width() >= label->sizeHint().width());
    QTest::mouseClick(aliceShell.frmSndOK()->CmdOK, Qt::LeftButton);
    QVERIFY(!c.alice.context().sndOkSlot.isLoaded());
    QTRY_VERIFY(aliceShell.frmSndOK() == nullptr);
}

void TestWindows::registrationWindowGoesWithItsCloseButton()
{
    Conversation c;
    shell::Shell aliceShell(*c.alice.copy);
    c.alice.copy->menuClicked(core::MenuId::Aite);
    settings::FrmAddress *window = aliceShell.frmAddress();
    QVERIFY(window != nullptr);
    QVERIFY(window->isVisible());
    QCOMPARE(window->TxtIp1->text(), c.bob.address());
    QTest::mouseClick(window->CmdCancel, Qt::LeftButton);
    QTRY_VERIFY(aliceShell.frmAddress() == nullptr);
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
        context.frmSROK().show();
        const QPointer<QWidget> leaving = aliceShell->frmSROK();
        context.srOkSlot.unload();
        QVERIFY(leaving);
        for (core::WindowModel *model : std::initializer_list<core::WindowModel *>{
                 &context.frmAddress(), &context.frmSndOK(), &context.frmRcvOK(), &context.frmSROK(),
                 &context.frmLetter()})
            model->show();
        alice.options().open();
        alice.password().ask(settings::PasswordWindow::Purpose::Registration);
        alice.userSearch().mnuUserClick();
        alice.about().open();
        widgets << aliceShell->frmAddress() << aliceShell->frmSndOK() << aliceShell->frmRcvOK()
                << aliceShell->frmSROK() << aliceShell->frmLetter() << aliceShell->frmOpt()
                << aliceShell->frmPw() << aliceShell->frmUser() << aliceShell->frmVersion();
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
