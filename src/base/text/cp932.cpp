#include "base/text/cp932.h"

#include <algorithm>
#include <array>
#include <memory>

namespace text {
namespace {

struct EncodePair {
    char16_t unicode;
    quint16 code;
};

#include "base/text/cp932_table.inc"

constexpr int kTrailFirst = 0x40;
constexpr int kTrailLast = 0xFC;
constexpr int kTrailCount = kTrailLast - kTrailFirst + 1;
constexpr char16_t kHalfWidthKanaFirst = 0xFF61; // byte A1
constexpr char16_t kHalfWidthKanaLast = 0xFF9F;  // byte DF
constexpr char16_t kReplacement = 0xFFFD;

bool isLeadByte(uchar b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

int leadIndex(uchar b)
{
    return b <= 0x9F ? b - 0x81 : b - 0xE0 + (0x9F - 0x81 + 1);
}

// Two bytes (lead, trail) for a character outside ASCII and the half-width kana, or 0. Looked up
// in a table by code unit (128 KiB, made on first use): a search of the sorted pairs for every
// character was most of the cost of sending a message.
quint16 doubleByteFor(char16_t ch)
{
    static const std::unique_ptr<const std::array<quint16, 0x10000>> table = [] {
        auto made = std::make_unique<std::array<quint16, 0x10000>>();
        made->fill(0);
        for (const EncodePair &pair : kDoubleByteEncode)
            (*made)[pair.unicode] = pair.code;
        return std::unique_ptr<const std::array<quint16, 0x10000>>(std::move(made));
    }();
    return (*table)[ch];
}

// Writes the bytes of one UTF-16 unit (or '?' for a surrogate) into `out`; returns the count.
int encodeUnit(char16_t ch, char *out)
{
    if (ch < 0x80) {
        out[0] = static_cast<char>(ch);
        return 1;
    }
    if (ch >= kHalfWidthKanaFirst && ch <= kHalfWidthKanaLast) {
        out[0] = static_cast<char>(0xA1 + (ch - kHalfWidthKanaFirst));
        return 1;
    }
    if (const quint16 code = doubleByteFor(ch)) {
        out[0] = static_cast<char>(code >> 8);
        out[1] = static_cast<char>(code & 0xFF);
        return 2;
    }
    out[0] = '?';
    return 1;
}

template <typename Sink> void encodeEach(QStringView text, Sink &&sink)
{
    char buf[2];
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // A character beyond the BMP is one "?" on the wire, not two.
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        const int n = encodeUnit(c.isSurrogate() ? u'?' : c.unicode(), buf);
        if (!sink(buf, n))
            return;
    }
}

} // namespace

QByteArray toCp932(QStringView text)
{
    // At most two bytes a unit; written in place and cut to length once.
    QByteArray out(text.size() * 2, Qt::Uninitialized);
    char *p = out.data();
    encodeEach(text, [&p](const char *b, int n) {
        *p++ = b[0];
        if (n == 2)
            *p++ = b[1];
        return true;
    });
    out.truncate(p - out.constData());
    return out;
}

QByteArray cp932Prefix(QStringView text, qsizetype maxBytes)
{
    QByteArray out;
    out.reserve(std::min(maxBytes, text.size() * 2));
    encodeEach(text, [&out, maxBytes](const char *b, int n) {
        if (out.size() + n > maxBytes)
            return false;
        out.append(b, n);
        return true;
    });
    return out;
}

QString fromCp932(QByteArrayView bytes)
{
    // Never more characters than bytes; written in place and cut to length once.
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t *const begin = reinterpret_cast<char16_t *>(out.data());
    char16_t *p = begin;
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<uchar>(bytes[i]);
        if (b < 0x80) {
            *p++ = char16_t{b};
        } else if (b >= 0xA1 && b <= 0xDF) {
            *p++ = static_cast<char16_t>(kHalfWidthKanaFirst + (b - 0xA1));
        } else if (isLeadByte(b) && i + 1 < size) {
            const auto t = static_cast<uchar>(bytes[i + 1]);
            if (t >= kTrailFirst && t <= kTrailLast) {
                // A well-formed pair is one character, even where the code page leaves it unassigned.
                const int index = leadIndex(b) * kTrailCount + (t - kTrailFirst);
                const char16_t ch = kDoubleByteDecode[static_cast<std::size_t>(index)];
                *p++ = ch != 0 ? ch : kReplacement;
                ++i;
            } else {
                // The lead byte alone is bad; its follower is read again on its own, since it may
                // be an ordinary character (a line break, say).
                *p++ = kReplacement;
            }
        } else {
            *p++ = kReplacement;
        }
    }
    out.truncate(p - begin);
    return out;
}

} // namespace text
