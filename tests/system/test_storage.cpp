#include "base/history/history.h"
#include "base/platform/programdir.h"
#include "base/settings/optfile.h"
#include "support/mountns.h"
#include "support/testcopy.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using core::MenuId;
using testkit::Answer;
using testkit::BoxButtons;
using testkit::BoxIcon;
using testkit::boxStyle;
using testkit::FakeNetwork;
using testkit::ScratchMount;
using testkit::TestCopy;

namespace {
const QString kAlice = u"127.0.0.2"_s;
const QString kDiskFull = u"ﾃﾞｨｽｸの空き容量が不足しています。"_s;
// An earlier entry of the journal, whole, that ends where a page of the tmpfs ends: on a full
// disk not one more byte fits.
QByteArray earlierJournal()
{
    const QByteArray header = QByteArray(51, '-') + "< send    2026/12/07 18:00:00>-----\r\n";
    return header + QByteArray(4096 - header.size() - 2, 'x') + "\r\n";
}
} // namespace

// The data files and the lock file on file systems of the test's own: a small tmpfs that fills up
// and a read-only one, each in a mount namespace of the test's own (support/mountns.h).
class TestStorage final : public QObject {
    Q_OBJECT
private slots:
    void failedSaveIsToldAndChangesNothing_data();
    void failedSaveIsToldAndChangesNothing();
    void lockFileThatCannotBeWritten_data();
    void lockFileThatCannotBeWritten();
    void dataFolderMadeByTheProgramIsPrivate();
};

void TestStorage::failedSaveIsToldAndChangesNothing_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("file");    // the data file that must keep its old bytes
    QTest::addColumn<QString>("refusal"); // the box; a full disk's is answered with Cancel
    QTest::addColumn<QString>("typed");   // the name, password or message of the action
    QTest::addColumn<bool>("readOnly");   // a read-only folder rather than a full disk
    QTest::addColumn<qint64>("leaveFree");
    const QString big(3000, QChar(u'漢')); // 6000 bytes in CP932: more than the page left free
    QTest::newRow("registration") << u"registration"_s << u"adrFile.dat"_s
                                  << u"ディスクの空き容量が不足しています。"_s << u"ちゃーりー"_s << false
                                  << qint64(0);
    QTest::newRow("icon change") << u"icon"_s << u"optFile.dat"_s << kDiskFull << QString() << false
                                 << qint64(0);
    QTest::newRow("options OK") << u"options"_s << u"optFile.dat"_s << kDiskFull << u"ゆうこ"_s << false
                                << qint64(0);
    QTest::newRow("options larger than the room left")
        << u"options"_s << u"optFile.dat"_s << kDiskFull << big << false << qint64(4096);
    QTest::newRow("password") << u"password"_s << u"optFile.dat"_s << kDiskFull << u"new"_s << false
                              << qint64(0);
    QTest::newRow("journal") << u"journal"_s << u"logFile.dat"_s << kDiskFull << u"こんにちは"_s << false
                             << qint64(0);
    QTest::newRow("journal entry larger than the room left")
        << u"journal"_s << u"logFile.dat"_s << kDiskFull << big << false << qint64(4096);
    // Nothing to retry on a folder that cannot be written: one box that says so, naming the file.
    const QString cannotSave = u"ﾌｧｲﾙを保存できませんでした。\r<file>\r(ﾌｧｲﾙまたはﾌｫﾙﾀﾞに書き込めません)"_s;
    for (const char *action : {"registration", "icon", "options", "password", "journal"}) {
        const QString file = qstrcmp(action, "registration") == 0 ? u"adrFile.dat"_s
                             : qstrcmp(action, "journal") == 0    ? u"logFile.dat"_s
                                                                  : u"optFile.dat"_s;
        QTest::addRow("%s on a read-only folder", action)
            << QString::fromLatin1(action) << file << cannotSave << u"ちゃーりー"_s << true << qint64(0);
    }
}

void TestStorage::failedSaveIsToldAndChangesNothing()
{
    TESTKIT_IN_OWN_MOUNT_NAMESPACE();
    QFETCH(QString, action);
    QFETCH(QString, file);
    QFETCH(QString, refusal);
    QFETCH(QString, typed);
    QFETCH(bool, readOnly);
    QFETCH(qint64, leaveFree);
    ScratchMount disk(256);
    if (!disk.mounted())
        QSKIP(qPrintable(u"no tmpfs of the test's own here ("_s + disk.error() + u")"_s));
    FakeNetwork net;
    TestCopy alice(net, kAlice, disk.path());
    alice.writePartner(u"ぼぶ"_s, u"127.0.0.3"_s);
    alice.writeOptions([](core::Options &o) {
        o.logEnabled = 1;
        o.logSave = 1;
        o.pwEnabled = 1;
        o.password = u"old"_s;
    });
    alice.writeFile(u"logFile.dat"_s, earlierJournal());
    QVERIFY(alice.start());
    const QByteArray before = alice.readFile(file);
    QVERIFY(!before.isEmpty());
    QVERIFY(readOnly ? disk.makeReadOnly() : disk.fill(leaveFree));
    alice.dialogs.answerNext(Answer::Cancel);

    copy::Copy &copy = *alice.copy;
    if (action == u"registration") {
        alice.copy->partner().window().edit([&](settings::PartnerView &v) {
            v.name = typed;
            v.address = u"127.0.0.4"_s;
        });
        copy.partner().registerPartner();
        QCOMPARE(alice.partner().name, u"ぼぶ"_s);
    } else if (action == u"icon") {
        copy.iconSelection().open();
        copy.iconSelection().select(5);
        copy.iconSelection().apply();
        QCOMPARE(alice.compose().window().icon(), core::IconId::normal(0));
    } else if (action == u"options") {
        copy.menuClicked(MenuId::Options);
        copy.options().window().edit([&](settings::OptionsView &v) { v.userName = typed; });
        copy.options().accept();
        // Left open with what the user chose, to try again or to cancel.
        QCOMPARE(copy.options().window().view().userName, typed);
        QVERIFY(copy.options().window().isVisible());
    } else if (action == u"password") {
        copy.menuClicked(MenuId::Options);
        copy.options().showPage(2);
        copy.options().window().edit([&](settings::OptionsView &v) {
            v.passwordEnabled = 1;
            v.currentPassword = u"old"_s;
            v.newPassword = typed;
        });
        copy.options().setPassword();
        // Not saved, not taken: the lock still opens with the old one.
        QCOMPARE(alice.opt().password, u"old"_s);
    } else {
        alice.history().delivered(core::Peer(u"127.0.0.3"_s), typed);
    }

    // The refusal and nothing else: no word of success.
    QCOMPARE(alice.dialogs.texts(), QStringList{QString(refusal).replace(
                                        u"<file>"_s, QDir::toNativeSeparators(disk.filePath(file)))});
    QCOMPARE(alice.readFile(file), before);
    // What is in force is what the file holds, for this run and the next alike.
    if (file == u"optFile.dat")
        QCOMPARE(settings::formatOptions(alice.opt()), before);
    // Nor a temporary file left behind.
    QStringList files{u"adrFile.dat"_s, u"logFile.dat"_s, u"miltoanne.lock"_s, u"optFile.dat"_s};
    if (!readOnly)
        files.insert(1, u"filler"_s);
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), files);
}

void TestStorage::lockFileThatCannotBeWritten_data()
{
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("reason");
    QTest::newRow("read-only folder") << true << u"(ﾌｫﾙﾀﾞに書込み権限がありません)"_s;
    QTest::newRow("full disk") << false << u"(ﾃﾞｨｽｸの空き容量が不足しているか、ﾌｫﾙﾀﾞに書き込めません)"_s;
}

void TestStorage::lockFileThatCannotBeWritten()
{
    TESTKIT_IN_OWN_MOUNT_NAMESPACE();
    QFETCH(bool, readOnly);
    QFETCH(QString, reason);
    ScratchMount disk(64, readOnly);
    if (!disk.mounted())
        QSKIP(qPrintable(u"no tmpfs of the test's own here ("_s + disk.error() + u")"_s));
    if (!readOnly)
        QVERIFY(disk.fill());
    FakeNetwork net;
    TestCopy alice(net, kAlice, disk.path());
    QSignalSpy ended(alice.copy.get(), &copy::Copy::ended);
    QVERIFY(!alice.start());
    QCOMPARE(ended.size(), 1);
    QCOMPARE(alice.dialogs.texts(), QStringList{u"ﾛｯｸﾌｧｲﾙを書き込めません。\r"_s +
                                                QDir::toNativeSeparators(disk.path()) + u"\r"_s + reason});
    QCOMPARE(alice.dialogs.shown()[0].look(), boxStyle(BoxButtons::Ok, BoxIcon::Critical));
    QCOMPARE(alice.dialogs.shown()[0].title, u"ｴﾗｰ確認"_s);
    QVERIFY(alice.tray.calls().isEmpty());
    QVERIFY(net.sent().isEmpty());
}

void TestStorage::dataFolderMadeByTheProgramIsPrivate()
{
    TESTKIT_IN_OWN_MOUNT_NAMESPACE();
    // A program folder the user cannot write to, as an installed copy has.
    ScratchMount programDir(64, true);
    if (!programDir.mounted())
        QSKIP(qPrintable(u"no tmpfs of the test's own here ("_s + programDir.error() + u")"_s));
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path()));
    // The folder keeps its name when the name the application shows is another.
    QCoreApplication::setApplicationName(u"ミルトアンヌ"_s);
    const QString made = platform::dataDirectory(programDir.path());
    QCOMPARE(made, home.path() + u"/miltoanne"_s);
    constexpr QFile::Permissions ownerAll = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    constexpr QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    QCOMPARE(QFile::permissions(made) & (ownerAll | others), ownerAll);

    // A folder that is there already keeps the permissions its user gave it.
    QVERIFY(QFile::setPermissions(made, ownerAll | QFile::ReadGroup | QFile::ExeGroup));
    QCOMPARE(platform::dataDirectory(programDir.path()), made);
    QCOMPARE(QFile::permissions(made) & (ownerAll | others), ownerAll | QFile::ReadGroup | QFile::ExeGroup);
}

QTEST_MAIN(TestStorage)
#include "test_storage.moc"
