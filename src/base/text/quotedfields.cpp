#include "base/text/quotedfields.h"

#include "base/text/cp932.h"

namespace text {
namespace {
bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}
} // namespace

QByteArray writeQuotedLines(const QList<QList<Field>> &lines)
{
    QString out;
    for (const QList<Field> &line : lines) {
        for (qsizetype i = 0; i < line.size(); ++i) {
            if (i > 0)
                out += u',';
            if (const auto *textField = std::get_if<QString>(&line[i])) {
                QString value = *textField;
                value.replace(u'"', u'”');
                out += u'"' + value + u'"';
            } else {
                out += QString::number(std::get<qint32>(line[i]));
            }
        }
        out += u"\r\n";
    }
    return toCp932(out);
}

bool storesExactly(QStringView value)
{
    return !value.contains(u'"') && fromCp932(toCp932(value)) == value;
}

QuotedFieldReader::QuotedFieldReader(const QByteArray &bytes) : m_text(fromCp932(bytes)) {}

qsizetype QuotedFieldReader::nonBlankFrom(qsizetype pos) const
{
    while (pos < m_text.size() && (m_text[pos] == u' ' || m_text[pos] == u'\t' || isLineEnd(m_text[pos])))
        ++pos;
    return pos;
}

bool QuotedFieldReader::atEnd() const
{
    return nonBlankFrom(m_pos) >= m_text.size();
}

std::optional<QString> QuotedFieldReader::next()
{
    m_pos = nonBlankFrom(m_pos);
    if (m_pos >= m_text.size())
        return std::nullopt;
    QString value;
    if (m_text[m_pos] == u'"') {
        // Everything up to the next double quote, commas and line ends included.
        const qsizetype close = m_text.indexOf(u'"', m_pos + 1);
        const qsizetype end = close < 0 ? m_text.size() : close;
        value = m_text.mid(m_pos + 1, end - m_pos - 1);
        m_pos = close < 0 ? m_text.size() : close + 1;
        // Whatever stands between the closing quote and the separator is passed over.
        while (m_pos < m_text.size() && m_text[m_pos] != u',' && !isLineEnd(m_text[m_pos]))
            ++m_pos;
    } else {
        const qsizetype start = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] != u',' && !isLineEnd(m_text[m_pos]))
            ++m_pos;
        value = m_text.mid(start, m_pos - start).trimmed();
    }
    if (m_pos < m_text.size() && m_text[m_pos] == u',')
        ++m_pos;
    else if (m_pos < m_text.size() && m_text[m_pos] == u'\r' && m_pos + 1 < m_text.size() &&
             m_text[m_pos + 1] == u'\n')
        m_pos += 2;
    else if (m_pos < m_text.size())
        ++m_pos;
    return value;
}

std::optional<qint32> QuotedFieldReader::nextNumber()
{
    const std::optional<QString> field = next();
    if (!field)
        return std::nullopt;
    bool ok = false;
    const qint32 value = field->trimmed().toInt(&ok);
    return ok ? std::optional<qint32>(value) : std::nullopt;
}

} // namespace text
