#include "support/mountns.h"
#include "support/testcopy.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;
using core::MenuId;
using testkit::FakeNetwork;
using testkit::ScratchMount;
using testkit::TestCopy;

namespace {
const QString kAlice = u"127.0.0.2"_s;
const QString kDiskFull = u"ﾃﾞｨｽｸの空き容量が不足しています。"_s;
} // namespace

// The data files on file systems of the test's own: a small tmpfs that fills up, in a mount
// namespace of the test's own (support/mountns.h).
class TestStorage final : public QObject {
    Q_OBJECT
private slots:
    void saveOnAFullDisk_data();
    void saveOnAFullDisk();
};

void TestStorage::saveOnAFullDisk_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("file");    // the data file that must keep its old bytes
    QTest::addColumn<QString>("refusal"); // the disk-full box, answered with Cancel
    QTest::addColumn<QString>("typed");   // the name, password or message of the action
    QTest::addColumn<qint64>("leaveFree");
    const QString big(3000, QChar(u'漢')); // 6000 bytes in CP932: more than the page left free
    QTest::newRow("registration") << u"registration"_s << u"adrFile.dat"_s
                                  << u"ディスクの空き容量が不足しています。"_s << u"ちゃーりー"_s
                                  << qint64(0);
    QTest::newRow("icon change") << u"icon"_s << u"optFile.dat"_s << kDiskFull << QString() << qint64(0);
    QTest::newRow("options OK") << u"options"_s << u"optFile.dat"_s << kDiskFull << u"ゆうこ"_s << qint64(0);
    QTest::newRow("options larger than the room left")
        << u"options"_s << u"optFile.dat"_s << kDiskFull << big << qint64(4096);
    QTest::newRow("password") << u"password"_s << u"optFile.dat"_s << kDiskFull << u"new"_s << qint64(0);
}

void TestStorage::saveOnAFullDisk()
{
    TESTKIT_IN_OWN_MOUNT_NAMESPACE();
    QFETCH(QString, action);
    QFETCH(QString, file);
    QFETCH(QString, refusal);
    QFETCH(QString, typed);
    QFETCH(qint64, leaveFree);
    ScratchMount disk(256);
    if (!disk.mounted())
        QSKIP(qPrintable(u"no tmpfs of the test's own here ("_s + disk.error() + u")"_s));
    FakeNetwork net;
    TestCopy alice(net, kAlice, disk.path());
    alice.writePartner(u"ぼぶ"_s, u"127.0.0.3"_s);
    alice.writeOptions([](core::OptSettings &o) {
        o.pwEnabled = 1;
        o.password = u"old"_s;
    });
    QVERIFY(alice.start());
    const QByteArray before = alice.readFile(file);
    QVERIFY(!before.isEmpty());
    QVERIFY(disk.fill(leaveFree));
    alice.dialogs.answerNext(platform::box::cancel);

    copy::Copy &copy = *alice.copy;
    if (action == u"registration") {
        alice.context().frmAddress().edit([&](core::AddressView &v) {
            v.txtName1 = typed;
            v.txtIp1 = u"127.0.0.4"_s;
        });
        copy.partner().cmdOkClick();
        QCOMPARE(alice.state().aiteName, u"ぼぶ"_s);
    } else if (action == u"icon") {
        copy.iconSelection().open();
        copy.iconSelection().option1Click(5);
        copy.iconSelection().cmdOkClick();
    } else if (action == u"options") {
        copy.menuClicked(MenuId::Other);
        copy.options().frmOpt().edit([&](settings::OptView &v) { v.TxtName = typed; });
        copy.options().cmdOkClick();
    } else {
        copy.menuClicked(MenuId::Other);
        copy.options().tabClick(2);
        copy.options().frmOpt().edit([&](settings::OptView &v) {
            v.ChkPw1 = 1;
            v.TxtPw2 = u"old"_s;
            v.TxtPw3 = typed;
        });
        copy.options().cmdPokClick();
        // Not saved, not taken: the lock still opens with the old one.
        QCOMPARE(alice.opt().password, u"old"_s);
    }

    // The refusal and nothing else: no word of success.
    QCOMPARE(alice.dialogs.texts(), QStringList{refusal});
    QCOMPARE(alice.readFile(file), before);
    // Nor a temporary file left behind.
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{u"adrFile.dat"_s, u"filler"_s, u"miltoanne.lock"_s, u"optFile.dat"_s}));
}

QTEST_MAIN(TestStorage)
#include "test_storage.moc"
