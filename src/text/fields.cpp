#include "text/fields.h"

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

QString hhmm(QTime time)
{
    return time.toString(u"HH:mm");
}

QString hhmmss(QTime time)
{
    return time.toString(u"HH:mm:ss");
}

QString yymmdd(QDate date)
{
    return date.toString(u"yy/MM/dd");
}

} // namespace text
