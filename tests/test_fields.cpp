#include "text/fields.h"

#include <QTest>

// Fixed-width fields are counted in characters, so a kanji name is as wide as a latin one.
class TestFields final : public QObject {
    Q_OBJECT
private slots:
    void fixedField_data();
    void fixedField();
    void charsBetween();
    void timeAndDate();
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
}

QTEST_APPLESS_MAIN(TestFields)
#include "test_fields.moc"
