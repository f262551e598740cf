#include "base/core/placement.h"
#include "gui/kit/twipsgeometry.h"
#include "gui/platform/qttranslations.h"
#include "gui/shell/shell.h"
#include "support/conversation.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using testkit::Conversation;

// The windows follow their models and hand the user's acts to the handlers, offscreen.
class TestWindows final : public QObject {
    Q_OBJECT
private slots:
    // First: its first row shows the first windows of this process, before any was ever framed.
    void everyWindowInItsCorner_data();
    void everyWindowInItsCorner();
    void composeTypeAndSend();
    void receivedWindowOpensAndAnswers();
    void noticeWidgetsComeAndGoWithTheirWindows();
    void noticeLeavesTheKeyboardWhereItWas_data();
    void noticeLeavesTheKeyboardWhereItWas();
    void registrationWindowGoesWithItsCloseButton();
    void everyWindowGoesWithItsCopy();
    void qtTextsAreJapanese();
    void menuChecksShowTheState();
    void optionsPageFollowsTheTabStrip();
    void enterPressesTheDefaultButton_data();
    void enterPressesTheDefaultButton();
    void tabLeavesTheWritingBoxes();
    void pasteNeverCrashes_data();
    void pasteNeverCrashes();
    void passwordBoxesShowStars();
};

void TestWindows::everyWindowInItsCorner_data()
{
    QTest::addColumn<int>(
        "position"); // which option: 0 centre, 1 left up, 2 left low, 3 right up, 4 right low
    QTest::newRow("right low") << 4;
    QTest::newRow("left up") << 1;
    QTest::newRow("right up") << 3;
    QTest::newRow("left low") << 2;
    QTest::newRow("centre") << 0;
}

// Each kind of window, shown by its own show step, lies wholly in the screen's free area, its frame
// against the chosen corner (above the strip kept free at the bottom): measured at the size it is
// shown at, frame included, even when no window of the process was framed before.
void TestWindows::everyWindowInItsCorner()
{
    QFETCH(int, position);
    Conversation c([position](core::Options &o) {
        o.posCenter = position == 0;
        o.posLeftUp = position == 1;
        o.posLeftLow = position == 2;
        o.posRightUp = position == 3;
        o.posRightLow = position == 4;
    });
    shell::Shell aliceShell(*c.alice.copy);
    copy::Copy &alice = *c.alice.copy;
    for (core::WindowModel *model : std::initializer_list<core::WindowModel *>{
             &alice.compose().window(), &alice.receivedWindow(), &alice.historyViewer().window(),
             &alice.partner().window(), &alice.notices().sendResult(), &alice.notices().reaction(),
             &alice.notices().small(), &alice.letters().window()})
        model->show();
    alice.options().open();
    alice.password().ask(settings::PasswordPrompt::Purpose::Registration);
    alice.menuClicked(core::MenuId::IconSet);
    alice.about().open();
    const QList<QWidget *> windows{
        &aliceShell.composeWindow(), &aliceShell.receivedWindow(),      &aliceShell.historyWindow(),
        aliceShell.partnerWindow(),  aliceShell.sendResultNotice(),     aliceShell.reactionNotice(),
        aliceShell.smallNotice(),    aliceShell.letterWindow(),         aliceShell.optionsWindow(),
        aliceShell.passwordWindow(), &aliceShell.iconSelectionWindow(), aliceShell.aboutWindow()};
    const int strip = kit::px(core::kTaskBarTwips);
    const bool left = position == 1 || position == 2;
    const bool right = position == 3 || position == 4;
    const bool up = position == 1 || position == 3;
    const bool low = position == 2 || position == 4;
    for (QWidget *window : windows) {
        QVERIFY(window != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QRect area = window->screen()->availableGeometry();
        QRect frame = window->frameGeometry();
        const QByteArray what = window->objectName().toLatin1();
        QVERIFY2(area.contains(frame), what.constData());
        // The reaction notice comes while the send-result notice is still open: it steps aside
        // from it, towards the middle, so that the one below still shows.
        if (window == aliceShell.reactionNotice()) {
            const auto corner = [&](const QRect &r) {
                return position == 0 ? r.center()
                                     : QPoint(right ? r.right() : r.left(), low ? r.bottom() : r.top());
            };
            const int step = kit::px(core::kCascadeTwips);
            const QPoint aside(right ? -step : step, low ? -step : step);
            QCOMPARE(corner(frame), corner(aliceShell.sendResultNotice()->frameGeometry()) + aside);
            frame.translate(-aside);
        }
        if (left)
            QVERIFY2(frame.left() == area.left(), what.constData());
        if (right)
            QVERIFY2(frame.right() == area.right(), what.constData());
        if (up)
            QCOMPARE(frame.top(), area.top());
        if (low)
            QCOMPARE(frame.bottom(), area.bottom() - strip);
        if (position == 0) {
            QVERIFY2(qAbs(frame.center().x() - area.center().x()) <= 1, what.constData());
            QVERIFY2(qAbs(frame.center().y() - area.center().y()) <= 1, what.constData());
        }
    }
}

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
    QCOMPARE(c.alice.compose().window().view().message, u"first\r\nsecond"_s);
    QTest::mouseClick(composeWindow.sendButton, Qt::LeftButton);
    c.net.flush();
    QVERIFY(!composeWindow.isVisible());
    QCOMPARE(c.bob.receivedWindow().view().message, u"first\r\nsecond"_s);
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
    QCOMPARE(c.alice.receivedWindow().view().message, u"thanks"_s);

    // The longest name shown (eleven characters and the blank that ends it): the window is as wide
    // as its caption needs, and stays on the screen.
    Conversation wide([](core::Options &o) { o.userName = u"ＷＷＷＷＷＷＷＷＷＷＷ"_s; });
    shell::Shell wideShell(*wide.bob.copy);
    wide.aliceSends(u"hi"_s);
    wide.bob.tray.pressLeft();
    receive::ReceivedWindow &wideWindow = wideShell.receivedWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&wideWindow));
    QVERIFY(wideWindow.windowTitle().contains(u"ＷＷＷＷＷＷＷＷＷＷＷ  Time"_s));
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    QVERIFY(wideWindow.width() > QFontMetrics(titleFont).horizontalAdvance(wideWindow.windowTitle()));
    QVERIFY(wideWindow.width() > window.width());
    QVERIFY(wideWindow.screen()->availableGeometry().contains(wideWindow.frameGeometry()));
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
    QVERIFY(!c.alice.notices().sendResultSlot().isLoaded());
    QTRY_VERIFY(aliceShell.sendResultNotice() == nullptr);

    // Where a new window would take the keyboard, the notice is a desktop notification instead, and
    // clicking that is its OK.
    Conversation w;
    shell::Shell waylandShell(*w.alice.copy, true);
    w.aliceSends(u"hi"_s);
    QVERIFY(waylandShell.sendResultNotice() == nullptr);
    const auto slot = platform::NotificationSlot::SendResult;
    QVERIFY(w.alice.notifications.shown(slot));
    QCOMPARE(w.alice.notifications.posts().constLast().title, u"ミルトアンヌ　送信確認"_s);
    QVERIFY(
        w.alice.notifications.posts().constLast().body.startsWith(u"メッセージは正しく送信されました。"_s));
    w.alice.notifications.click(slot);
    QVERIFY(!w.alice.notices().sendResultSlot().isLoaded());
    QVERIFY(!w.alice.notifications.shown(slot));
}

void TestWindows::noticeLeavesTheKeyboardWhereItWas_data()
{
    QTest::addColumn<bool>("small");
    QTest::newRow("notice") << false;
    QTest::newRow("small notice") << true;
}

// Bob opens Alice's message while she is typing the next one: the notice of it comes up beside
// her compose window, and what she types still goes into the message box.
void TestWindows::noticeLeavesTheKeyboardWhereItWas()
{
    QFETCH(bool, small);
    Conversation c([small](core::Options &o) {
        o.sendConfirm = 0;
        o.recvConfirmMin = small ? 1 : 0;
    });
    shell::Shell aliceShell(*c.alice.copy);
    c.aliceSends(u"hi"_s);
    c.alice.tray.pressLeft();
    shell::ComposeWindow &compose = aliceShell.composeWindow();
    QVERIFY(QTest::qWaitForWindowActive(&compose));
    compose.message->setFocus();
    QTest::keyClicks(compose.message, u"ab"_s);

    c.bob.tray.pressLeft();
    c.bob.copy->receivedMessage().openOrClose();
    c.net.flush();
    QWidget *notice = small ? static_cast<QWidget *>(aliceShell.smallNotice()) : aliceShell.reactionNotice();
    QVERIFY(notice != nullptr);
    QVERIFY(notice->isVisible());
    QTRY_COMPARE(QApplication::activeWindow(), &compose);
    QCOMPARE(QApplication::focusWidget(), compose.message);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), u"c"_s);
    QVERIFY(notice->isVisible());
    QCOMPARE(compose.message->toPlainText(), u"ab\nc"_s);
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
    // "暗号化…" opens the pairing window, which shows a code to type on the other side.
    QTest::mouseClick(window->pairButton, Qt::LeftButton);
    settings::PairingWindow *pairing = aliceShell.pairingWindow();
    QVERIFY(pairing != nullptr && pairing->isVisible());
    QVERIFY(pairing->status->text().contains(u"暗号化されていません"_s));
    QVERIFY(!pairing->unpairButton->isEnabled());
    QTest::mouseClick(pairing->showButton, Qt::LeftButton);
    QCOMPARE(pairing->code->text().size(), 24);
    QTest::mouseClick(pairing->closeButton, Qt::LeftButton);
    QTRY_VERIFY(aliceShell.pairingWindow() == nullptr);
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
        // A notice that unloads just before the end is on its way out when the copy goes.
        alice.notices().small().show();
        const QPointer<QWidget> leaving = aliceShell->smallNotice();
        alice.notices().smallSlot().unload();
        QVERIFY(leaving);
        for (core::WindowModel *model : std::initializer_list<core::WindowModel *>{
                 &alice.partner().window(), &alice.notices().sendResult(), &alice.notices().reaction(),
                 &alice.notices().small(), &alice.letters().window()})
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
// The buttons, dialogs and menus that Qt makes itself speak Japanese like the rest.
void TestWindows::qtTextsAreJapanese()
{
    QVERIFY(platform::installQtJapanese(*QCoreApplication::instance()));
    QDialogButtonBox buttons(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Cancel);
    QCOMPARE(buttons.button(QDialogButtonBox::Yes)->text(), u"はい(&Y)"_s);
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), u"キャンセル"_s);
    QLineEdit box;
    std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    QVERIFY(!menu->actions().isEmpty());
    static const QRegularExpression word(u"[A-Za-z]{2,}"_s);
    for (const QAction *action : menu->actions()) {
        const QString caption = action->text().section(u'\t', 0, 0); // without its shortcut key
        QVERIFY2(!word.match(caption).hasMatch(), qPrintable(caption));
    }
}

// A check mark in the tray menus shows the state, whatever the click that just went to it.
void TestWindows::menuChecksShowTheState()
{
    Conversation c({}, [](core::Options &o) {
        o.pwEnabled = 1;
        o.password = u"pw"_s;
    });
    shell::Shell bobShell(*c.bob.copy);
    shell::TrayMenus &menus = bobShell.menus();
    QAction *lock = menus.action(core::MenuId::Lock);
    lock->trigger();
    QVERIFY(lock->isChecked());
    // Unlocking asks for the password; until it is given, and after it is cancelled, the lock holds.
    lock->trigger();
    QVERIFY(c.bob.copy->password().window().isVisible());
    QVERIFY(lock->isChecked());
    c.bob.copy->password().cancel();
    QVERIFY(lock->isChecked());
    // The call kind chosen again stays chosen.
    QAction *person = menus.action(core::MenuId::CallPerson);
    QVERIFY(person->isChecked());
    person->trigger();
    QVERIFY(person->isChecked());
    QVERIFY(!menus.action(core::MenuId::CallPhone)->isChecked());
}

void TestWindows::optionsPageFollowsTheTabStrip()
{
    Conversation c;
    shell::Shell aliceShell(*c.alice.copy);
    c.alice.copy->menuClicked(core::MenuId::Options);
    settings::OptionsWindow *window = aliceShell.optionsWindow();
    QVERIFY(window != nullptr);
    window->tabStrip->setFocus();
    QTest::keyClick(window->tabStrip, Qt::Key_Right);
    QCOMPARE(window->pages->currentIndex(), 1);
    QCOMPARE(c.alice.copy->options().window().view().page, 2);
    QTest::mouseClick(window->tabStrip, Qt::LeftButton, {}, window->tabStrip->tabRect(3).center());
    QCOMPARE(window->pages->currentIndex(), 3);
    QTest::keyClick(window->tabStrip, Qt::Key_Left);
    QCOMPARE(window->pages->currentIndex(), 2);
    QCOMPARE(c.alice.copy->options().window().view().page, 3);
    // A dialog of fixed size, whatever page shows.
    QCOMPARE(window->minimumSize(), window->maximumSize());
}

void TestWindows::enterPressesTheDefaultButton_data()
{
    QTest::addColumn<QList<core::MenuId>>("menu");
    QTest::addColumn<int>("page");       // of the options dialog
    QTest::addColumn<QString>("field");  // where Enter is typed
    QTest::addColumn<QString>("typed");  // there, before Enter
    QTest::addColumn<QString>("answer"); // the message its button gives; none: the window closes
    using core::MenuId;
    QTest::newRow("登録") << QList{MenuId::Partner} << 0 << u"TxtIp1"_s << QString() << u"保存しました。"_s;
    QTest::newRow("icon selection") << QList{MenuId::IconSet} << 0 << u"Option1(3)"_s << QString()
                                    << u"ｱｲｺﾝ変更完了！"_s;
    QTest::newRow("password window") << QList{MenuId::Lock, MenuId::Lock} << 0 << u"TxtPw"_s << QString()
                                     << u"ﾊﾟｽﾜｰﾄﾞを入力してください。"_s;
    QTest::newRow("password page") << QList{MenuId::Options} << 2 << u"ChkPw1"_s << u" "_s
                                   << u"新ﾊﾟｽﾜｰﾄﾞを入力してください。"_s;
    QTest::newRow("options") << QList{MenuId::Options} << 4 << u"TxtName"_s << u"bob"_s << QString();
    QTest::newRow("on another button")
        << QList{MenuId::Partner} << 0 << u"CmdCancel"_s << QString() << QString();
    // Windows without a default button: Enter on a button with the focus presses it.
    QTest::newRow("on 送信") << QList{MenuId::Compose} << 0 << u"CmdSend"_s << QString()
                             << u"ﾒｯｾｰｼﾞを入力してください。"_s;
    QTest::newRow("on the letter's OK")
        << QList{MenuId::Letter} << 0 << u"CmdOK"_s << QString() << u"内容を入力してください。"_s;
}

// Enter typed in a dialog-like window presses its default button, as in any dialog.
void TestWindows::enterPressesTheDefaultButton()
{
    QFETCH(QList<core::MenuId>, menu);
    QFETCH(int, page);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, answer);
    const bool locking = menu.first() == core::MenuId::Lock;
    Conversation c({}, [locking](core::Options &o) {
        o.pwEnabled = locking ? 1 : 0;
        o.password = locking ? u"pw"_s : QString();
    });
    shell::Shell bobShell(*c.bob.copy);
    for (core::MenuId id : menu)
        c.bob.copy->menuClicked(id);
    if (page > 0)
        bobShell.optionsWindow()->tabStrip->setCurrentIndex(page - 1);
    QWidget *target = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && !target)
            target = window->findChild<QWidget *>(field);
    }
    QVERIFY2(target != nullptr && target->isVisible(), qPrintable(field));
    const QPointer<QWidget> window = target->window();
    target->setFocus();
    QTest::keyClicks(target, typed);
    QTest::keyClick(target, Qt::Key_Return);
    if (answer.isEmpty())
        QTRY_VERIFY(!window || !window->isVisible());
    else
        QCOMPARE(c.bob.dialogs.texts(), QStringList{answer});
}

void TestWindows::tabLeavesTheWritingBoxes()
{
    Conversation c;
    shell::Shell bobShell(*c.bob.copy);
    c.aliceSends(u"hi"_s);
    c.bob.tray.pressLeft();
    c.bob.copy->menuClicked(core::MenuId::Compose);
    c.bob.copy->menuClicked(core::MenuId::Letter);
    for (QPlainTextEdit *box : {bobShell.composeWindow().message, bobShell.receivedWindow().reply,
                                bobShell.letterWindow()->letter}) {
        QVERIFY(box->isVisible());
        box->setFocus();
        QTest::keyClicks(box, u"a"_s);
        QTest::keyClick(box, Qt::Key_Tab);
        QCOMPARE(box->toPlainText(), u"a"_s);
        QVERIFY(box->window()->focusWidget() != box);
    }
}

void TestWindows::pasteNeverCrashes_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("picture"); // on the clipboard; else data of no format at all
    for (const char *box : {"TxtMsg", "Text1", "Text2", "TxtLetter", "TxtLog", "TxtName", "TxtPw"}) {
        // What X11 hands over while no program owns the clipboard, as after our clipboard sending.
        QTest::addRow("%s, clipboard owned by nobody", box) << QString::fromLatin1(box) << false;
        QTest::addRow("%s, a picture on the clipboard", box) << QString::fromLatin1(box) << true;
    }
}

// Ctrl+V and Shift+Insert with no text to paste leave every text box as it was, and the program
// running; text still pastes into the boxes that take typing.
void TestWindows::pasteNeverCrashes()
{
    QFETCH(QString, box);
    QFETCH(bool, picture);
    Conversation c({}, [](core::Options &o) {
        o.pwEnabled = 1;
        o.password = u"pw"_s;
    });
    shell::Shell bobShell(*c.bob.copy);
    copy::Copy &bob = *c.bob.copy;
    c.aliceSends(u"hi"_s);
    c.bob.tray.pressLeft();
    bob.receivedMessage().openOrClose();
    for (core::MenuId id : {core::MenuId::Compose, core::MenuId::Letter, core::MenuId::History,
                            core::MenuId::Options, core::MenuId::Partner})
        bob.menuClicked(id);
    bob.historyViewer().openReceivedRow(1);
    QWidget *target = nullptr;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && !target)
            target = window->findChild<QWidget *>(box);
    }
    QVERIFY2(target != nullptr, qPrintable(box));
    auto *line = qobject_cast<QLineEdit *>(target);
    auto *lines = qobject_cast<QPlainTextEdit *>(target);
    const auto text = [&] { return line ? line->text() : lines->toPlainText(); };
    const bool editable = line ? !line->isReadOnly() : !lines->isReadOnly();

    auto *data = new QMimeData;
    if (picture)
        data->setImageData(QImage(4, 4, QImage::Format_RGB32));
    QGuiApplication::clipboard()->setMimeData(data);
    const QString before = text();
    target->setFocus();
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(text(), before);
    QGuiApplication::clipboard()->setText(u"ok"_s);
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(text().contains(u"ok"_s), editable);
}

// The password boxes show "*" for each character; the current password is typed in the clear.
void TestWindows::passwordBoxesShowStars()
{
    Conversation c({}, [](core::Options &o) {
        o.pwEnabled = 1;
        o.password = u"pw"_s;
    });
    shell::Shell bobShell(*c.bob.copy);
    c.bob.copy->menuClicked(core::MenuId::Options);
    c.bob.copy->menuClicked(core::MenuId::Partner);
    const settings::OptionsWindow *options = bobShell.optionsWindow();
    QVERIFY(options != nullptr && bobShell.passwordWindow() != nullptr);
    for (QLineEdit *box : {options->storedPassword, options->currentPassword, options->newPassword,
                           bobShell.passwordWindow()->password}) {
        const bool masked = box != options->currentPassword;
        QCOMPARE(box->echoMode(), masked ? QLineEdit::Password : QLineEdit::Normal);
        if (masked)
            QCOMPARE(box->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, box), int{u'*'});
    }
}

#include "test_windows.moc"
