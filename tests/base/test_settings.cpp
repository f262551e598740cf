#include "base/core/placement.h"
#include "base/platform/files.h"
#include "base/settings/autostart.h"
#include "base/settings/optfile.h"
#include "base/text/cp932.h"
#include "support/testcopy.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using core::MenuId;
using testkit::Answer;
using testkit::BoxButtons;
using testkit::BoxIcon;
using testkit::boxStyle;
using testkit::FakeNetwork;
using testkit::TestCopy;

namespace {
const QString kForeign = u"ミルトアンヌのﾌｧｲﾙではありません"_s;

// The options file of a copy with every default and the font "ＭＳ Ｐゴシック", as Windows writes it.
QByteArray exampleFile()
{
    return text::toCp932(
        u"\"optFile\"\r\n"
        u"\"0\"\r\n"
        u"1,0,1,0,0,1\r\n"
        u"0,\"\",\"\",\"\"\r\n"
        u"\"True\",\"False\",\"False\",\"False\",\"False\"\r\n"
        u"0\r\n"
        u"\"\",0,1,1,\"ミルトアンヌ\",0,0,\"0\",\"送信ﾒｯｾｰｼﾞ\",0\r\n"
        u"\"ＭＳ Ｐゴシック\",\"9\",\"0\",\"False\",\"False\",\"False\",\"False\",\"16777215\"\r\n");
}

core::Options defaults()
{
    core::Options opt;
    opt.fontName = u"ＭＳ Ｐゴシック"_s;
    return opt;
}
} // namespace

// The options file: read at start-up over the defaults, written back whole, never half-written.
class TestSettings final : public QObject {
    Q_OBJECT
private slots:
    void writerMatchesTheExample();
    void readers_data();
    void readers();
    void textsWithCommasAndJapaneseSurvive();
    void doubleQuoteIsKeptAsACharacter();
    void startUpAppliesIconSetAndLock();
    void randomIconIsDrawnAndSaved();
    void fullDiskRetryThenSuccess();
    void fullDiskCancelKeepsTheOldFile();
    void optionsFileIsPrivate();
    void readsStopAtTheLimit_data();
    void readsStopAtTheLimit();
    void placement_data();
    void placement();
    void autostartEntryIsValid_data();
    void autostartEntryIsValid();
};

void TestSettings::writerMatchesTheExample()
{
    QCOMPARE(settings::formatOptions(defaults()), exampleFile());
}

void TestSettings::readers_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("foreign");
    QTest::addColumn<QString>("userName"); // group 6
    QTest::addColumn<int>("addOnHold");    // group 2
    QTest::addColumn<bool>("posCenter");   // group 4
    QTest::addColumn<QString>("fontSize"); // group 7

    QByteArray custom = exampleFile();
    custom.replace(text::toCp932(u"1,0,1,0,0,1"), "1,0,1,0,0,0");
    custom.replace(text::toCp932(u"\"\",0,1,1"), text::toCp932(u"\"ゆうこ\",0,1,1"));
    custom.replace("\"9\"", "\"10.5\"");
    QTest::newRow("example with changes") << custom << false << u"ゆうこ"_s << 0 << true << u"10.5"_s;
    QTest::newRow("marker only") << QByteArray("\"optFile\"\r\n") << false << QString() << 1 << true
                                 << u"9"_s;
    const QByteArray firstThree =
        text::toCp932(u"\"optFile\"\r\n\"3\"\r\n1,0,1,0,0,0\r\n1,\"pw\",\"\",\"\"\r\n");
    QTest::newRow("first three groups") << firstThree << false << QString() << 0 << true << u"9"_s;
    QTest::newRow("truncated group keeps the rest")
        << QByteArray("\"optFile\"\r\n\"0\"\r\n1,0,1,0,0,0\r\n0,\"\",\"\",\"\"\r\n\"False\",\"True\"")
        << false << QString() << 0 << false << u"9"_s;
    QTest::newRow("numbers as flags")
        << QByteArray("\"optFile\"\r\n\"0\"\r\n1,0,1,0,0,0\r\n0,\"\",\"\",\"\"\r\n\"0\",\"1\"") << false
        << QString() << 0 << false << u"9"_s;
    QByteArray badNumber = exampleFile();
    badNumber.replace("1,0,1,0,0,1", "1,0,1,0,0,x");
    QTest::newRow("field that is no number keeps its default")
        << badNumber << false << QString() << 1 << true << u"9"_s;
    QTest::newRow("foreign first field")
        << QByteArray("\"adrFile\"\r\n\"a\",\"b\"\r\n") << true << QString() << 1 << true << u"9"_s;
    QTest::newRow("empty file") << QByteArray() << true << QString() << 1 << true << u"9"_s;
    QByteArray garbage(4096, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>((i * 131 + 7) & 0xFF);
    QTest::newRow("binary garbage") << garbage << true << QString() << 1 << true << u"9"_s;
    QTest::newRow("invalid CP932 inside a text")
        << (QByteArray(
                "\"optFile\"\r\n\"0\"\r\n1,0,1,0,0,1\r\n0,\"\",\"\",\"\"\r\n\"True\",\"False\",\"False\","
                "\"False\",\"False\"\r\n0\r\n\"a\x81\",0,1,1,\"") +
            text::toCp932(u"ミルトアンヌ") + QByteArray("\",0,0,\"0\",\"s\",0\r\n"))
        << false << u"a\uFFFD"_s << 1 << true << u"9"_s;
    QTest::newRow("a 10 MB line") << (QByteArray("\"optFile\"\r\n\"") + QByteArray(10 * 1024 * 1024, 'x') +
                                      "\"\r\n")
                                  << false << QString() << 1 << true << u"9"_s;
}

void TestSettings::readers()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, foreign);
    QFETCH(QString, userName);
    QFETCH(int, addOnHold);
    QFETCH(bool, posCenter);
    QFETCH(QString, fontSize);
    FakeNetwork net;
    TestCopy alice(net, u"127.0.0.2"_s);
    alice.writeFile(u"optFile.dat"_s, file);
    QVERIFY(alice.start());
    QCOMPARE(alice.dialogs.texts(), foreign ? QStringList{kForeign} : QStringList{});
    if (foreign) {
        QCOMPARE(alice.dialogs.shown()[0].title, u"ｴﾗｰ確認"_s);
        QCOMPARE(alice.dialogs.shown()[0].look(), boxStyle(BoxButtons::Ok));
    }
    const core::Options &opt = alice.opt();
    QCOMPARE(opt.userName, userName);
    QCOMPARE(opt.addOnHold, addOnHold);
    QCOMPARE(opt.posCenter, posCenter);
    QCOMPARE(opt.fontSize, fontSize);
    QCOMPARE(opt.tipText, u"ミルトアンヌ"_s);
    QVERIFY(!alice.context().menu.checked(MenuId::Lock));
}

void TestSettings::textsWithCommasAndJapaneseSurvive()
{
    core::Options written = defaults();
    written.userName = u"山田, 花子"_s;
    written.tipText = u"ﾐﾙﾄ,アンヌ\\~"_s;
    written.sendTitle = u"a,b,c"_s;
    written.password = u"p,w 1"_s;
    written.fontColor = u"255"_s;
    written.recvConfirmMin = -1;
    core::Options read = defaults();
    QCOMPARE(settings::parseOptions(settings::formatOptions(written), read),
             settings::OptionsFileState::Read);
    QCOMPARE(settings::formatOptions(read), settings::formatOptions(written));
    QCOMPARE(read.userName, written.userName);
    QCOMPARE(read.tipText, written.tipText);
    QCOMPARE(read.password, written.password);
    QCOMPARE(read.recvConfirmMin, -1);
}

void TestSettings::doubleQuoteIsKeptAsACharacter()
{
    core::Options written = defaults();
    written.userName = u"say \"hi\""_s;
    core::Options read = defaults();
    settings::parseOptions(settings::formatOptions(written), read);
    QCOMPARE(read.userName, u"say ”hi”"_s);
    // Nothing after the name moved: the quote did not end the field early.
    QCOMPARE(read.tipText, written.tipText);
    QCOMPARE(read.logSave, written.logSave);
}

void TestSettings::startUpAppliesIconSetAndLock()
{
    FakeNetwork net;
    TestCopy alice(net, u"127.0.0.2"_s);
    alice.writeOptions([](core::Options &opt) {
        opt.iconNo = u"7"_s;
        opt.startLocked = 1;
    });
    QVERIFY(alice.start());
    core::Context &c = alice.context();
    QCOMPARE(alice.compose().window().icon(), core::IconId::normal(7));
    QCOMPARE(alice.receivedWindow().icon(), core::IconId::received(7));
    QCOMPARE(alice.tray.picture(), core::IconId::normal(7));
    QVERIFY(c.menu.checked(MenuId::Lock));
    QVERIFY(!c.menu.visible(MenuId::Compose));
    QVERIFY(!c.menu.visible(MenuId::Quit));
    QVERIFY(c.menu.visible(MenuId::Lock));
    QVERIFY(c.menu.enabledThroughLock(core::MenuId::Compose));
    QVERIFY(!c.menu.enabledThroughLock(core::MenuId::ShowReceived));
}

void TestSettings::randomIconIsDrawnAndSaved()
{
    FakeNetwork net;
    TestCopy alice(net, u"127.0.0.2"_s);
    alice.writeOptions([](core::Options &opt) { opt.randomIcon = 1; });
    alice.context().random = [](int n) { return n - 1; };
    QVERIFY(alice.start());
    QCOMPARE(alice.opt().iconNo, u"9"_s);
    QCOMPARE(alice.receivedWindow().icon(), core::IconId::received(9));
    QVERIFY(settings::writeOptionsFile(alice.context()));
    QVERIFY(alice.readFile(u"optFile.dat"_s).startsWith("\"optFile\"\r\n\"9\"\r\n"));
}

void TestSettings::fullDiskRetryThenSuccess()
{
    FakeNetwork net;
    TestCopy alice(net, u"127.0.0.2"_s);
    QVERIFY(alice.start());
    alice.opt().userName = u"ゆうこ"_s;
    alice.files.failNextWrites(1);
    alice.dialogs.answerNext(Answer::Retry);
    QVERIFY(settings::writeOptionsFile(alice.context()));
    QCOMPARE(alice.dialogs.texts(), QStringList{u"ﾃﾞｨｽｸの空き容量が不足しています。"_s});
    QCOMPARE(alice.dialogs.shown()[0].title, u"ｴﾗｰ確認"_s);
    QCOMPARE(alice.dialogs.shown()[0].look().buttons, BoxButtons::RetryCancel);
    QCOMPARE(alice.files.writesAttempted(), 2);
    QCOMPARE(alice.readFile(u"optFile.dat"_s), settings::formatOptions(alice.opt()));
}

void TestSettings::fullDiskCancelKeepsTheOldFile()
{
    FakeNetwork net;
    TestCopy alice(net, u"127.0.0.2"_s);
    alice.writeFile(u"optFile.dat"_s, exampleFile());
    QVERIFY(alice.start());
    alice.opt().userName = u"changed"_s;
    alice.files.failNextWrites(3);
    alice.dialogs.answerNext(Answer::Retry); // fails again
    alice.dialogs.answerNext(Answer::Cancel);
    QVERIFY(!settings::writeOptionsFile(alice.context()));
    QCOMPARE(alice.dialogs.shown().size(), 2);
    QCOMPARE(alice.readFile(u"optFile.dat"_s), exampleFile());

    // Any other failure is told once, naming the file.
    alice.dialogs.clear();
    alice.files.failNextWrites(1, platform::FileResult::Failed);
    QVERIFY(!settings::writeOptionsFile(alice.context()));
    QCOMPARE(alice.dialogs.texts(),
             QStringList{u"ﾌｧｲﾙを保存できませんでした。\r"_s +
                         QDir::toNativeSeparators(alice.programDir() + u"/optFile.dat"_s) +
                         u"\r(ﾌｧｲﾙまたはﾌｫﾙﾀﾞに書き込めません)"_s});
    QCOMPARE(alice.dialogs.shown()[0].title, u"ｴﾗｰ確認"_s);
    QCOMPARE(alice.dialogs.shown()[0].look(), boxStyle(BoxButtons::Ok, BoxIcon::Critical));
    QCOMPARE(alice.readFile(u"optFile.dat"_s), exampleFile());
}

void TestSettings::optionsFileIsPrivate()
{
    FakeNetwork net;
    TestCopy alice(net, u"127.0.0.2"_s);
    QVERIFY(alice.start());
    alice.opt().password = u"secret"_s;
    QVERIFY(settings::writeOptionsFile(alice.context()));
    const QFile::Permissions p = QFile::permissions(alice.programDir() + u"/optFile.dat"_s);
    QVERIFY(p & QFile::ReadOwner);
    QVERIFY(p & QFile::WriteOwner);
    QVERIFY(!(p & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther)));
}

void TestSettings::readsStopAtTheLimit_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("limit");
    QTest::newRow("empty") << 0 << 16;
    QTest::newRow("shorter than the limit") << 5 << 16;
    QTest::newRow("as long as the limit") << 16 << 16;
    QTest::newRow("longer than the limit") << 40 << 16;
}

void TestSettings::readsStopAtTheLimit()
{
    QFETCH(int, size);
    QFETCH(int, limit);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"optFile.dat"_s);
    QByteArray bytes;
    for (int i = 0; i < size; ++i)
        bytes.append(static_cast<char>('a' + i % 26));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == size);
    file.close();
    platform::QtFileStore store;
    QByteArray out = "stale";
    QCOMPARE(store.read(path, out, limit), platform::FileResult::Ok);
    QCOMPARE(out, bytes.left(limit));
    QCOMPARE(store.read(dir.filePath(u"adrFile.dat"_s), out, limit), platform::FileResult::Missing);
}

void TestSettings::placement_data()
{
    QTest::addColumn<QStringList>("trueFields");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QSize>("window");
    QTest::addColumn<QPoint>("current");
    QTest::addColumn<QPoint>("expected");
    // A screen of 19200 x 14400 twips, all of it free; a window of 4000 x 2000.
    const QRect screen(0, 0, 19200, 14400);
    const QSize window(4000, 2000);
    const QPoint current(111, 222);
    QTest::newRow("none") << QStringList{} << screen << window << current << QPoint(111, 222);
    QTest::newRow("centre") << QStringList{u"center"_s} << screen << window << current << QPoint(7600, 6200);
    QTest::newRow("right up") << QStringList{u"rightUp"_s} << screen << window << current << QPoint(15200, 0);
    QTest::newRow("right low keeps the task bar free")
        << QStringList{u"rightLow"_s} << screen << window << current << QPoint(15200, 12000);
    QTest::newRow("left up") << QStringList{u"leftUp"_s} << screen << window << current << QPoint(0, 0);
    QTest::newRow("left low") << QStringList{u"leftLow"_s} << screen << window << current << QPoint(0, 12000);
    QTest::newRow("later test wins: centre and right up")
        << QStringList{u"center"_s, u"rightUp"_s} << screen << window << current << QPoint(15200, 0);
    QTest::newRow("all five: left low wins")
        << QStringList{u"center"_s, u"rightUp"_s, u"rightLow"_s, u"leftUp"_s, u"leftLow"_s} << screen
        << window << current << QPoint(0, 12000);
    QTest::newRow("right low and left up: left up wins")
        << QStringList{u"rightLow"_s, u"leftUp"_s} << screen << window << current << QPoint(0, 0);

    // Panels at the left, the top and the bottom leave the area 900 twips in and 450 down.
    const QRect panels(900, 450, 18300, 12600);
    QTest::newRow("panels: centre of the area")
        << QStringList{u"center"_s} << panels << window << current << QPoint(8050, 5750);
    QTest::newRow("panels: right up")
        << QStringList{u"rightUp"_s} << panels << window << current << QPoint(15200, 450);
    QTest::newRow("panels: right low, 400 above the area's bottom")
        << QStringList{u"rightLow"_s} << panels << window << current << QPoint(15200, 10650);
    QTest::newRow("panels: left up") << QStringList{u"leftUp"_s} << panels << window << current
                                     << QPoint(900, 450);
    QTest::newRow("panels: left low")
        << QStringList{u"leftLow"_s} << panels << window << current << QPoint(900, 10650);
    QTest::newRow("panels: none, left where it was under a panel: moved out")
        << QStringList{} << panels << window << current << QPoint(900, 450);

    QTest::newRow("none, hanging over the right and the bottom: pulled in")
        << QStringList{} << screen << window << QPoint(18000, 14000) << QPoint(15200, 12400);
    QTest::newRow("low corner, too tall for the free strip: the title bar stays on screen")
        << QStringList{u"leftLow"_s} << screen << QSize(4000, 14200) << current << QPoint(0, 0);
    for (const QString &field : {u"center"_s, u"rightUp"_s, u"rightLow"_s, u"leftUp"_s, u"leftLow"_s}) {
        QTest::addRow("larger than the area, %s: its top-left corner in the area", qPrintable(field))
            << QStringList{field} << panels << QSize(20000, 15000) << current << QPoint(900, 450);
    }
}

void TestSettings::placement()
{
    QFETCH(QStringList, trueFields);
    QFETCH(QRect, area);
    QFETCH(QSize, window);
    QFETCH(QPoint, current);
    QFETCH(QPoint, expected);
    core::Options opt;
    auto flag = [&](const QString &name) { return trueFields.contains(name); };
    opt.posCenter = flag(u"center"_s);
    opt.posRightUp = flag(u"rightUp"_s);
    opt.posRightLow = flag(u"rightLow"_s);
    opt.posLeftUp = flag(u"leftUp"_s);
    opt.posLeftLow = flag(u"leftLow"_s);
    QCOMPARE(core::placeWindow(opt, area, window, current), expected);
}

void TestSettings::autostartEntryIsValid_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("exec");
    QTest::newRow("plain path") << u"/usr/bin/miltoanne"_s << u"Exec=/usr/bin/miltoanne"_s;
    QTest::newRow("a blank: quoted") << u"/home/ゆうこ/My Apps/miltoanne"_s
                                     << u"Exec=\"/home/ゆうこ/My Apps/miltoanne\""_s;
    // Quoting escapes the quote, the dollar and the backslash; the string value's escape doubles
    // each backslash again; a percent sign is doubled so that it is no field code.
    // A percent sign is also no program GLib would find: env starts the program.
    QTest::newRow("quote, dollar, percent, backslash")
        << u"/opt/a\"b$c%d\\e/miltoanne"_s << u"Exec=env \"/opt/a\\\\\"b\\\\$c%%d\\\\\\\\e/miltoanne\""_s;
    QTest::newRow("percent alone") << u"/home/u/100%/miltoanne"_s << u"Exec=env /home/u/100%%/miltoanne"_s;
    // What the system gives for a folder whose name is not UTF-8: no entry rather than an empty Exec.
    QTest::newRow("no path") << QString() << QString();
}

// The autostart entry is the installed entry with the program's path, and the desktop's own
// checker accepts it.
void TestSettings::autostartEntryIsValid()
{
    QFETCH(QString, program);
    QFETCH(QString, exec);
    const std::optional<QByteArray> made = settings::autostartEntry(program);
    QCOMPARE(made.has_value(), !exec.isEmpty());
    if (!made)
        return;
    const QByteArray &entry = *made;
    const QStringList lines = QString::fromUtf8(entry).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.filter(QRegularExpression(u"^Exec="_s)), QStringList{exec});
    for (const QString &line :
         {u"[Desktop Entry]"_s, u"Type=Application"_s, u"Name=ミルトアンヌ"_s, u"Icon=miltoanne"_s,
          u"X-GNOME-Autostart-enabled=true"_s, u"X-LXQt-Need-Tray=true"_s, u"X-KDE-autostart-phase=2"_s})
        QVERIFY2(lines.contains(line), qPrintable(line));

    const QString validate = QStandardPaths::findExecutable(u"desktop-file-validate"_s);
    if (validate.isEmpty())
        QFAIL("desktop-file-validate is missing (package desktop-file-utils; make deps installs it)");
    QTemporaryDir dir;
    QFile file(dir.filePath(u"miltoanne.desktop"_s));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(entry) == entry.size());
    file.close();
    QProcess checker;
    checker.setProcessChannelMode(QProcess::MergedChannels);
    checker.start(validate, {file.fileName()});
    QVERIFY(checker.waitForFinished());
    const QByteArray said = checker.readAll();
    QVERIFY2(checker.exitCode() == 0 && said.isEmpty(), said.constData());
}

QTEST_MAIN(TestSettings)
#include "test_settings.moc"
