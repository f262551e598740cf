#include "base/text/cp932.h"

#include <QTest>

// Code page 932 both ways: the bytes other copies put on the wire and in their files.
class TestCp932 final : public QObject {
    Q_OBJECT
private slots:
    void vectors_data();
    void vectors();
    void undecodableBytes_data();
    void undecodableBytes();
    void unmappableCharacters();
    void largestDatagramRoundTrip();
    void everyPairRoundTrips();
    void prefixNeverSplitsACharacter_data();
    void prefixNeverSplitsACharacter();
};

void TestCp932::vectors_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << QStringLiteral("Hello, 123") << QByteArray("Hello, 123");
    QTest::newRow("wave dash of the notices") << QStringLiteral("～") << QByteArray::fromHex("8160");
    QTest::newRow("backslash and tilde stay ascii") << QStringLiteral("\\~") << QByteArray("\\~");
    QTest::newRow("full-width backslash") << QStringLiteral("＼") << QByteArray::fromHex("815f");
    QTest::newRow("half-width katakana, one byte each")
        << QStringLiteral("ﾒｯｾｰｼﾞ") << QByteArray::fromHex("d2afbeb0bcde");
    QTest::newRow("kanji and kana") << QStringLiteral("送信") << QByteArray::fromHex("9197904d");
    QTest::newRow("product name") << QStringLiteral("ミルトアンヌ")
                                  << QByteArray::fromHex("837e838b836783418393836b");
    QTest::newRow("full-width space and colon") << QStringLiteral("　：") << QByteArray::fromHex("81408146");
    QTest::newRow("NEC special: circled one") << QStringLiteral("①") << QByteArray::fromHex("8740");
    QTest::newRow("line break") << QStringLiteral("a\r\nb") << QByteArray("a\r\nb");
    QTest::newRow("empty") << QString() << QByteArray();
}

void TestCp932::vectors()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(text::toCp932(text), bytes);
    QCOMPARE(text::fromCp932(bytes), text);
}

void TestCp932::undecodableBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const QString bad(QChar(0xFFFD));
    QTest::newRow("lead byte at the end") << QByteArray::fromHex("41 81") << QStringLiteral("A") + bad;
    QTest::newRow("lead byte before a line break keeps the break")
        << QByteArray::fromHex("81 0d 0a 42") << bad + QStringLiteral("\r\nB");
    QTest::newRow("unassigned pair is one character")
        << QByteArray::fromHex("85 40 43") << bad + QStringLiteral("C");
    QTest::newRow("bytes that never start a character")
        << QByteArray::fromHex("80 a0 fd fe ff 44") << bad + bad + bad + bad + bad + QStringLiteral("D");
    QTest::newRow("text after the damage survives")
        << (QByteArray::fromHex("ff") + text::toCp932(u"送信OK")) << bad + QStringLiteral("送信OK");
}

void TestCp932::undecodableBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(text::fromCp932(bytes), text);
}

void TestCp932::unmappableCharacters()
{
    // Windows writes "?" for a character its code page lacks; one character beyond the BMP is one "?".
    QCOMPARE(text::toCp932(u"a\u00e9b"), QByteArray("a?b"));
    QCOMPARE(text::toCp932(QStringLiteral("x\U0001F600y")), QByteArray("x?y"));
}

void TestCp932::largestDatagramRoundTrip()
{
    // 65 507 bytes, the most one UDP datagram carries: kanji, kana and ASCII mixed.
    const QString unit = QStringLiteral("送信ﾒｯｾｰｼﾞabc～"); // 15 bytes
    const qsizetype unitBytes = text::toCp932(unit).size();
    QString text = unit.repeated(65507 / unitBytes);
    text += QString(65507 % unitBytes, u'x');
    const QByteArray bytes = text::toCp932(text);
    QCOMPARE(bytes.size(), 65507);
    QCOMPARE(text::fromCp932(bytes), text);
}

void TestCp932::everyPairRoundTrips()
{
    // Every well-formed pair that names a character encodes back to a pair naming the same
    // character (some characters have two codes; the encoder picks one), and every pair the
    // encoder writes reads back as a character that is written as that same pair (a few
    // characters, like "¢", are written as their full-width look-alike).
    int named = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0)
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            const QByteArray pair(bytes, 2);
            const QString ch = text::fromCp932(pair);
            QCOMPARE(ch.size(), 1);
            if (ch[0] == QChar(0xFFFD))
                continue;
            ++named;
            const QByteArray again = text::toCp932(ch);
            QCOMPARE(again.size(), 2);
            QCOMPARE(text::fromCp932(again), ch);
        }
    }
    QVERIFY(named > 7000);
    int pairs = 0;
    for (int u = 0x80; u <= 0xFFFF; ++u) {
        const QChar ch(static_cast<char16_t>(u));
        if (ch.isSurrogate())
            continue;
        const QByteArray bytes = text::toCp932(QStringView(&ch, 1));
        if (bytes.size() == 2) {
            ++pairs;
            const QString read = text::fromCp932(bytes);
            QCOMPARE(read.size(), 1);
            QVERIFY(read[0] != QChar(0xFFFD));
            QCOMPARE(text::toCp932(read), bytes);
        }
    }
    QCOMPARE(pairs, 9212);
}

void TestCp932::prefixNeverSplitsACharacter_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("fits") << QStringLiteral("ミルトアンヌ") << 64 << text::toCp932(u"ミルトアンヌ");
    QTest::newRow("kanji across the limit is dropped whole")
        << (QString(63, u'a') + QStringLiteral("送")) << 64 << QByteArray(63, 'a');
    QTest::newRow("half-width kana fills to the limit") << (QString(63, u'a') + QStringLiteral("ﾒｯ")) << 64
                                                        << (QByteArray(63, 'a') + QByteArray::fromHex("d2"));
    QTest::newRow("zero") << QStringLiteral("abc") << 0 << QByteArray();
}

void TestCp932::prefixNeverSplitsACharacter()
{
    QFETCH(QString, text);
    QFETCH(int, maxBytes);
    QFETCH(QByteArray, expected);
    QCOMPARE(text::cp932Prefix(text, maxBytes), expected);
}

QTEST_APPLESS_MAIN(TestCp932)
#include "test_cp932.moc"
