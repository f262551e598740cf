#include "base/text/fields.h"

#include <QLocale>

#include <cstdlib>
#include <initializer_list>
#include <optional>

namespace text {

QString fixedField(QStringView value, qsizetype width)
{
    QString out = value.left(width).toString();
    out.resize(width, u' ');
    return out;
}

QStringView charsBetween(QStringView text, qsizetype first, qsizetype last)
{
    if (first < 1 || last < first || first > text.size())
        return {};
    return text.mid(first - 1, last - first + 1);
}

QStringView charsFrom(QStringView text, qsizetype first)
{
    if (first < 1 || first > text.size())
        return {};
    return text.mid(first - 1);
}

QString wireLineBreaks(const QString &edited)
{
    QString out = edited;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(u'\n', QStringLiteral("\r\n"));
    return out;
}

QString editorLineBreaks(const QString &wire)
{
    QString out = wire;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(u'\r', u'\n');
    return out;
}

namespace {

// "aa<sep>bb<sep>cc" from numbers below 100, two digits each. Written out by hand: these stamps
// are made several times for every message, and QTime::toString parses its format each time,
// which cost more than the rest of handling the message.
QString twoDigitGroups(std::initializer_list<int> numbers, char16_t separator)
{
    QString out(static_cast<qsizetype>(numbers.size() * 3 - 1), Qt::Uninitialized);
    char16_t *p = reinterpret_cast<char16_t *>(out.data());
    for (const int n : numbers) {
        if (p != reinterpret_cast<char16_t *>(out.data()))
            *p++ = separator;
        *p++ = static_cast<char16_t>(u'0' + n / 10 % 10);
        *p++ = static_cast<char16_t>(u'0' + n % 10);
    }
    return out;
}

constexpr qint64 kNoKey = -1;

// The last text made for the default locale from one key. Formatting by the locale's patterns
// costs more than the whole rest of a notice, and the same text is asked for again and again.
class LocaleMemo {
public:
    template <typename Make> QString text(qint64 key, Make &&make)
    {
        const QLocale locale;
        if (m_text.isNull() || key != m_key || locale != m_locale) {
            m_text = make(locale);
            m_key = key;
            m_locale = locale;
        }
        return m_text;
    }

private:
    qint64 m_key = kNoKey;
    QLocale m_locale;
    QString m_text;
};

// Whether a time pattern shows seconds or their fractions (quoted text aside).
bool showsSeconds(QStringView pattern)
{
    bool quoted = false;
    for (const QChar c : pattern) {
        if (c == u'\'')
            quoted = !quoted;
        else if (!quoted && (c == u's' || c == u'z'))
            return true;
    }
    return false;
}

} // namespace

QString hhmm(QTime time)
{
    return time.isValid() ? twoDigitGroups({time.hour(), time.minute()}, u':') : QString();
}

QString hhmmss(QTime time)
{
    return time.isValid() ? twoDigitGroups({time.hour(), time.minute(), time.second()}, u':') : QString();
}

QString yymmdd(QDate date)
{
    if (!date.isValid())
        return {};
    int year = 0;
    int month = 0;
    int day = 0;
    date.getDate(&year, &month, &day);
    return twoDigitGroups({std::abs(year) % 100, month, day}, u'/');
}

QString shortDate(QDate date)
{
    // The date changes once a day: formatting it is needed once a day.
    static thread_local LocaleMemo memo;
    return memo.text(date.isValid() ? date.toJulianDay() : kNoKey,
                     [date](const QLocale &locale) { return locale.toString(date, QLocale::ShortFormat); });
}

QString shortTime(QTime time)
{
    // Where the short form shows no seconds (as in Japanese, "H:mm"), the text changes once a
    // minute, and the messages of a conversation mostly fall in the same minute.
    static thread_local LocaleMemo memo;
    static thread_local QLocale patternLocale;
    static thread_local std::optional<bool> minutesOnly;
    const QLocale locale;
    if (!minutesOnly || locale != patternLocale) {
        minutesOnly = !showsSeconds(locale.timeFormat(QLocale::ShortFormat));
        patternLocale = locale;
    }
    qint64 key = kNoKey;
    if (time.isValid())
        key = *minutesOnly ? time.hour() * 60 + time.minute() : time.msecsSinceStartOfDay();
    return memo.text(key, [time](const QLocale &l) { return l.toString(time, QLocale::ShortFormat); });
}

} // namespace text
