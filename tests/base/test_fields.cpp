#include "base/text/address.h"
#include "base/text/fields.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;

// Fixed-width fields are counted in characters, so a kanji name is as wide as a latin one.
class TestFields final : public QObject {
    Q_OBJECT
private slots:
    void fixedField_data();
    void fixedField();
    void charsBetween();
    void timeAndDate();
    void dottedQuad_data();
    void dottedQuad();
};

void TestFields::fixedField_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("expected");
    QTest::newRow("padded") << QStringLiteral("ab") << 12 << QStringLiteral("ab          ");
    QTest::newRow("cut") << QStringLiteral("abcdefghijklmno") << 12 << QStringLiteral("abcdefghijkl");
    QTest::newRow("kanji count one each") << QStringLiteral("山田太郎") << 6 << QStringLiteral("山田太郎  ");
    QTest::newRow("half-width kana count one each") << QStringLiteral("ﾔﾏﾀﾞ") << 5 << QStringLiteral("ﾔﾏﾀﾞ ");
    QTest::newRow("empty is all blanks") << QString() << 12 << QString(12, u' ');
}

void TestFields::fixedField()
{
    QFETCH(QString, value);
    QFETCH(int, width);
    QFETCH(QString, expected);
    const QString field = text::fixedField(value, width);
    QCOMPARE(field, expected);
    QCOMPARE(field.size(), width);
}

void TestFields::charsBetween()
{
    const QString s = QStringLiteral("存在OK       09:05");
    QCOMPARE(text::charsBetween(s, 12, 16), u"09:05");
    QCOMPARE(text::charsBetween(s, 12, 40), u"09:05");
    QVERIFY(text::charsBetween(s, 30, 40).isEmpty());
    QCOMPARE(text::charsFrom(s, 12), u"09:05");
    QVERIFY(text::charsFrom(s, 17).isEmpty());
}

void TestFields::timeAndDate()
{
    QCOMPARE(text::hhmm(QTime(9, 5, 7)), u"09:05");
    QCOMPARE(text::hhmmss(QTime(9, 5, 7)), u"09:05:07");
    QCOMPARE(text::hhmmss(QTime(23, 59, 0)), u"23:59:00");
    QCOMPARE(text::yymmdd(QDate(2026, 1, 8)), u"26/01/08");
    QVERIFY(text::hhmm(QTime()).isEmpty());
    QVERIFY(text::yymmdd(QDate()).isEmpty());
    // The stamps are written out by hand; every second of a day and every day of three centuries
    // must read exactly as Qt's own formats give them.
    for (int s = 0; s < 24 * 3600; ++s) {
        const QTime t = QTime(0, 0).addSecs(s);
        if (text::hhmmss(t) != t.toString(u"HH:mm:ss") || text::hhmm(t) != t.toString(u"HH:mm"))
            QFAIL(qPrintable(t.toString()));
    }
    for (QDate d(1950, 1, 1); d.year() < 2250; d = d.addDays(1)) {
        if (text::yymmdd(d) != d.toString(u"yy/MM/dd"))
            QFAIL(qPrintable(d.toString(Qt::ISODate)));
    }

    // The short date is kept from one call to the next; a new day or a new locale makes it anew.
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QDate today(2026, 12, 8);
    QLocale::setDefault(japanese);
    QCOMPARE(text::shortDate(today), japanese.toString(today, QLocale::ShortFormat));
    QCOMPARE(text::shortDate(today.addDays(1)), japanese.toString(today.addDays(1), QLocale::ShortFormat));
    QLocale::setDefault(english);
    QCOMPARE(text::shortDate(today.addDays(1)), english.toString(today.addDays(1), QLocale::ShortFormat));
    // Short times are kept while they read the same: within a minute where the locale's short form
    // has no seconds, only for the same instant where it has (the C locale).
    for (const QLocale &locale : {japanese, english, QLocale::c()}) {
        QLocale::setDefault(locale);
        for (const QTime t :
             {QTime(9, 5), QTime(9, 5, 30), QTime(9, 5, 30, 500), QTime(9, 6), QTime(21, 5, 59)})
            QCOMPARE(text::shortTime(t), locale.toString(t, QLocale::ShortFormat));
    }
    QVERIFY(QLocale::c().toString(QTime(9, 5, 30), QLocale::ShortFormat).contains(u"30"));
    QLocale::setDefault(QLocale::c());
}

void TestFields::dottedQuad_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("address");
    QTest::newRow("as it should be") << u"198.18.0.5"_s << u"198.18.0.5"_s;
    QTest::newRow("leading zeros are decimal") << u"127.000.0.09"_s << u"127.0.0.9"_s;
    QTest::newRow("zero after zeros") << u"0127.0.00.010"_s << u"127.0.0.10"_s;
    QTest::newRow("blanks anywhere") << u" 198.18.0.5\t"_s << u"198.18.0.5"_s;
    QTest::newRow("full-width digits, dots and blank") << u"１９８．１８．０．５　"_s << u"198.18.0.5"_s;
    QTest::newRow("out of range is kept") << u"198.18.0.256"_s << u"198.18.0.256"_s;
    QTest::newRow("many zeros then a big part") << u"198.18.0.0001000"_s << u"198.18.0.0001000"_s;
    QTest::newRow("three parts") << u"198.18. 5"_s << u"198.18.5"_s;
    QTest::newRow("empty part") << u"198..0.5"_s << u"198..0.5"_s;
    QTest::newRow("a name") << u"bob-pc"_s << u"bob-pc"_s;
}

void TestFields::dottedQuad()
{
    QFETCH(QString, typed);
    QFETCH(QString, address);
    QCOMPARE(text::dottedQuad(typed), address);
}

QTEST_APPLESS_MAIN(TestFields)
#include "test_fields.moc"
