#include "base/core/placement.h"
#include "base/settings/autostart.h"
#include "base/settings/optfile.h"
#include "base/settings/programconfig.h"
#include "base/text/cp932.h"
#include "gui/platform/qtdialogs.h"
#include "gui/shell/shell.h"
#include "support/conversation.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using core::MenuId;
using settings::OptionsCheck;
using settings::OptionsView;
using settings::PasswordPrompt;
using testkit::Answer;
using testkit::answerOf;
using testkit::BoxButtons;
using testkit::BoxIcon;
using testkit::boxStyle;
using testkit::Conversation;
using testkit::FakeNetwork;
using testkit::TestCopy;

namespace {
// A started copy with the options dialog open.
struct Dialog {
    FakeNetwork net;
    TestCopy copy{net, u"127.0.0.2"_s};
    settings::OptionsEditor *dialog = nullptr;
    explicit Dialog(const std::function<void(core::Options &)> &options = {})
    {
        if (options)
            copy.writeOptions(options);
        if (!copy.start())
            qFatal("copy did not start");
        dialog = &copy.copy->options();
        copy.copy->menuClicked(MenuId::Options);
    }
    const OptionsView &v() { return dialog->window().view(); }
    void set(const std::function<void(OptionsView &)> &change) { dialog->window().edit(change); }
    core::Options saved() const
    {
        core::Options opt;
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
    void textColourIsAskedAfterTheFont_data();
    void textColourIsAskedAfterTheFont();
    void startAtLoginIsTheAutostartEntry();
    void startAtLoginFailureIsTold_data();
    void startAtLoginFailureIsTold();
    void startAtLoginLeavesTheDesktopsSwitch_data();
    void startAtLoginLeavesTheDesktopsSwitch();
    void desktopNotificationsHaveAFileOfTheirOwn();
    void oddOptionFilesShownAsTheyAct_data();
    void oddOptionFilesShownAsTheyAct();
    void fontDialogKeepsAFractionalSize();
    void boxesCloseWhenTheProgramEnds();
    void applyPassword_data();
    void applyPassword();
    void lockWithAndWithoutPassword();
    void registrationBehindThePassword();
    void passwordCanAlwaysBeTypedAgainAfterARestart();
};

void TestOptions::openingWithDefaults()
{
    Dialog d;
    QVERIFY(d.dialog->window().isVisible());
    QCOMPARE(d.dialog->window().caption(), u"ｵﾌﾟｼｮﾝ指定"_s);
    QCOMPARE(d.v().page, 1);
    QCOMPARE(d.v().sendConfirm, 1);
    QCOMPARE(d.v().recvConfirm, 1);
    QCOMPARE(d.v().addOnHold, 1);
    QCOMPARE(d.v().logEnabled, 1);
    QVERIFY(d.v().logSaveEnabled);
    for (int value : {d.v().sendConfirmSmall, d.v().recvConfirmSmall, d.v().autoErase, d.v().logSave})
        QCOMPARE(value, 0);
    QVERIFY(d.v().sendConfirmSmallEnabled && d.v().recvConfirmSmallEnabled && d.v().autoEraseEnabled);
    QVERIFY(d.v().posCenter);
    QVERIFY(!d.v().posLeftUp && !d.v().posRightLow);
    QCOMPARE(d.v().tipEnabled, 1);
    QCOMPARE(d.v().tipText, u"ミルトアンヌ"_s);
    QCOMPARE(d.v().sendTitle, u"送信ﾒｯｾｰｼﾞ"_s);
    // No password: the current-password box is off, and so is the new one.
    QVERIFY(!d.v().currentPasswordEnabled);
    QVERIFY(!d.v().newPasswordEnabled);
}

void TestOptions::dependentEnabling()
{
    Dialog d;
    d.set([](OptionsView &v) { v.recvConfirmSmall = 1; });
    d.set([](OptionsView &v) { v.recvConfirm = 0; });
    d.dialog->checkClicked(OptionsCheck::Recv);
    QVERIFY(!d.v().recvConfirmSmallEnabled);
    QVERIFY(!d.v().autoEraseEnabled);
    QCOMPARE(d.v().recvConfirmSmall, 1); // greyed out, not cleared
    d.set([](OptionsView &v) { v.logEnabled = 0; });
    d.dialog->checkClicked(OptionsCheck::Log);
    QVERIFY(!d.v().logSaveEnabled);
    d.set([](OptionsView &v) { v.tipEnabled = 0; });
    d.dialog->checkClicked(OptionsCheck::Tip);
    QVERIFY(!d.v().tipTextEnabled);
    d.set([](OptionsView &v) { v.sendConfirm = 0; });
    d.dialog->checkClicked(OptionsCheck::Send);
    QVERIFY(!d.v().sendConfirmSmallEnabled);
    // Saved as they stand.
    d.dialog->accept();
    QCOMPARE(d.copy.opt().recvConfirm, 0);
    QCOMPARE(d.copy.opt().recvConfirmMin, 1);
    QCOMPARE(d.saved().recvConfirmMin, 1);
}

void TestOptions::changingTabsDiscardsPasswordEdits()
{
    Dialog d([](core::Options &o) {
        o.pwEnabled = 1;
        o.password = u"secret"_s;
    });
    d.dialog->showPage(2);
    d.set([](OptionsView &v) {
        v.passwordEnabled = 0;
        v.currentPassword = u"typed"_s;
        v.newPassword = u"new"_s;
    });
    d.dialog->showPage(3);
    QCOMPARE(d.v().passwordEnabled, 1);
    QCOMPARE(d.v().storedPassword, u"secret"_s);
    QVERIFY(d.v().currentPassword.isEmpty());
    QVERIFY(d.v().newPassword.isEmpty());
    QCOMPARE(d.v().fontName, u"ＭＳ Ｐゴシック"_s);
    QCOMPARE(d.v().fontSize, u"9"_s);
    QCOMPARE(d.v().fontColor, 0xFFFFFFu);
    d.dialog->showPage(4);
    QCOMPARE(d.v().focus, u"TxtName"_s);
}

void TestOptions::protectionNeedsAPassword()
{
    Dialog d;
    d.set([](OptionsView &v) {
        v.passwordEnabled = 1;
        v.userName = u"ゆうこ"_s;
    });
    d.dialog->accept();
    QVERIFY(!d.copy.copy->options().slot.isLoaded());
    QCOMPARE(d.copy.opt().pwEnabled, 0);
    QCOMPARE(d.saved().pwEnabled, 0);
    QCOMPARE(d.saved().userName, u"ゆうこ"_s);
}

void TestOptions::updateWritesAndStaysOpen()
{
    Dialog d;
    d.set([](OptionsView &v) {
        v.posCenter = false;
        v.posRightLow = true;
        v.blinkIcon = 1;
    });
    d.dialog->apply();
    QVERIFY(d.dialog->window().isVisible());
    QVERIFY(d.saved().posRightLow);
    QVERIFY(!d.saved().posCenter);
    QVERIFY(d.saved().blinkIcon);
    // ｷｬﾝｾﾙ after 更新 keeps what was written.
    d.dialog->cancel();
    QVERIFY(d.copy.opt().posRightLow);
}

void TestOptions::pickedFontOutlivesCancelInMemoryOnly()
{
    Dialog d;
    d.copy.dialogs.pickFontNext(platform::FontChoice{u"IPAGothic"_s, 10.5, true, false, false, false});
    d.copy.dialogs.pickColorNext(0x0000FF);
    d.dialog->showPage(3);
    d.dialog->chooseFont();
    QCOMPARE(d.v().fontName, u"IPAGothic"_s);
    QCOMPARE(d.v().fontSize, u"10.5"_s);
    d.copy.dialogs.pickColorNext(0x00FFFF);
    d.dialog->chooseColor();
    d.copy.dialogs.pickColorNext(std::nullopt); // cancelled: nothing changes
    d.dialog->chooseColor();
    d.dialog->cancel();

    const core::TextStyle style = d.copy.compose().window().view().messageStyle;
    QCOMPARE(style.fontName, u"IPAGothic"_s);
    QCOMPARE(style.fontSize, 10.5);
    QVERIFY(style.bold);
    QCOMPARE(style.color, 0x0000FFu);
    QCOMPARE(style.backColor, 0x00FFFFu);
    QCOMPARE(d.copy.receivedWindow().view().replyStyle, style);
    QCOMPARE(d.copy.opt().fontSize, u"10.5"_s);
    QVERIFY(d.copy.readFile(u"optFile.dat"_s).isEmpty()); // reaches the file at the next save only
}

void TestOptions::textColourIsAskedAfterTheFont_data()
{
    QTest::addColumn<bool>("fontPicked");
    QTest::addColumn<int>("colourPicked"); // -1: the colour dialog is cancelled
    QTest::addColumn<QString>("savedColour");
    QTest::newRow("font, then a colour") << true << 0x3366CC << u"3368652"_s;
    QTest::newRow("font, colour cancelled: the colour stays") << true << -1 << u"255"_s;
    QTest::newRow("font cancelled: no colour asked, both stay") << false << 0x3366CC << u"255"_s;
}

void TestOptions::textColourIsAskedAfterTheFont()
{
    QFETCH(bool, fontPicked);
    QFETCH(int, colourPicked);
    QFETCH(QString, savedColour);
    Dialog d([](core::Options &o) { o.fontColor = u"255"_s; });
    d.dialog->showPage(3);
    if (fontPicked)
        d.copy.dialogs.pickFontNext(platform::FontChoice{u"IPAGothic"_s, 10.5, false, true, false, false});
    d.copy.dialogs.pickColorNext(colourPicked < 0 ? std::nullopt : std::optional<quint32>(colourPicked));
    d.dialog->chooseFont();
    // The colour dialog starts from the text colour, not from the background's.
    QCOMPARE(d.copy.dialogs.colorPresets(), fontPicked ? QList<quint32>{255} : QList<quint32>{});
    QCOMPARE(d.copy.opt().fontColor, savedColour);
    QCOMPARE(d.copy.compose().window().view().messageStyle.color, savedColour.toUInt());
    d.dialog->apply();
    const QString fontLine = fontPicked ? u"\"IPAGothic\",\"10.5\",\"%1\",\"True\",\"False\""_s
                                        : u"\"ＭＳ Ｐゴシック\",\"9\",\"%1\",\"False\",\"False\""_s;
    QCOMPARE(text::fromCp932(d.copy.readFile(u"optFile.dat"_s).split('\n').value(7)),
             fontLine.arg(savedColour) + u",\"False\",\"False\",\"16777215\"\r"_s);
}

// The box on the first page writes and removes the autostart entry when the dialog is applied,
// shows on opening whether the entry is there, and leaves the options file alone.
void TestOptions::startAtLoginIsTheAutostartEntry()
{
    Dialog d;
    shell::Shell shell(*d.copy.copy);
    d.copy.copy->menuClicked(MenuId::Options); // again, for the window to show it
    QCheckBox *box = shell.optionsWindow()->startAtLogin;
    QCOMPARE(box->text(), u"ログイン時に起動"_s);
    QVERIFY(box->isVisible());
    QVERIFY(!box->isChecked());
    QVERIFY(box->width() >= box->sizeHint().width()); // the caption is not cut
    QVERIFY(box->parentWidget()->rect().contains(box->geometry()));
    d.dialog->apply();
    const QByteArray options = d.copy.readFile(u"optFile.dat"_s);

    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    QVERIFY(!QFile::exists(d.copy.autostartFile())); // only once the dialog is applied
    QTest::mouseClick(shell.optionsWindow()->applyButton, Qt::LeftButton);
    QFile entry(d.copy.autostartFile());
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QString program = QCoreApplication::applicationFilePath();
    QVERIFY(!program.contains(u' ')); // so Exec names it unquoted
    QVERIFY(QString::fromUtf8(entry.readAll()).split(u'\n').contains(u"Exec="_s + program));
    QCOMPARE(d.copy.readFile(u"optFile.dat"_s), options);
    d.dialog->accept();

    d.copy.copy->menuClicked(MenuId::Options);
    box = shell.optionsWindow()->startAtLogin;
    QVERIFY(box->isChecked());
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    QTest::mouseClick(shell.optionsWindow()->okButton, Qt::LeftButton);
    QVERIFY(!QFile::exists(d.copy.autostartFile()));
    QCOMPARE(d.copy.readFile(u"optFile.dat"_s), options);
    d.copy.copy->menuClicked(MenuId::Options);
    QCOMPARE(d.v().startAtLogin, 0);
    QVERIFY(d.copy.dialogs.shown().isEmpty());
}

void TestOptions::startAtLoginFailureIsTold_data()
{
    QTest::addColumn<bool>("turnOn");
    QTest::addColumn<QString>("message");
    QTest::newRow("the entry cannot be written")
        << true << u"ログイン時に起動するよう設定できませんでした。"_s;
    QTest::newRow("the entry cannot be removed") << false << u"ログイン時の起動を解除できませんでした。"_s;
}

void TestOptions::startAtLoginFailureIsTold()
{
    QFETCH(bool, turnOn);
    QFETCH(QString, message);
    Dialog d;
    if (!turnOn) {
        d.set([](OptionsView &v) { v.startAtLogin = 1; });
        d.dialog->apply();
        QVERIFY(QFile::exists(d.copy.autostartFile()));
    }
    d.set([turnOn](OptionsView &v) { v.startAtLogin = turnOn ? 1 : 0; });
    d.copy.files.failNextWrites(1, platform::FileResult::Failed, 1); // the options file is written first
    d.dialog->apply();
    QCOMPARE(d.copy.dialogs.shown().size(), 1);
    const auto &shown = d.copy.dialogs.shown().constFirst();
    QCOMPARE(shown.text.section(u"\r\n"_s, 0, 0), message);
    QVERIFY(shown.text.contains(d.copy.autostartFile()));
    QCOMPARE(shown.title, u"ｴﾗｰ確認"_s);
    QCOMPARE(shown.look(), boxStyle(BoxButtons::Ok, BoxIcon::Critical));
    // The box shows what is so.
    QCOMPARE(QFile::exists(d.copy.autostartFile()), !turnOn);
    QCOMPARE(d.v().startAtLogin, turnOn ? 0 : 1);
}

void TestOptions::startAtLoginLeavesTheDesktopsSwitch_data()
{
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<bool>("on");
    const QByteArray own = settings::autostartEntry(QCoreApplication::applicationFilePath()).value();
    QTest::newRow("hidden by the desktop") << own + "Hidden=true\n" << false;
    QTest::newRow("switched off by GNOME")
        << QByteArray(own).replace("X-GNOME-Autostart-enabled=true", "X-GNOME-Autostart-enabled = false")
        << false;
    QTest::newRow("edited by the user") << QByteArray(own).replace("Exec=", "Exec=nice ") << true;
}

// The entry is the desktop's and the user's as much as ours: it is shown as the session will take
// it, and written only when the user changes the box.
void TestOptions::startAtLoginLeavesTheDesktopsSwitch()
{
    QFETCH(QByteArray, entry);
    QFETCH(bool, on);
    Dialog d;
    QVERIFY(QDir().mkpath(QFileInfo(d.copy.autostartFile()).path()));
    QFile file(d.copy.autostartFile());
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(entry) == entry.size());
    file.close();
    auto present = [&] {
        QFile written(d.copy.autostartFile());
        return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
    };
    d.copy.copy->menuClicked(MenuId::Options);
    QCOMPARE(d.v().startAtLogin, on ? 1 : 0);
    d.set([](OptionsView &v) { v.userName = u"ゆうこ"_s; });
    d.dialog->accept();
    QCOMPARE(present(), entry);
    if (on)
        return;
    d.copy.copy->menuClicked(MenuId::Options);
    d.set([](OptionsView &v) { v.startAtLogin = 1; });
    d.dialog->accept();
    QCOMPARE(present(), settings::autostartEntry(QCoreApplication::applicationFilePath()).value());
    QVERIFY(d.copy.dialogs.shown().isEmpty());
}

// The box under the blink turns the desktop notifications off and on. It is kept in the program's
// config file, not in optFile.dat; turned off, the notification shown goes and no other comes.
void TestOptions::desktopNotificationsHaveAFileOfTheirOwn()
{
    Dialog d;
    shell::Shell shell(*d.copy.copy);
    d.copy.copy->menuClicked(MenuId::Options);
    const auto box = [&] { return shell.optionsWindow()->findChild<QCheckBox *>(u"ChkNotify"_s); };
    QCOMPARE(box()->text(), u"デスクトップに通知する"_s);
    QVERIFY(box()->isVisible());
    QVERIFY(box()->isChecked());
    QVERIFY(box()->width() >= box()->sizeHint().width()); // the caption is not cut
    QVERIFY(box()->parentWidget()->rect().contains(box()->geometry()));
    d.dialog->apply();
    const QByteArray options = d.copy.readFile(u"optFile.dat"_s);
    auto someone = d.net.host(u"127.0.0.3"_s);
    const auto someoneWrites = [&] {
        someone->send(d.copy.address(), 57979, text::toCp932(u"someone     09:05:00hello"));
        d.net.flush();
    };
    someoneWrites();
    testkit::FakeNotifications &desktop = d.copy.notifications;
    QVERIFY(desktop.shown());

    // A file that cannot be written is told, and nothing changes.
    QVERIFY(QDir().mkpath(QFileInfo(d.copy.configFile()).path()));
    QVERIFY(QDir().mkdir(d.copy.configFile()));
    QTest::mouseClick(box(), Qt::LeftButton, {}, QPoint(4, box()->height() / 2));
    QVERIFY(desktop.shown()); // only once the dialog is applied
    d.dialog->apply();
    QCOMPARE(d.copy.dialogs.shown().size(), 1);
    QVERIFY(d.copy.dialogs.shown().constFirst().text.contains(d.copy.configFile()));
    QVERIFY(desktop.shown());
    QVERIFY(box()->isChecked());

    QVERIFY(QDir().rmdir(d.copy.configFile()));
    QTest::mouseClick(box(), Qt::LeftButton, {}, QPoint(4, box()->height() / 2));
    QTest::mouseClick(shell.optionsWindow()->okButton, Qt::LeftButton);
    QVERIFY(!desktop.shown());
    QVERIFY(!settings::desktopNotificationsOn(d.copy.configFile()));
    QCOMPARE(d.copy.readFile(u"optFile.dat"_s), options);
    someoneWrites();
    QCOMPARE(desktop.posts().size(), 1);
    d.copy.copy->menuClicked(MenuId::Options);
    QVERIFY(!box()->isChecked());
}

void TestOptions::oddOptionFilesShownAsTheyAct_data()
{
    QTest::addColumn<int>("line"); // replaced in the file of the defaults, counted from 0
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("shown");    // the control that shows the value ticked or selected
    QTest::addColumn<QString>("notShown"); // one that must not
    QTest::addColumn<QString>("pick");     // what the user clicks then; the choice must stand
    QTest::newRow("two positions: the later one acts")
        << 4 << QByteArray(R"("True","True","False","False","False")") << u"OptLeftup"_s << u"OptCenter"_s
        << u"OptRightlow"_s;
    QTest::newRow("protection 2") << 3 << QByteArray(R"(2,"pw","","")") << u"ChkPw1"_s << QString()
                                  << QString();
    QTest::newRow("blink 2") << 6 << text::toCp932(uR"("",0,1,1,"ミルトアンヌ",0,0,"2","送信ﾒｯｾｰｼﾞ",0)"_s)
                             << u"ChkBlink"_s << QString() << u"ChkBlink"_s;
}

// A file made by hand or by another copy: the dialog shows each value as the program acts on it,
// an OK that changes nothing writes it back as it was read, and what the user picks then wins.
void TestOptions::oddOptionFilesShownAsTheyAct()
{
    QFETCH(int, line);
    QFETCH(QByteArray, text);
    QFETCH(QString, shown);
    QFETCH(QString, notShown);
    QFETCH(QString, pick);
    FakeNetwork net;
    TestCopy copy(net, u"127.0.0.2"_s);
    core::Options defaults;
    defaults.fontName = u"ＭＳ Ｐゴシック"_s;
    QList<QByteArray> lines = settings::formatOptions(defaults).split('\n');
    lines[line] = text + '\r';
    const QByteArray file = lines.join('\n');
    copy.writeFile(u"optFile.dat"_s, file);
    QVERIFY(copy.start());
    shell::Shell shell(*copy.copy);
    auto button = [&](const QString &name) {
        return shell.optionsWindow()->findChild<QAbstractButton *>(name);
    };
    copy.copy->menuClicked(MenuId::Options);
    QVERIFY(button(shown)->isChecked());
    if (!notShown.isEmpty())
        QVERIFY(!button(notShown)->isChecked());
    copy.copy->options().apply();
    QCOMPARE(copy.readFile(u"optFile.dat"_s), file);

    if (shown == u"OptLeftup") {
        QCOMPARE(core::placeWindow(copy.opt(), QRect(0, 0, 19200, 14400), QSize(4000, 2000), QPoint(1, 1)),
                 QPoint(0, 0));
    } else if (shown == u"ChkPw1") {
        copy.copy->menuClicked(MenuId::Partner);
        QVERIFY(copy.copy->password().window().isVisible());
    }
    if (pick.isEmpty())
        return;
    button(pick)->click();
    const bool chosen = button(pick)->isChecked();
    copy.copy->options().accept();
    copy.copy->menuClicked(MenuId::Options);
    QCOMPARE(button(pick)->isChecked(), chosen);
    if (pick != shown)
        QVERIFY(!button(shown)->isChecked());
}

// Qt's font dialog knows whole sizes only; a fraction the user did not change stays.
void TestOptions::fontDialogKeepsAFractionalSize()
{
    platform::QtDialogs dialogs;
    auto acceptWith = [](std::optional<double> size) {
        QTimer::singleShot(0, [size] {
            auto *dialog = qobject_cast<QFontDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog != nullptr);
            if (size) {
                QFont font = dialog->currentFont();
                font.setPointSizeF(*size);
                dialog->setCurrentFont(font);
            }
            dialog->accept();
        });
    };
    const platform::FontChoice preset{u"IPAGothic"_s, 10.5, false, false, false, false};
    acceptWith(std::nullopt);
    QCOMPARE(dialogs.chooseFont(preset).value().size, 10.5);
    acceptWith(14);
    QCOMPARE(dialogs.chooseFont(preset).value().size, 14.0);
}

// A box open when the program is ended without its user closes; a later one is not shown.
void TestOptions::boxesCloseWhenTheProgramEnds()
{
    platform::QtDialogs dialogs;
    QTimer::singleShot(0, [&dialogs] {
        QVERIFY(qobject_cast<QMessageBox *>(QApplication::activeModalWidget()) != nullptr);
        dialogs.closeAll();
    });
    QCOMPARE(answerOf(dialogs.messageBox(u"?"_s, platform::box::yesNo, u"t"_s)), Answer::Cancel);
    QCOMPARE(answerOf(dialogs.messageBox(u"!"_s, platform::box::okOnly, u"t"_s)), Answer::Ok);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void TestOptions::applyPassword_data()
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

void TestOptions::applyPassword()
{
    QFETCH(QString, stored);
    QFETCH(int, tick);
    QFETCH(QString, current);
    QFETCH(QString, next);
    QFETCH(QString, message);
    QFETCH(QString, savedPassword);
    Dialog d([&](core::Options &o) {
        o.pwEnabled = stored.isEmpty() ? 0 : 1;
        o.password = stored;
    });
    const QByteArray before = d.copy.readFile(u"optFile.dat"_s);
    d.dialog->showPage(2);
    d.set([&](OptionsView &v) {
        v.passwordEnabled = tick;
        v.currentPassword = current;
        v.newPassword = next;
    });
    d.dialog->setPassword();
    QCOMPARE(d.copy.dialogs.texts(), message.isEmpty() ? QStringList{} : QStringList{message});
    if (savedPassword == u"-") {
        QCOMPARE(d.copy.readFile(u"optFile.dat"_s), before);
        return;
    }
    QCOMPARE(d.copy.dialogs.shown()[0].title, u"確認"_s);
    QCOMPARE(d.saved().password, savedPassword);
    QCOMPARE(d.saved().pwEnabled, tick);
    QVERIFY(d.v().currentPassword.isEmpty() && d.v().newPassword.isEmpty());
    // The dialog's OK after it closes the dialog: the page holds what was saved, nothing to check.
    d.dialog->accept();
    QCOMPARE(d.copy.dialogs.texts(), QStringList{message});
    QVERIFY(!d.dialog->slot.isLoaded());
    QCOMPARE(d.saved().password, savedPassword);
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
    Conversation c({}, [](core::Options &o) {
        o.pwEnabled = 1;
        o.password = u"Secret"_s;
    });
    core::Context &bob = c.bob.context();
    PasswordPrompt &pw = c.bob.copy->password();
    c.bob.copy->menuClicked(MenuId::Lock);
    c.aliceSends(u"while locked"_s);
    c.bob.copy->menuClicked(MenuId::Lock);
    QVERIFY(pw.window().isVisible());
    QCOMPARE(pw.window().caption(), u"ﾊﾟｽﾜｰﾄﾞ入力"_s);
    pw.cancel();
    QVERIFY(bob.menu.checked(MenuId::Lock));

    c.bob.copy->menuClicked(MenuId::Lock);
    pw.submit();
    pw.window().edit([](settings::PasswordView &v) { v.password = u"secret"_s; });
    pw.submit();
    QCOMPARE(c.bob.dialogs.texts(),
             (QStringList{u"ﾊﾟｽﾜｰﾄﾞを入力してください。"_s, u"ﾊﾟｽﾜｰﾄﾞが違います。"_s}));
    QCOMPARE(c.bob.dialogs.shown()[1].look().icon, BoxIcon::Critical);
    QVERIFY(pw.window().isVisible());
    QCOMPARE(pw.window().view().password, u"secret"_s); // the wrong text stays
    QVERIFY(bob.menu.checked(MenuId::Lock));
    pw.window().edit([](settings::PasswordView &v) { v.password = u"Secret"_s; });
    pw.submit();
    QVERIFY(!pw.slot.isLoaded());
    QVERIFY(!bob.menu.checked(MenuId::Lock));
    QVERIFY(bob.menu.enabled(MenuId::ShowReceived));
    QVERIFY(!bob.menu.enabled(MenuId::Compose));
    QVERIFY(!bob.menu.visible(MenuId::UserSearch));
}

void TestOptions::registrationBehindThePassword()
{
    Dialog d([](core::Options &o) {
        o.pwEnabled = 1;
        o.password = u"pw"_s;
    });
    d.copy.copy->menuClicked(MenuId::Partner);
    QVERIFY(!d.copy.copy->partner().slot().isLoaded() || !d.copy.copy->partner().window().isVisible());
    PasswordPrompt &pw = d.copy.copy->password();
    QCOMPARE(pw.purpose(), PasswordPrompt::Purpose::Registration);
    pw.window().edit([](settings::PasswordView &v) { v.password = u"pw"_s; });
    pw.submit();
    QVERIFY(d.copy.copy->partner().window().isVisible());
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
        copy.writeOptions([](core::Options &o) {
            o.pwEnabled = 1;
            o.password = u"old"_s;
        });
        QVERIFY(copy.start());
        copy.copy->menuClicked(MenuId::Options);
        settings::OptionsEditor &dialog = copy.copy->options();
        dialog.showPage(2);
        dialog.window().edit([](OptionsView &v) {
            v.currentPassword = u"old"_s;
            v.newPassword = u"say \"hi\""_s;
        });
        dialog.accept();
        QCOMPARE(copy.dialogs.texts(), QStringList{u"ﾊﾟｽﾜｰﾄﾞに使用できない文字が含まれています。"_s});
    }
    {
        TestCopy copy(net, u"127.0.0.2"_s, dir.path());
        QVERIFY(copy.start());
        lockAndUnlock(copy);
        PasswordPrompt &pw = copy.copy->password();
        pw.window().edit([](settings::PasswordView &v) { v.password = u"old"_s; });
        pw.submit();
        QVERIFY(!copy.context().menu.checked(MenuId::Lock));
    }
    // A file that says "protected" with no password protects nothing.
    TestCopy copy(net, u"127.0.0.2"_s, dir.path());
    copy.writeFile(u"optFile.dat"_s, "\"optFile\"\r\n\"0\"\r\n1,0,1,0,0,1\r\n1,\"\",\"\",\"\"\r\n");
    QVERIFY(copy.start());
    QCOMPARE(copy.opt().pwEnabled, 0);
    lockAndUnlock(copy);
    QVERIFY(!copy.context().menu.checked(MenuId::Lock));
    copy.copy->menuClicked(MenuId::Partner);
    QVERIFY(copy.copy->partner().window().isVisible());
    QVERIFY(!copy.copy->password().slot.isLoaded());
}

QTEST_MAIN(TestOptions)
#include "test_options.moc"
