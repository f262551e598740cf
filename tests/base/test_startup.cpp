#include "base/text/cp932.h"
#include "support/testcopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;
using core::IconId;
using core::MenuId;
using platform::TrayOp;
using testkit::Answer;
using testkit::BoxButtons;
using testkit::BoxFocus;
using testkit::BoxIcon;
using testkit::boxStyle;
using testkit::FakeNetwork;
using testkit::TestCopy;

namespace {
const QString kAlice = u"127.0.0.2"_s;
const QString kBob = u"127.0.0.3"_s;
const QString kAlreadyRunning = u"「ミルトアンヌ」は、既に起動しています。"_s;
const QString kEndQuestion = u"未確認のﾒｯｾｰｼﾞがあります... 終了しますか？"_s;
} // namespace

// A copy's start-up and shut-down, as its user and its partner see them.
class TestStartup final : public QObject {
    Q_OBJECT
private slots:
    void startUpLeavesOnlyTheTrayIcon();
    void startNoticeReachesThePartner();
    void trayTip_data();
    void trayTip();
    void secondCopyIsRefusedAndTheFirstRunsOn();
    void lockOfACopyThatDiedIsTakenOver();
    void leftoversOfACutOffSaveGoAtStartUp();
    void portTakenEndsWithPortNoError();
    void otherBindFailureIsPassedOver();
    void closeBoxOnlyHides();
    void endWithoutWaitingMessage();
    void endWithWaitingMessageAsksFirst_data();
    void endWithWaitingMessageAsksFirst();
    void terminationNeverAsks();
    void signalDuringAStartUpBoxClosesIt();
    void endWithoutPartnerStillEnds();
    void trueEnableGivesTheMenuBack();
};

void TestStartup::startUpLeavesOnlyTheTrayIcon()
{
    FakeNetwork net;
    TestCopy alice(net, kAlice);
    alice.identity.login = u"a-login-name-longer-than-twenty"_s;
    alice.compose().window().show();
    QVERIFY(alice.start());

    QCOMPARE(alice.tray.calls().size(), 1);
    QCOMPARE(alice.tray.calls()[0].op, TrayOp::Add);
    QCOMPARE(alice.tray.picture(), IconId::normal(0));
    QCOMPARE(alice.tray.current().szTip, text::toCp932(u"ミルトアンヌ"));
    QCOMPARE(alice.tray.current().cbSize, 89);
    QCOMPARE(alice.tray.current().uCallbackMessage, 512);
    QCOMPARE(alice.trayIcon().lastResult(), 1);
    QVERIFY(!alice.compose().window().isVisible());
    QVERIFY(alice.compose().window().view().message.isEmpty());
    QCOMPARE(alice.copy->presence().startTime(), u"09:05"_s);
    // 2026-12-08 is a Tuesday.
    QCOMPARE(alice.compose().window().view().weekdayPanel, u"火"_s);
    QVERIFY(alice.copy->letters().window().view().statusPanel().isEmpty());
    QCOMPARE(alice.copy->userSearch().loginName20(), u"a-login-name-longer-"_s);
    QCOMPARE(alice.copy->userSearch().hostName20().trimmed(), u"testhost"_s);
    const core::MenuModel &menu = alice.context().menu;
    QVERIFY(!menu.visible(MenuId::UserSearch));
    QVERIFY(menu.checked(MenuId::CallPerson));
    QVERIFY(!menu.checked(MenuId::CallPhone));
    QVERIFY(menu.enabled(MenuId::Compose));
    QVERIFY(!menu.enabled(MenuId::ShowReceived));
    QVERIFY(!alice.trayIcon().isBlinking());
    QVERIFY(!alice.trayIcon().isCalling());
    QVERIFY(!alice.messageWaiting());
    // The font options reach the message boxes.
    QCOMPARE(alice.compose().window().view().messageStyle.fontName, u"ＭＳ Ｐゴシック"_s);
    QCOMPARE(alice.receivedWindow().view().messageStyle.backColor, 0xFFFFFFu);

    // Without a partner the start notice goes to the empty address: it fails, silently.
    QCOMPARE(net.sent().size(), 1);
    QVERIFY(net.sent()[0].to.isEmpty());
    QVERIFY(net.sent()[0].result != 0);
    QVERIFY(alice.dialogs.shown().isEmpty());
}

void TestStartup::startNoticeReachesThePartner()
{
    FakeNetwork net;
    TestCopy alice(net, kAlice);
    TestCopy bob(net, kBob);
    QVERIFY(bob.start());
    QString seen;
    QString from;
    bob.copy->dispatcher().setHandler(protocol::Kind::Start, [&](const protocol::Arrival &arrival) {
        seen = arrival.text;
        from = arrival.sender.address;
    });
    alice.writePartner(u"ぼぶ"_s, kBob);
    alice.clock.set(QDateTime(QDate(2026, 12, 8), QTime(8, 7, 30)));
    QVERIFY(alice.start());
    net.flush();
    QCOMPARE(seen, u"START送信    08:07～     "_s);
    QCOMPARE(from, kAlice);
    QCOMPARE(net.sentFrom(kAlice).last().bytes,
             QByteArray::fromHex("5354415254 9197904d 20202020 30383a3037 8160 2020202020"));
}

void TestStartup::trayTip_data()
{
    QTest::addColumn<int>("tipEnabled");
    QTest::addColumn<QString>("tipText");
    QTest::addColumn<QByteArray>("tip");
    QTest::newRow("tips off") << 0 << u"ミルトアンヌ"_s << QByteArray();
    QTest::newRow("own tip") << 1 << u"ゆうこの PC"_s << text::toCp932(u"ゆうこの PC");
    QTest::newRow("40 kanji are cut to 32, never mid-character")
        << 1 << QString(40, QChar(u'漢')) << text::toCp932(QString(32, QChar(u'漢')));
    QTest::newRow("odd byte left over is dropped")
        << 1 << (u"a"_s + QString(40, QChar(u'漢'))) << text::toCp932(u"a"_s + QString(31, QChar(u'漢')));
}

void TestStartup::trayTip()
{
    QFETCH(int, tipEnabled);
    QFETCH(QString, tipText);
    QFETCH(QByteArray, tip);
    FakeNetwork net;
    TestCopy alice(net, kAlice);
    alice.writeOptions([&](core::Options &opt) {
        opt.tipEnabled = tipEnabled;
        opt.tipText = tipText;
    });
    QVERIFY(alice.start());
    QCOMPARE(alice.tray.current().szTip, tip);
    QVERIFY(alice.tray.current().szTip.size() <= 64);

    // A tip changed later (the options window) shows with the next tray change, and goes when
    // tips are turned off.
    core::Context &c = alice.context();
    c.opt.tipEnabled = 1;
    c.opt.tipText = u"新しいﾋﾝﾄ"_s;
    alice.trayIcon().show(alice.trayIcon().picture());
    QCOMPARE(alice.tray.current().szTip, text::toCp932(u"新しいﾋﾝﾄ"));
    c.opt.tipEnabled = 0;
    alice.trayIcon().show(alice.trayIcon().picture());
    QVERIFY(alice.tray.current().szTip.isEmpty());
}

void TestStartup::secondCopyIsRefusedAndTheFirstRunsOn()
{
    FakeNetwork net;
    TestCopy first(net, kAlice);
    QVERIFY(first.start());
    TestCopy second(net, u"127.0.0.5"_s, first.programDir());
    QSignalSpy ended(second.copy.get(), &copy::Copy::ended);
    net.clearLog();

    QVERIFY(!second.start());
    QCOMPARE(ended.size(), 1);
    QCOMPARE(second.dialogs.shown().size(), 1);
    QCOMPARE(second.dialogs.shown()[0].text, kAlreadyRunning);
    QCOMPARE(second.dialogs.shown()[0].look(), boxStyle(BoxButtons::Ok, BoxIcon::Exclamation));
    QCOMPARE(second.dialogs.shown()[0].title, u"ミルトアンヌ"_s);
    QVERIFY(second.tray.calls().isEmpty());
    QVERIFY(net.sent().isEmpty());

    QVERIFY(!first.copy->hasEnded());
    QVERIFY(first.tray.shown());
    // The refused start has asked the running copy to come forward.
    QTRY_VERIFY(first.compose().window().isVisible());
    bool handled = false;
    first.copy->dispatcher().setHandler(protocol::Kind::Held,
                                        [&](const protocol::Arrival &) { handled = true; });
    net.host(u"127.0.0.9"_s)->send(kAlice, 57979, text::toCp932(u"保留"));
    net.flush();
    QVERIFY(handled);
}

void TestStartup::lockOfACopyThatDiedIsTakenOver()
{
    FakeNetwork net;
    TestCopy alice(net, kAlice);
    // The lock file of a copy that died, whose process id a running program of the same name got
    // since: this test itself. Nothing holds the file any more.
    QFile lock(QDir(alice.programDir()).filePath(u"miltoanne.lock"_s));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
               QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() + '\n' +
               QSysInfo::machineHostName().toUtf8() + '\n' + QSysInfo::machineUniqueId() + '\n' +
               QSysInfo::bootUniqueId() + '\n');
    lock.close();
    QVERIFY(alice.start());
    QVERIFY(alice.dialogs.shown().isEmpty());
    QVERIFY(alice.tray.shown());
}

void TestStartup::leftoversOfACutOffSaveGoAtStartUp()
{
    FakeNetwork net;
    TestCopy alice(net, kAlice);
    alice.writeOptions([](core::Options &) {});
    // What a save leaves beside its file when the program dies in the middle: the whole new file
    // under the staging name, or the one QSaveFile was writing it under.
    const QStringList leftovers{u"optFile.dat.miltoanne-saving"_s, u"adrFile.dat.miltoanne-saving.ZAKZZM"_s};
    // Everything else stays, however close its name: the user's backups above all.
    QStringList kept{u"optFile.dat"_s,
                     u"optFile.dat.backup"_s,
                     u"adrFile.dat.QbviuT"_s,
                     u"optFile.dat.bak"_s,
                     u"optFile.dat.miltoanne-saving.Qbviu"_s,
                     u"optFile.dat.miltoanne-saving.old"_s,
                     u"logFile.dat.miltoanne-saving"_s,
                     u"notes.txt"_s};
    for (const QString &name : leftovers + kept.mid(1))
        alice.writeFile(name, "\"secret\"");
    QVERIFY(QDir(alice.programDir()).mkdir(u"adrFile.dat.miltoanne-saving.Folder"_s));
    QVERIFY(alice.start());
    kept << u"adrFile.dat.miltoanne-saving.Folder"_s << u"miltoanne.lock"_s;
    kept.sort();
    QStringList found =
        QDir(alice.programDir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    found.sort();
    QCOMPARE(found, kept);
}

void TestStartup::portTakenEndsWithPortNoError()
{
    FakeNetwork net;
    net.occupy(kAlice, 57979);
    TestCopy alice(net, kAlice);
    QSignalSpy ended(alice.copy.get(), &copy::Copy::ended);
    QVERIFY(!alice.start());
    QCOMPARE(ended.size(), 1);
    QCOMPARE(alice.dialogs.shown().size(), 1);
    QCOMPARE(alice.dialogs.shown()[0].text, kAlreadyRunning + u"\r(PortNo Error!)"_s);
    QCOMPARE(alice.dialogs.shown()[0].look(), boxStyle(BoxButtons::Ok, BoxIcon::Exclamation));
    QVERIFY(alice.tray.calls().isEmpty());
    QVERIFY(net.sent().isEmpty());
}

void TestStartup::otherBindFailureIsPassedOver()
{
    FakeNetwork net;
    TestCopy alice(net, kAlice);
    alice.host().failNextBind = 10013;
    QVERIFY(alice.start());
    QVERIFY(alice.tray.shown());
    QVERIFY(alice.dialogs.shown().isEmpty());
    QVERIFY(!alice.copy->hasEnded());
}

void TestStartup::closeBoxOnlyHides()
{
    FakeNetwork net;
    TestCopy alice(net, kAlice);
    QVERIFY(alice.start());
    alice.compose().window().show();
    QVERIFY(alice.copy->queryUnload(copy::UnloadMode::CloseBox));
    QVERIFY(!alice.compose().window().isVisible());
    QVERIFY(!alice.copy->hasEnded());
    QVERIFY(alice.tray.shown());
    QVERIFY(alice.dialogs.shown().isEmpty());
}

void TestStartup::endWithoutWaitingMessage()
{
    FakeNetwork net;
    TestCopy alice(net, kAlice);
    TestCopy bob(net, kBob);
    QVERIFY(bob.start());
    alice.writePartner(u"ぼぶ"_s, kBob);
    QVERIFY(alice.start());
    QString seen;
    bob.copy->dispatcher().setHandler(protocol::Kind::End,
                                      [&](const protocol::Arrival &arrival) { seen = arrival.text; });
    QSignalSpy ended(alice.copy.get(), &copy::Copy::ended);

    alice.clock.set(QDateTime(QDate(2026, 12, 8), QTime(17, 40, 59)));
    alice.copy->menuClicked(MenuId::Quit);
    net.flush();
    QVERIFY(alice.dialogs.shown().isEmpty());
    QCOMPARE(seen, u"END送信      09:05～17:40"_s);
    QCOMPARE(alice.tray.calls().last().op, TrayOp::Delete);
    QVERIFY(!alice.tray.shown());
    QCOMPARE(ended.size(), 1);
    QVERIFY(alice.copy->hasEnded());
}

void TestStartup::endWithWaitingMessageAsksFirst_data()
{
    QTest::addColumn<int>("way");
    QTest::addColumn<std::optional<Answer>>("answer"); // none: the box's default button
    QTest::addColumn<bool>("ends");
    QTest::newRow("menu, No") << 0 << std::optional(Answer::No) << false;
    QTest::newRow("menu, default button is No") << 0 << std::optional<Answer>() << false;
    QTest::newRow("menu, Yes") << 0 << std::optional(Answer::Yes) << true;
    QTest::newRow("task list, No") << 3 << std::optional(Answer::No) << false;
    QTest::newRow("session end, Yes") << 2 << std::optional(Answer::Yes) << true;
}

void TestStartup::endWithWaitingMessageAsksFirst()
{
    QFETCH(int, way);
    QFETCH(std::optional<Answer>, answer);
    QFETCH(bool, ends);
    FakeNetwork net;
    TestCopy alice(net, kAlice);
    alice.writePartner(u"ぼぶ"_s, kBob);
    QVERIFY(alice.start());
    // A message waits.
    net.host(kBob)->send(kAlice, 57979, text::toCp932(u"bob         09:05:00hi"));
    net.flush();
    QVERIFY(alice.messageWaiting());
    if (answer)
        alice.dialogs.answerNext(*answer);
    net.clearLog();

    bool cancelled = false;
    if (way == 0)
        alice.copy->quit();
    else
        cancelled = alice.copy->queryUnload(static_cast<copy::UnloadMode>(way));

    QCOMPARE(alice.dialogs.shown().size(), 1);
    QCOMPARE(alice.dialogs.shown()[0].text, kEndQuestion);
    QCOMPARE(alice.dialogs.shown()[0].look(),
             boxStyle(BoxButtons::YesNo, BoxIcon::Question, BoxFocus::Second));
    QCOMPARE(alice.dialogs.shown()[0].title, u"ミルトアンヌ"_s);
    QCOMPARE(alice.copy->hasEnded(), ends);
    QCOMPARE(cancelled, !ends && way != 0);
    QCOMPARE(alice.tray.shown(), !ends);
    QCOMPARE(net.sent().size(), ends ? 1 : 0);
    if (!ends)
        QVERIFY(alice.messageWaiting());
}

void TestStartup::terminationNeverAsks()
{
    FakeNetwork net;
    TestCopy alice(net, kAlice);
    alice.writePartner(u"ぼぶ"_s, kBob);
    QVERIFY(alice.start());
    alice.trayIcon().show(alice.receivedWindow().icon());
    net.clearLog();
    alice.copy->terminate();
    QVERIFY(alice.dialogs.shown().isEmpty());
    QVERIFY(alice.copy->hasEnded());
    QCOMPARE(net.sent().size(), 1);
    QVERIFY(net.sent()[0].text().startsWith(u"END送信      09:05～"_s));
    // A second request after the end sends nothing more.
    alice.copy->terminate();
    alice.copy->quit();
    QCOMPARE(net.sent().size(), 1);
}

void TestStartup::signalDuringAStartUpBoxClosesIt()
{
    FakeNetwork net;
    TestCopy alice(net, kAlice);
    alice.writePartner(u"ぼぶ"_s, kBob);
    alice.writeFile(u"optFile.dat"_s, "\"adrFile\"\r\n"); // not an options file: a box says so
    QSignalSpy ended(alice.copy.get(), &copy::Copy::ended);
    alice.dialogs.whileShown = [&] {
        alice.copy->terminate();
        QVERIFY(alice.dialogs.closedAll()); // nobody is left to answer it
        QCOMPARE(ended.size(), 0);          // the end comes once the start-up is through
    };
    QVERIFY(!alice.start());
    QCOMPARE(alice.dialogs.texts(), QStringList{u"ミルトアンヌのﾌｧｲﾙではありません"_s});
    QCOMPARE(ended.size(), 1);
    QVERIFY(alice.copy->hasEnded());
    QVERIFY(!alice.tray.shown());
    QCOMPARE(net.sent().size(), 1);
    QCOMPARE(net.sent()[0].port, 57979);
    QCOMPARE(net.sent()[0].to, kBob);
    QVERIFY(net.sent()[0].text().startsWith(u"END送信"_s));
}

void TestStartup::endWithoutPartnerStillEnds()
{
    FakeNetwork net;
    TestCopy alice(net, kAlice);
    QVERIFY(alice.start());
    net.clearLog();
    alice.copy->quit();
    QVERIFY(alice.copy->hasEnded());
    QCOMPARE(net.sent().size(), 1);
    QVERIFY(net.sent()[0].to.isEmpty());
    QVERIFY(net.sent()[0].result != 0);
    QVERIFY(alice.dialogs.shown().isEmpty());
}

void TestStartup::trueEnableGivesTheMenuBack()
{
    FakeNetwork net;
    TestCopy alice(net, kAlice);
    QVERIFY(alice.start());
    core::Context &c = alice.context();
    // What a lock leaves behind: everything but the lock entry hidden, a message waiting.
    for (const core::MenuEntry &e : c.menu.entries()) {
        if (e.parent == MenuId::Tray && e.id != MenuId::Tray && e.id != MenuId::Lock)
            c.menu.setVisible(e.id, false);
    }
    c.menu.lock();
    c.menu.setEnabled(MenuId::History, false);
    c.menu.setEnabledThroughLock(core::MenuId::Compose, false);
    c.menu.setEnabledThroughLock(core::MenuId::ShowReceived, true);

    c.menu.unlock();
    for (const core::MenuEntry &e : c.menu.entries()) {
        if (e.parent == MenuId::Tray && e.id != MenuId::Tray)
            QVERIFY2(e.visible == (e.id != MenuId::UserSearch), qPrintable(QString::fromUtf16(e.name)));
    }
    QVERIFY(!c.menu.checked(MenuId::Lock));
    QVERIFY(!c.menu.enabled(MenuId::Compose));
    QVERIFY(c.menu.enabled(MenuId::ShowReceived));
    QVERIFY(c.menu.enabled(MenuId::History));
    QVERIFY(c.menu.enabled(MenuId::UserSearch));
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
