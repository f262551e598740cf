#include "base/settings/partner.h"
#include "base/text/cp932.h"
#include "support/testcopy.h"

#include <QTest>

using namespace Qt::StringLiterals;
using testkit::Answer;
using testkit::BoxButtons;
using testkit::BoxIcon;
using testkit::boxStyle;
using testkit::FakeNetwork;
using testkit::TestCopy;

namespace {
const QString kAlice = u"127.0.0.2"_s;
const QString kBob = u"127.0.0.3"_s;
} // namespace

// The partner: its file, its registration and the presence check between two copies, and the
// start and end notices each copy shows of the other.
class TestPartner final : public QObject {
    Q_OBJECT
private slots:
    void addressFileRoundTrip();
    void startUpReadsThePartner_data();
    void startUpReadsThePartner();
    void registrationRefusals_data();
    void registrationRefusals();
    void registrationSavesAndTakesEffect();
    void registrationOnFullDiskKeepsTheOldPartner();
    void presence_data();
    void presence();
    void lateAnswerReplacesNobodyThere();
    void startAndEndNotices();
    void startNoticeKeepsAWaitingMessagesPicture();
};

void TestPartner::addressFileRoundTrip()
{
    const QByteArray bytes = settings::formatAddressFile({u"山田, 花子"_s, u"127.0.0.3"_s});
    QCOMPARE(bytes, text::toCp932(u"\"adrFile\"\r\n\"山田, 花子\",\"127.0.0.3\"\r\n"));
    const auto read = settings::parseAddressFile(bytes);
    QVERIFY(read);
    QCOMPARE(read->name, u"山田, 花子"_s);
    QCOMPARE(read->address, u"127.0.0.3"_s);
}

void TestPartner::startUpReadsThePartner_data()
{
    QTest::addColumn<QByteArray>("file"); // empty: no file
    QTest::addColumn<QString>("partnerName");
    QTest::addColumn<QString>("partnerAddress");
    QTest::addColumn<bool>("foreign");
    QTest::newRow("no file") << QByteArray() << QString() << QString() << false;
    QTest::newRow("registered") << text::toCp932(u"\"adrFile\"\r\n\"ぼぶ\",\"127.0.0.3\"\r\n") << u"ぼぶ"_s
                                << kBob << false;
    QTest::newRow("address with leading zeros and a blank")
        << text::toCp932(u"\"adrFile\"\r\n\"ぼぶ\",\" 127.000.0.03\"\r\n") << u"ぼぶ"_s << kBob << false;
    QTest::newRow("marker only") << QByteArray("\"adrFile\"\r\n") << QString() << QString() << false;
    QTest::newRow("options file in its place")
        << QByteArray("\"optFile\"\r\n\"0\"\r\n") << QString() << QString() << true;
    QTest::newRow("garbage") << QByteArray("\xff\xfe\x00\x01garbage", 11) << QString() << QString() << true;
}

void TestPartner::startUpReadsThePartner()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, partnerName);
    QFETCH(QString, partnerAddress);
    QFETCH(bool, foreign);
    FakeNetwork net;
    TestCopy alice(net, kAlice);
    if (!file.isEmpty())
        alice.writeFile(u"adrFile.dat"_s, file);
    QVERIFY(alice.start());
    QCOMPARE(alice.partner().name, partnerName);
    QCOMPARE(alice.partner().address, partnerAddress);
    QCOMPARE(alice.dialogs.texts(),
             foreign ? QStringList{u"ミルトアンヌのﾌｧｲﾙではありません"_s} : QStringList{});
    // The window opens with the partner in its boxes.
    alice.copy->partner().showWindow();
    QVERIFY(alice.copy->partner().window().isVisible());
    QCOMPARE(alice.copy->partner().window().view().name, partnerName);
    QCOMPARE(alice.copy->partner().window().view().address, partnerAddress);
}

void TestPartner::registrationRefusals_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty, even with a name") << QString() << u"IPｱﾄﾞﾚｽは必ず指定してください。"_s;
    QTest::newRow("broadcast") << u"127.0.0.255"_s << u"入力されたIPｱﾄﾞﾚｽは指定できません。"_s;
    QTest::newRow("255 anywhere") << u"127.0.255.7"_s << u"入力されたIPｱﾄﾞﾚｽは指定できません。"_s;
}

void TestPartner::registrationRefusals()
{
    QFETCH(QString, address);
    QFETCH(QString, message);
    FakeNetwork net;
    TestCopy alice(net, kAlice);
    alice.writePartner(u"old"_s, kBob);
    QVERIFY(alice.start());
    const QByteArray before = alice.readFile(u"adrFile.dat"_s);
    alice.copy->partner().showWindow();
    alice.copy->partner().window().edit([&](settings::PartnerView &v) {
        v.name = u"new"_s;
        v.address = address;
    });
    alice.copy->partner().registerPartner();
    QCOMPARE(alice.dialogs.texts(), QStringList{message});
    QCOMPARE(alice.dialogs.shown()[0].title, u"ｴﾗｰ確認"_s);
    QCOMPARE(alice.dialogs.shown()[0].look(), boxStyle(BoxButtons::Ok, BoxIcon::Critical));
    QCOMPARE(alice.readFile(u"adrFile.dat"_s), before);
    QCOMPARE(alice.partner().address, kBob);
}

void TestPartner::registrationSavesAndTakesEffect()
{
    FakeNetwork net;
    TestCopy alice(net, kAlice);
    QVERIFY(alice.start());
    alice.copy->menuClicked(core::MenuId::Partner);
    QVERIFY(alice.copy->partner().window().isVisible());
    QVERIFY(alice.copy->partner().window().view().address.isEmpty());
    alice.copy->partner().window().edit([&](settings::PartnerView &v) {
        v.name = QString();
        v.address = u"127.0.0.25"_s; // "25" is no "255"
    });
    alice.copy->partner().registerPartner();
    QCOMPARE(alice.dialogs.texts(), QStringList{u"保存しました。"_s});
    QCOMPARE(alice.dialogs.shown()[0].look(), boxStyle(BoxButtons::Ok, BoxIcon::Information));
    QCOMPARE(alice.dialogs.shown()[0].title, u"ミルトアンヌ"_s);
    QCOMPARE(alice.partner().address, u"127.0.0.25"_s);
    QVERIFY(alice.copy->partner().window().isVisible());
    QCOMPARE(alice.readFile(u"adrFile.dat"_s), QByteArray("\"adrFile\"\r\n\"\",\"127.0.0.25\"\r\n"));

    // Closing unloads the window; it comes back with its design contents, then the partner.
    alice.copy->partner().close();
    QVERIFY(!alice.copy->partner().slot().isLoaded());
    QCOMPARE(alice.copy->partner().window().view().address, QString());
    alice.copy->partner().showWindow();
    QCOMPARE(alice.copy->partner().window().view().address, u"127.0.0.25"_s);
}

void TestPartner::registrationOnFullDiskKeepsTheOldPartner()
{
    FakeNetwork net;
    TestCopy alice(net, kAlice);
    alice.writePartner(u"old"_s, kBob);
    QVERIFY(alice.start());
    const QByteArray before = alice.readFile(u"adrFile.dat"_s);
    alice.copy->partner().showWindow();
    alice.copy->partner().window().edit([](settings::PartnerView &v) { v.address = u"127.0.0.9"_s; });
    alice.files.failNextWrites(1);
    alice.dialogs.answerNext(Answer::Cancel);
    alice.copy->partner().registerPartner();
    QCOMPARE(alice.dialogs.texts(), QStringList{u"ディスクの空き容量が不足しています。"_s});
    QCOMPARE(alice.readFile(u"adrFile.dat"_s), before);
    QCOMPARE(alice.partner().address, kBob);

    alice.dialogs.clear();
    alice.files.failNextWrites(1);
    alice.dialogs.answerNext(Answer::Retry);
    alice.copy->partner().registerPartner();
    QCOMPARE(alice.dialogs.texts(),
             (QStringList{u"ディスクの空き容量が不足しています。"_s, u"保存しました。"_s}));
    QCOMPARE(alice.partner().address, u"127.0.0.9"_s);
}

void TestPartner::presence_data()
{
    QTest::addColumn<bool>("bobRuns");
    QTest::addColumn<QString>("bobsPartner");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("picture"); // 2, 3 or 4
    QTest::newRow("registered on both sides") << true << kAlice << u"いるよ～"_s << 2;
    QTest::newRow("registered on one side only") << true << u"127.0.0.8"_s << u"片想い中"_s << 3;
    QTest::newRow("bob has no partner") << true << QString() << u"片想い中"_s << 3;
    QTest::newRow("nobody there") << false << QString() << u"いないね～！"_s << 4;
}

void TestPartner::presence()
{
    QFETCH(bool, bobRuns);
    QFETCH(QString, bobsPartner);
    QFETCH(QString, label);
    QFETCH(int, picture);
    FakeNetwork net;
    TestCopy alice(net, kAlice);
    TestCopy bob(net, kBob);
    if (!bobsPartner.isEmpty())
        bob.writePartner(u"alice"_s, bobsPartner);
    bob.clock.set(QDateTime(QDate(2026, 12, 8), QTime(7, 45)));
    if (bobRuns)
        QVERIFY(bob.start());
    const QString carol = u"127.0.0.7"_s;
    alice.writePartner(u"carol"_s, carol);
    QVERIFY(alice.start());

    settings::Partner &partner = alice.copy->partner();
    partner.showWindow();
    settings::PartnerWindowModel &window = alice.copy->partner().window();
    window.edit([](settings::PartnerView &v) {
        v.checkResult = u"old result"_s;
        v.address = kBob;
    });
    partner.checkPresence();
    QVERIFY(window.view().checkResult.isEmpty()); // cleared at the start of each check
    QCOMPARE(net.sent().constLast().to, kBob);
    QCOMPARE(alice.partner().address, carol); // only asked: the partner stays who was registered
    QVERIFY(partner.checkTimer().isActive());
    net.flush();
    partner.checkTimeout();

    QCOMPARE(window.view().checkResult, label);
    QCOMPARE(window.view().answeredMutual, picture == 2);
    QCOMPARE(window.view().answeredOneSided, picture == 3);
    QCOMPARE(window.view().answeredNobody, picture == 4);
    QCOMPARE(window.view().checkHint.contains(u"UDP 57979"_s), picture == 4);
    QCOMPARE(window.caption(), bobRuns ? u"ミルトアンヌ　起動時間：07:45"_s : u"ミルトアンヌ"_s);
    QCOMPARE(alice.readFile(u"adrFile.dat"_s),
             settings::formatAddressFile({u"carol"_s, carol})); // nothing saved

    // Messages still go to the registered partner.
    alice.copy->compose().open();
    alice.compose().window().edit([](send::ComposeView &v) { v.message = u"for carol"_s; });
    alice.copy->compose().send();
    QCOMPARE(net.sent().constLast().to, carol);

    // An empty box asks nobody.
    net.clearLog();
    window.edit([](settings::PartnerView &v) { v.address.clear(); });
    partner.checkPresence();
    QCOMPARE(alice.dialogs.texts(), QStringList{u"IPｱﾄﾞﾚｽは必ず指定してください。"_s});
    QVERIFY(net.sent().isEmpty());
    QCOMPARE(alice.partner().address, carol);
}

void TestPartner::lateAnswerReplacesNobodyThere()
{
    FakeNetwork net;
    TestCopy alice(net, kAlice);
    TestCopy bob(net, kBob);
    bob.writePartner(u"alice"_s, kAlice);
    QVERIFY(alice.start());
    alice.copy->partner().showWindow();
    alice.copy->partner().window().edit([](settings::PartnerView &v) { v.address = kBob; });
    alice.copy->partner().checkPresence();
    alice.copy->partner().checkTimeout();
    QCOMPARE(alice.copy->partner().window().view().checkResult, u"いないね～！"_s);

    // Bob starts late and answers a second check after the first gave up: the window turns.
    QVERIFY(bob.start());
    alice.copy->partner().checkPresence();
    alice.copy->partner().checkTimeout(); // nothing came yet
    net.flush();
    QCOMPARE(alice.copy->partner().window().view().checkResult, u"いるよ～"_s);
    QVERIFY(alice.copy->partner().window().view().answeredMutual);
    QVERIFY(!alice.copy->partner().window().view().answeredNobody);

    // An answer that comes long after its check is not heard.
    alice.copy->partner().checkPresence();
    alice.copy->partner().checkTimeout();
    alice.clock.advance(6);
    net.flush();
    QCOMPARE(alice.copy->partner().window().view().checkResult, u"いないね～！"_s);
}

void TestPartner::startAndEndNotices()
{
    FakeNetwork net;
    TestCopy alice(net, kAlice);
    TestCopy bob(net, kBob);
    alice.writeOptions([](core::Options &opt) { opt.notifyStartEnd = 1; });
    alice.writePartner(u"bob"_s, kBob);
    QVERIFY(alice.start());
    bob.writePartner(u"alice"_s, kAlice);
    QVERIFY(bob.start()); // 09:05
    net.flush();
    QCOMPARE(alice.historyWindow().caption(), u"送受信履歴　（09:05～     ）"_s);
    QCOMPARE(alice.tray.picture(), core::IconId::start());

    bob.clock.set(QDateTime(QDate(2026, 12, 8), QTime(17, 40)));
    bob.copy->quit();
    net.flush();
    QCOMPARE(alice.historyWindow().caption(), u"送受信履歴　（09:05～17:40）"_s);
    QCOMPARE(alice.tray.picture(), core::IconId::end());
}

void TestPartner::startNoticeKeepsAWaitingMessagesPicture()
{
    FakeNetwork net;
    TestCopy alice(net, kAlice);
    TestCopy bob(net, kBob);
    alice.writeOptions([](core::Options &opt) { opt.notifyStartEnd = 1; });
    alice.writePartner(u"bob"_s, kBob);
    QVERIFY(alice.start());
    net.host(u"127.0.0.5"_s)->send(kAlice, 57979, text::toCp932(u"dave        09:05:00hi"));
    net.flush();
    bob.writePartner(u"alice"_s, kAlice);
    QVERIFY(bob.start());
    net.flush();
    QVERIFY(alice.messageWaiting());
    QCOMPARE(alice.historyWindow().caption(), u"送受信履歴　（09:05～     ）"_s);

    // With the option off only the caption changes.
    TestCopy carol(net, u"127.0.0.4"_s);
    carol.writePartner(u"bob"_s, kBob);
    QVERIFY(carol.start());
    carol.historyWindow().setCaption(u"x"_s);
    bob.registerPartner(u"127.0.0.4"_s);
    bob.copy->quit();
    net.flush();
    QCOMPARE(carol.historyWindow().caption(), u"送受信履歴　（09:05～09:05）"_s);
    QCOMPARE(carol.tray.picture(), core::IconId::normal(0));
}

QTEST_MAIN(TestPartner)
#include "test_partner.moc"
