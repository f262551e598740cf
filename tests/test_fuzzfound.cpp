#include "checks.h"

#include <QDir>
#include <QFile>
#include <QTest>

// What the fuzzers look for, replayed on fixed inputs: the fuzzers' seed files, and each input a
// fuzzer has found a fault with, kept as a row of the `found` list its table starts from (bytes
// in hex, named after the fault; none so far). The checks are the fuzzers' own (fuzz/checks.h),
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
         {QStringLiteral("fuzz_datagram"), QStringLiteral("fuzz_optfile"), QStringLiteral("fuzz_adrfile")})
        QVERIFY2(seeds(target).size() >= 3, qPrintable(target));
}

void TestFuzzFound::datagram_data()
{
    addRows({}, QStringLiteral("fuzz_datagram"));
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

QTEST_MAIN(TestFuzzFound)
#include "test_fuzzfound.moc"
