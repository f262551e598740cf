#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <variant>

// The comma-separated syntax of the data files: a text field between double quotes, unchanged
// and unescaped; a number bare; fields of a line separated by commas; lines ended by CR LF; all
// in CP932. The reader takes commas and line ends alike as separators.
namespace text {

// One field to write: a text (quoted) or a whole number (bare).
using Field = std::variant<QString, qint32>;

// The file's bytes for these lines. A double quote cannot be carried inside a quoted field, so it
// is written as the right double quotation mark "”", which every copy reads back as a character.
QByteArray writeQuotedLines(const QList<QList<Field>> &lines);

// Whether a text comes back from the file exactly as it went in: no double quote, and nothing the
// code page lacks (which would come back as "?").
bool storesExactly(QStringView value);

// Reads fields one after another from a file's bytes.
class QuotedFieldReader final {
public:
    explicit QuotedFieldReader(const QByteArray &bytes);

    bool atEnd() const;
    // The next field's text (without its quotes); empty optional at the end of the file.
    std::optional<QString> next();
    // The next field as a whole number; empty optional when it is missing or not a number (the
    // field is consumed either way).
    std::optional<qint32> nextNumber();

private:
    qsizetype nonBlankFrom(qsizetype pos) const;
    QString m_text;
    qsizetype m_pos = 0;
};

} // namespace text
