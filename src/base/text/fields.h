#pragma once

#include <QDate>
#include <QString>
#include <QStringView>
#include <QTime>

// Fixed-width fields and the time and date texts of the wire and the history. Widths are counted
// in characters of the text, not in bytes: a kanji and a half-width katakana are one each.
namespace text {

// `value` left-aligned in `width` characters: padded with blanks, or cut.
QString fixedField(QStringView value, qsizetype width);

// Characters `first` to `last` (1-based, inclusive) of `text`; shorter when the text ends first.
QStringView charsBetween(QStringView text, qsizetype first, qsizetype last);
// Characters from `first` (1-based) to the end.
QStringView charsFrom(QStringView text, qsizetype first);

// Line breaks as the wire and the files carry them (CR LF), and as a text box holds them (LF).
QString wireLineBreaks(const QString &edited);
QString editorLineBreaks(const QString &wire);

QString hhmm(QTime time);   // "09:05"
QString hhmmss(QTime time); // "09:05:07"
QString yymmdd(QDate date); // "26/12/08"

// The date and the time in the short forms of the user's locale (the default QLocale), as the
// notices and status bars show them.
QString shortDate(QDate date);
QString shortTime(QTime time);

} // namespace text
