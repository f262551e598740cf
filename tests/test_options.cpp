#include "base/settings/optfile.h"
#include "support/conversation.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using core::MenuId;
using settings::OptCheck;
using settings::OptView;
using settings::PasswordWindow;
using testkit::Conversation;
using testkit::FakeNetwork;
using testkit::TestCopy;

namespace {
// A started copy with the options dialog open.
struct Dialog {
    FakeNetwork net;
    TestCopy copy{net, u"127.0.0.2"_s};
    settings::OptionsDialog *dialog = nullptr;
    explicit Dialog(const std::function<void(core::OptSettings &)> &options = {})
    {
        if (options)
            copy.writeOptions(options);
        if (!copy.start())
            qFatal("copy did not start");
        dialog = &copy.copy->options();
        copy.copy->menuClicked(MenuId::Other);
    }
    const OptView &v() { return dialog->frmOpt().view(); }
    void set(const std::function<void(OptView &)> &change) { dialog->frmOpt().edit(change); }
    core::OptSettings saved() const
    {
        core::OptSettings opt;
        settings::parseOptions(copy.readFile(u"optFile.dat"_s), opt);
        return opt;
    }
};
} // namespace

// The options dialog and the password: what it shows, what it saves, and what it refuses.
class TestOptions final : public QObject {
    Q_OBJECT
private slots:
    void openingWithDefaults();
    void dependentEnabling();
    void changingTabsDiscardsPasswordEdits();
    void protectionNeedsAPassword();
    void updateWritesAndStaysOpen();
    void pickedFontOutlivesCancelInMemoryOnly();
    void pwApply_data();
    void pwApply();
    void lockWithAndWithoutPassword();
    void registrationBehindThePassword();
    void passwordCanAlwaysBeTypedAgainAfterARestart();
};

void TestOptions::openingWithDefaults()
{
    Dialog d;
    QVERIFY(d.dialog->frmOpt().isVisible());
    QCOMPARE(d.dialog->frmOpt().caption(), u"ｵﾌﾟｼｮﾝ指定"_s);
    QCOMPARE(d.v().tab, 1);
    QCOMPARE(d.v().ChkSend, 1);
    QCOMPARE(d.v().ChkRecv, 1);
    QCOMPARE(d.v().ChkAdd, 1);
    QCOMPARE(d.v().ChkLog, 1);
    QVERIFY(d.v().ChkHznEnabled);
    for (int value : {d.v().ChkSndMin, d.v().ChkRcvMin, d.v().ChkTime, d.v().ChkHzn})
        QCOMPARE(value, 0);
    QVERIFY(d.v().ChkSndMinEnabled && d.v().ChkRcvMinEnabled && d.v().ChkTimeEnabled);
    QVERIFY(d.v().OptCenter);
    QVERIFY(!d.v().OptLeftup && !d.v().OptRightlow);
    QCOMPARE(d.v().ChkTip, 1);
    QCOMPARE(d.v().TxtToolTip, u"ミルトアンヌ"_s);
    QCOMPARE(d.v().TxtTitle, u"送信ﾒｯｾｰｼﾞ"_s);
    // No password: the current-password box is off, and so is the new one.
    QVERIFY(!d.v().TxtPw2Enabled);
    QVERIFY(!d.v().TxtPw3Enabled);
}

void TestOptions::dependentEnabling()
{
    Dialog d;
    d.set([](OptView &v) { v.ChkRcvMin = 1; });
    d.set([](OptView &v) { v.ChkRecv = 0; });
    d.dialog->checkClicked(OptCheck::Recv);
    QVERIFY(!d.v().ChkRcvMinEnabled);
    QVERIFY(!d.v().ChkTimeEnabled);
    QCOMPARE(d.v().ChkRcvMin, 1); // greyed out, not cleared
    d.set([](OptView &v) { v.ChkLog = 0; });
    d.dialog->checkClicked(OptCheck::Log);
    QVERIFY(!d.v().ChkHznEnabled);
    d.set([](OptView &v) { v.ChkTip = 0; });
    d.dialog->checkClicked(OptCheck::Tip);
    QVERIFY(!d.v().TxtToolTipEnabled);
    d.set([](OptView &v) { v.ChkSend = 0; });
    d.dialog->checkClicked(OptCheck::Send);
    QVERIFY(!d.v().ChkSndMinEnabled);
    // Saved as they stand.
    d.dialog->cmdOkClick();
    QCOMPARE(d.copy.opt().recvConfirm, 0);
    QCOMPARE(d.copy.opt().recvConfirmMin, 1);
    QCOMPARE(d.saved().recvConfirmMin, 1);
}

void TestOptions::changingTabsDiscardsPasswordEdits()
{
    Dialog d([](core::OptSettings &o) {
        o.pwEnabled = 1;
        o.password = u"secret"_s;
    });
    d.dialog->tabClick(2);
    d.set([](OptView &v) {
        v.ChkPw1 = 0;
        v.TxtPw2 = u"typed"_s;
        v.TxtPw3 = u"new"_s;
    });
    d.dialog->tabClick(3);
    QCOMPARE(d.v().ChkPw1, 1);
    QCOMPARE(d.v().TxtPw1, u"secret"_s);
    QVERIFY(d.v().TxtPw2.isEmpty());
    QVERIFY(d.v().TxtPw3.isEmpty());
    QCOMPARE(d.v().TxtFont, u"ＭＳ Ｐゴシック"_s);
    QCOMPARE(d.v().TxtSize, u"9"_s);
    QCOMPARE(d.v().TxtColor, 0xFFFFFFu);
    d.dialog->tabClick(4);
    QCOMPARE(d.v().focus, u"TxtName"_s);
}

void TestOptions::protectionNeedsAPassword()
{
    Dialog d;
    d.set([](OptView &v) {
        v.ChkPw1 = 1;
        v.TxtName = u"ゆうこ"_s;
    });
    d.dialog->cmdOkClick();
    QVERIFY(!d.copy.copy->options().slot.isLoaded());
    QCOMPARE(d.copy.opt().pwEnabled, 0);
    QCOMPARE(d.saved().pwEnabled, 0);
    QCOMPARE(d.saved().userName, u"ゆうこ"_s);
}

void TestOptions::updateWritesAndStaysOpen()
{
    Dialog d;
    d.set([](OptView &v) {
        v.OptCenter = false;
        v.OptRightlow = true;
        v.ChkBlink = 1;
    });
    d.dialog->cmdWriteClick();
    QVERIFY(d.dialog->frmOpt().isVisible());
    QCOMPARE(d.saved().posRightLow, u"True"_s);
    QCOMPARE(d.saved().posCenter, u"False"_s);
    QCOMPARE(d.saved().blinkIcon, u"1"_s);
    // ｷｬﾝｾﾙ after 更新 keeps what was written.
    d.dialog->cmdCancelClick();
    QCOMPARE(d.copy.opt().posRightLow, u"True"_s);
}

void TestOptions::pickedFontOutlivesCancelInMemoryOnly()
{
    Dialog d;
    d.copy.dialogs.pickFontNext(
        platform::FontChoice{u"IPAGothic"_s, 10.5, true, false, false, false, 0x0000FF});
    d.dialog->tabClick(3);
    d.dialog->cmdFontClick();
    QCOMPARE(d.v().TxtFont, u"IPAGothic"_s);
    QCOMPARE(d.v().TxtSize, u"10.5"_s);
    d.copy.dialogs.pickColorNext(0x00FFFF);
    d.dialog->cmdColorClick();
    d.copy.dialogs.pickColorNext(std::nullopt); // cancelled: nothing changes
    d.dialog->cmdColorClick();
    d.dialog->cmdCancelClick();

    const core::TextStyle style = d.copy.context().frmSnd.view().txtMsgStyle;
    QCOMPARE(style.fontName, u"IPAGothic"_s);
    QCOMPARE(style.fontSize, 10.5);
    QVERIFY(style.bold);
    QCOMPARE(style.color, 0x0000FFu);
    QCOMPARE(style.backColor, 0x00FFFFu);
    QCOMPARE(d.copy.context().frmRecv.view().text2Style, style);
    QCOMPARE(d.copy.opt().fontSize, u"10.5"_s);
    QVERIFY(d.copy.readFile(u"optFile.dat"_s).isEmpty()); // reaches the file at the next save only
}

void TestOptions::pwApply_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("tick");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("next");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("savedPassword"); // "-" when nothing is written
    QTest::newRow("first password") << QString() << 1 << QString() << u"abc"_s
                                    << u"ﾊﾟｽﾜｰﾄﾞは設定されました。"_s << u"abc"_s;
    QTest::newRow("current typed though none is stored")
        << QString() << 1 << u"x"_s << u"abc"_s << u"現ﾊﾟｽﾜｰﾄﾞが誤っています。"_s << u"-"_s;
    QTest::newRow("no new password") << u"old"_s << 1 << u"old"_s << QString()
                                     << u"新ﾊﾟｽﾜｰﾄﾞを入力してください。"_s << u"-"_s;
    QTest::newRow("change") << u"old"_s << 1 << u"old"_s << u"new"_s << u"ﾊﾟｽﾜｰﾄﾞは設定されました。"_s
                            << u"new"_s;
    QTest::newRow("case matters") << u"Old"_s << 1 << u"old"_s << u"new"_s << u"現ﾊﾟｽﾜｰﾄﾞが誤っています。"_s
                                  << u"-"_s;
    QTest::newRow("remove") << u"old"_s << 0 << u"old"_s << QString() << u"ﾊﾟｽﾜｰﾄﾞは解除されました。"_s
                            << QString();
    QTest::newRow("remove with a new one typed")
        << u"old"_s << 0 << u"old"_s << u"x"_s << u"ｽﾍﾟｰｽを入力してください。"_s << u"-"_s;
    QTest::newRow("remove with a wrong current one")
        << u"old"_s << 0 << u"bad"_s << QString() << u"現ﾊﾟｽﾜｰﾄﾞが誤っています。"_s << u"-"_s;
    QTest::newRow("nothing to do") << QString() << 0 << QString() << QString() << QString() << u"-"_s;
    // The options file could not give these back as typed.
    QTest::newRow("a double quote") << u"old"_s << 1 << u"old"_s << u"a\"b"_s
                                    << u"ﾊﾟｽﾜｰﾄﾞに使用できない文字が含まれています。"_s << u"-"_s;
    QTest::newRow("outside the code page") << QString() << 1 << QString() << u"비밀"_s
                                           << u"ﾊﾟｽﾜｰﾄﾞに使用できない文字が含まれています。"_s << u"-"_s;
}

void TestOptions::pwApply()
{
    QFETCH(QString, stored);
    QFETCH(int, tick);
    QFETCH(QString, current);
    QFETCH(QString, next);
    QFETCH(QString, message);
    QFETCH(QString, savedPassword);
    Dialog d([&](core::OptSettings &o) {
        o.pwEnabled = stored.isEmpty() ? 0 : 1;
        o.password = stored;
    });
    const QByteArray before = d.copy.readFile(u"optFile.dat"_s);
    d.dialog->tabClick(2);
    d.set([&](OptView &v) {
        v.ChkPw1 = tick;
        v.TxtPw2 = current;
        v.TxtPw3 = next;
    });
    d.dialog->cmdPokClick();
    QCOMPARE(d.copy.dialogs.texts(), message.isEmpty() ? QStringList{} : QStringList{message});
    if (savedPassword == u"-") {
        QCOMPARE(d.copy.readFile(u"optFile.dat"_s), before);
        return;
    }
    QCOMPARE(d.copy.dialogs.shown()[0].title, u"確認"_s);
    QCOMPARE(d.saved().password, savedPassword);
    QCOMPARE(d.saved().pwEnabled, tick);
    QVERIFY(d.v().TxtPw2.isEmpty() && d.v().TxtPw3.isEmpty());
}

void TestOptions::lockWithAndWithoutPassword()
{
    // Without a password: two clicks, no prompt.
    {
        Conversation c;
        c.bob.copy->menuClicked(MenuId::Lock);
        c.bob.copy->menuClicked(MenuId::Lock);
        QVERIFY(!c.bob.context().menu.checked(MenuId::Lock));
        QVERIFY(!c.bob.copy->password().slot.isLoaded());
    }
    // With one: the password window, and only the right password lifts the lock.
    Conversation c({}, [](core::OptSettings &o) {
        o.pwEnabled = 1;
        o.password = u"Secret"_s;
    });
    core::Context &bob = c.bob.context();
    PasswordWindow &pw = c.bob.copy->password();
    c.bob.copy->menuClicked(MenuId::Lock);
    c.aliceSends(u"while locked"_s);
    c.bob.copy->menuClicked(MenuId::Lock);
    QVERIFY(pw.frmPw().isVisible());
    QCOMPARE(pw.frmPw().caption(), u"ﾊﾟｽﾜｰﾄﾞ入力"_s);
    pw.command2Click();
    QVERIFY(bob.menu.checked(MenuId::Lock));

    c.bob.copy->menuClicked(MenuId::Lock);
    pw.cmdOkClick();
    pw.frmPw().edit([](settings::PwView &v) { v.TxtPw = u"secret"_s; });
    pw.cmdOkClick();
    QCOMPARE(c.bob.dialogs.texts(),
             (QStringList{u"ﾊﾟｽﾜｰﾄﾞを入力してください。"_s, u"ﾊﾟｽﾜｰﾄﾞが違います。"_s}));
    QCOMPARE(c.bob.dialogs.shown()[1].style & 0x70, 16);
    QVERIFY(pw.frmPw().isVisible());
    QCOMPARE(pw.frmPw().view().TxtPw, u"secret"_s); // the wrong text stays
    QVERIFY(bob.menu.checked(MenuId::Lock));
    pw.frmPw().edit([](settings::PwView &v) { v.TxtPw = u"Secret"_s; });
    pw.cmdOkClick();
    QVERIFY(!pw.slot.isLoaded());
    QVERIFY(!bob.menu.checked(MenuId::Lock));
    QVERIFY(bob.menu.enabled(MenuId::RecvMsg));
    QVERIFY(!bob.menu.enabled(MenuId::SendMsg));
    QVERIFY(!bob.menu.visible(MenuId::User));
}

void TestOptions::registrationBehindThePassword()
{
    Dialog d([](core::OptSettings &o) {
        o.pwEnabled = 1;
        o.password = u"pw"_s;
    });
    d.copy.copy->menuClicked(MenuId::Aite);
    QVERIFY(!d.copy.context().addressSlot.isLoaded() || !d.copy.context().frmAddress().isVisible());
    PasswordWindow &pw = d.copy.copy->password();
    QCOMPARE(pw.pwPurpose(), PasswordWindow::Purpose::Registration);
    pw.frmPw().edit([](settings::PwView &v) { v.TxtPw = u"pw"_s; });
    pw.cmdOkClick();
    QVERIFY(d.copy.context().frmAddress().isVisible());
}

void TestOptions::passwordCanAlwaysBeTypedAgainAfterARestart()
{
    FakeNetwork net;
    QTemporaryDir dir;
    auto lockAndUnlock = [](TestCopy &copy) {
        copy.copy->menuClicked(MenuId::Lock);
        copy.copy->menuClicked(MenuId::Lock);
    };
    // A refused password leaves the old one in force, after the next start too.
    {
        TestCopy copy(net, u"127.0.0.2"_s, dir.path());
        copy.writeOptions([](core::OptSettings &o) {
            o.pwEnabled = 1;
            o.password = u"old"_s;
        });
        QVERIFY(copy.start());
        copy.copy->menuClicked(MenuId::Other);
        settings::OptionsDialog &dialog = copy.copy->options();
        dialog.tabClick(2);
        dialog.frmOpt().edit([](OptView &v) {
            v.TxtPw2 = u"old"_s;
            v.TxtPw3 = u"say \"hi\""_s;
        });
        dialog.cmdOkClick();
        QCOMPARE(copy.dialogs.texts(), QStringList{u"ﾊﾟｽﾜｰﾄﾞに使用できない文字が含まれています。"_s});
    }
    {
        TestCopy copy(net, u"127.0.0.2"_s, dir.path());
        QVERIFY(copy.start());
        lockAndUnlock(copy);
        PasswordWindow &pw = copy.copy->password();
        pw.frmPw().edit([](settings::PwView &v) { v.TxtPw = u"old"_s; });
        pw.cmdOkClick();
        QVERIFY(!copy.context().menu.checked(MenuId::Lock));
    }
    // A file that says "protected" with no password protects nothing.
    TestCopy copy(net, u"127.0.0.2"_s, dir.path());
    copy.writeFile(u"optFile.dat"_s, "\"optFile\"\r\n\"0\"\r\n1,0,1,0,0,1\r\n1,\"\",\"\",\"\"\r\n");
    QVERIFY(copy.start());
    QCOMPARE(copy.opt().pwEnabled, 0);
    lockAndUnlock(copy);
    QVERIFY(!copy.context().menu.checked(MenuId::Lock));
    copy.copy->menuClicked(MenuId::Aite);
    QVERIFY(copy.context().frmAddress().isVisible());
    QVERIFY(!copy.copy->password().slot.isLoaded());
}

QTEST_MAIN(TestOptions)
#include "test_options.moc"
