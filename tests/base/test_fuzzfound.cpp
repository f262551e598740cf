#include "checks.h"
#include "session.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// What the fuzzers look for, replayed on fixed inputs: the fuzzers' seed files, and each input a
// fuzzer has found a fault with, kept as a row of the `found` list its table starts from (bytes
// in hex, named after the fault). The checks are the fuzzers' own (fuzz/checks.h),
// so a fault fixed once stays fixed.
class TestFuzzFound final : public QObject {
    Q_OBJECT
private slots:
    void seedsAreThere();
    void datagram_data();
    void datagram();
    void datagramsOneAfterAnother();
    void optionsFile_data();
    void optionsFile();
    void addressFile_data();
    void addressFile();
    void sealed_data();
    void sealed();
    void session_data();
    void session();

private:
    struct Input {
        QString name;
        QByteArray bytes;
    };
    // The seed files of one fuzz target, by file name.
    static QList<Input> seeds(const QString &target);
    static void addRows(const QList<Input> &found, const QString &target);
};

QList<TestFuzzFound::Input> TestFuzzFound::seeds(const QString &target)
{
    QList<Input> out;
    const QDir dir(QStringLiteral(MILTOANNE_FUZZ_CORPUS) + u'/' + target);
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read a seed file");
        out.append({name, file.readAll()});
    }
    return out;
}

void TestFuzzFound::addRows(const QList<Input> &found, const QString &target)
{
    QTest::addColumn<QByteArray>("bytes");
    for (const Input &input : found)
        QTest::newRow(qPrintable(QStringLiteral("found: ") + input.name)) << input.bytes;
    for (const Input &input : seeds(target))
        QTest::newRow(qPrintable(QStringLiteral("seed: ") + input.name)) << input.bytes;
}

void TestFuzzFound::seedsAreThere()
{
    // Without its seeds a table below would be empty and prove nothing.
    for (const QString &target :
         {QStringLiteral("fuzz_datagram"), QStringLiteral("fuzz_optfile"), QStringLiteral("fuzz_adrfile"),
          QStringLiteral("fuzz_session"), QStringLiteral("fuzz_sealed")})
        QVERIFY2(seeds(target).size() >= 3, qPrintable(target));
}

void TestFuzzFound::datagram_data()
{
    addRows({{QStringLiteral("an end notice's tag without the start time is a message"),
              QByteArray::fromHex("454e449197904d20202020202035816031c23a3c30")}},
            QStringLiteral("fuzz_datagram"));
}

void TestFuzzFound::datagram()
{
    QFETCH(QByteArray, bytes);
    const QStringList broken = fuzzcheck::checkDatagram(bytes);
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QStringLiteral("; "))));
    fuzzcheck::DispatchRig rig;
    const QStringList dispatched = rig.arrive(bytes);
    QVERIFY2(dispatched.isEmpty(), qPrintable(dispatched.join(QStringLiteral("; "))));
}

void TestFuzzFound::datagramsOneAfterAnother()
{
    // The fuzzer's copies live through many datagrams; so do these, in file order and then
    // backwards, so that each kind also arrives after each state the others leave.
    QList<Input> inputs = seeds(QStringLiteral("fuzz_datagram"));
    QList<Input> backwards(inputs.rbegin(), inputs.rend());
    inputs += backwards;
    fuzzcheck::DispatchRig rig;
    for (const Input &input : inputs) {
        const QStringList broken = rig.arrive(input.bytes);
        QVERIFY2(broken.isEmpty(),
                 qPrintable(input.name + QStringLiteral(": ") + broken.join(QStringLiteral("; "))));
    }
}

void TestFuzzFound::optionsFile_data()
{
    addRows({}, QStringLiteral("fuzz_optfile"));
}

void TestFuzzFound::optionsFile()
{
    QFETCH(QByteArray, bytes);
    const QStringList broken = fuzzcheck::checkOptionsFile(bytes);
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QStringLiteral("; "))));
}

void TestFuzzFound::addressFile_data()
{
    addRows({}, QStringLiteral("fuzz_adrfile"));
}

void TestFuzzFound::addressFile()
{
    QFETCH(QByteArray, bytes);
    const QStringList broken = fuzzcheck::checkAddressFile(bytes);
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QStringLiteral("; "))));
}

void TestFuzzFound::sealed_data()
{
    addRows({}, QStringLiteral("fuzz_sealed"));
}

void TestFuzzFound::sealed()
{
    QFETCH(QByteArray, bytes);
    const QStringList broken = fuzzcheck::checkSealed(bytes);
    QVERIFY2(broken.isEmpty(), qPrintable(broken.join(QStringLiteral("; "))));
}

void TestFuzzFound::session_data()
{
    QTest::addColumn<QByteArray>("bytes");
    // The steps the program runs, as the session reports them (the fuzzer prints them as STEPS
    // beside a fault). Each was recorded by running the row when it was written, not worked out:
    // the steps a row ran then are what it means, and the point is that a change in how bytes are
    // read into steps fails here, before it quietly turns the row into a program that proves
    // nothing.
    QTest::addColumn<QString>("steps");
    const struct {
        const char *name;
        const char *hex;
        const char *steps;
    } found[] = {
        // The step bytes are written in the codes of the step table; the fuzzer that found these
        // read a step's code modulo the number of steps, so bytes past the table were brought back
        // into it, which runs the same steps.
        {"found: long messages appended to a waiting one without end",
         "0001070804040087308208830ab100884f82bf828382ae959bff9b848e92263105",
         "a.Compose a.TypeCompose b.BuiltLong b.Burst b.PartnerCheck b.LetterMenu b.CallKind "
         "b.CallKind b.OpenReceived b.OpenClose a.LogClose a.NextAnswer"},
        {"found: arrivals pile up behind a disk-full box in a handler",
         "4e31305f2d3178142f3069120001070804858d834f0000000000000a00000000000000c2bf8283b6ae858e9285310130"
         "019bff9bff9bff9bff0d0d0d0d0d0d0d0d9bff00",
         "a.DiskFails a.PartnerOk a.NextAnswer a.Close a.PartnerCancel a.DiskFails a.OpenClose "
         "a.Raw a.Raw b.Burst b.PartnerCheck b.DeliverAll b.OpenReceived b.OpenClose b.DeliverAll "
         "a.NextAnswer a.DiskFails b.CallKind b.CallKind b.CallKind b.CallKind a.ClipSend "
         "a.ClipSend a.ClipSend a.ClipSend a.ClipSend a.ClipSend a.ClipSend a.ClipSend b.CallKind "
         "a.Raw"},
        {"found: every acknowledgement appends the compose box to the sent row",
         "0000a885a91e000900a885a985aa2b2c0482da82d401010000002e050a0000000000032e1d",
         "b.Search b.DeliverAll b.SearchAgain a.Clock a.TypeComposeLong b.DeliverAll b.SearchAgain "
         "b.DeliverAll b.SearchClose a.PartnerMenu a.PartnerType a.Built a.Burst a.Tick"},
        {"found: a disk-full box lets thousands of acknowledgements wait, each to rewrite a longer run",
         "0001120e020c82000001440e020c82000000440e020c8200000002df6c870908838d835230831c2c04c22c0482e083ea"
         "00440e020c8200000002df6c870908838d835262834e2c04902c0482e083ea",
         "a.OpenClose a.OpenReceived a.BuiltLong a.Raw b.Burst a.DiskFails a.Lock a.PartnerType "
         "b.Burst a.Raw a.Raw b.Compose a.TypeComposeLong b.TypeReplyLong"},
        {"found: a search answered a thousand times over",
         "da82a22e2e12000102010ea882cd82bd81000000838383838383838383838383838c83839191a0a00c2e2e",
         "b.LogNext a.PartnerCheck a.PartnerCheck a.OpenClose a.Raw b.Search b.BuiltLong b.Burst "
         "b.Burst b.Burst b.Burst b.Burst b.Burst b.Burst b.Burst b.Reply b.Reply b.LogTab "
         "a.Clipboard"},
        {"found: acknowledgements of nothing sent journal the whole run again",
         "0000a89bef9bff85a981ba2b01000000009a000000052c0682be82ea82a903bc0b050d",
         "b.Search b.CallKind b.CallKind b.DeliverAll b.SearchAgain b.Built a.Raw a.Raw a.Burst "
         "a.ComposeCancel a.DeliverAll a.ClipSend"},
        // Written by hand, in the fuzzer's steps, for a fault it had not reached by itself.
        {"made: the viewer steps back into a list cleared under it",
         "00000100010e000288ea000100010e000293f1000100010e00028e4f00859fa001a10103a4a5a3",
         "a.Built a.Built a.Built b.DeliverAll b.LogOpen b.LogTab b.LogRow b.LogOk b.LogClear "
         "b.LogBack"},
    };
    for (const auto &row : found)
        QTest::newRow(row.name) << QByteArray::fromHex(row.hex) << QString::fromLatin1(row.steps);
    // A seed is only an example to start from, and its steps are not held to.
    for (const Input &input : seeds(QStringLiteral("fuzz_session")))
        QTest::newRow(qPrintable(QStringLiteral("seed: ") + input.name)) << input.bytes << QString();
}

void TestFuzzFound::session()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, steps);
    // A working folder of its own, which no other test writes to meanwhile.
    QTemporaryDir here;
    const QString was = QDir::currentPath();
    QVERIFY(here.isValid() && QDir::setCurrent(here.path()));
    fuzzcheck::SessionResult result;
    {
        fuzzcheck::SessionRig rig;
        result = rig.run(bytes);
    }
    QDir::setCurrent(was);
    // Both in full: QCOMPARE would cut texts this long short.
    QVERIFY2(steps.isEmpty() || result.steps == steps,
             qPrintable(QStringLiteral("the program now runs other steps\n   now: %1\n   was: %2")
                            .arg(result.steps, steps)));
    QVERIFY2(result.broken.isEmpty(), qPrintable(result.broken.join(QStringLiteral("; "))));
}

QTEST_MAIN(TestFuzzFound)
#include "test_fuzzfound.moc"
