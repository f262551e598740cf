#include "base/text/address.h"

#include <QList>

namespace text {

QString dottedQuad(QStringView typed)
{
    QString kept;
    kept.reserve(typed.size());
    for (const QChar c : typed) {
        if (c.isSpace())
            continue;
        kept += c == u'．' ? QChar(u'.') : c;
    }
    const QList<QStringView> parts = QStringView(kept).split(u'.');
    if (parts.size() != 4)
        return kept;
    QString quad;
    for (const QStringView part : parts) {
        // Leading zeros are only zeros; past three digits after them a part is out of range anyway,
        // and stopping there keeps the number from ever overflowing.
        int value = 0;
        int significant = 0;
        for (const QChar c : part) {
            const int digit = c.digitValue();
            if (digit < 0 || digit > 9)
                return kept;
            if (value == 0 && digit == 0)
                continue;
            if (++significant > 3)
                return kept;
            value = value * 10 + digit;
        }
        if (part.isEmpty() || value > 255)
            return kept;
        if (!quad.isEmpty())
            quad += u'.';
        quad += QString::number(value);
    }
    return quad;
}

} // namespace text
