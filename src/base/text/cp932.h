#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Code page 932 (Windows-31J), the code page of the wire and of the data files, so that we talk to
// copies running on Japanese Windows and read the files they wrote. Qt's own converters do not
// carry it without ICU, and ICU's Shift_JIS differs from Windows in the places that matter here
// ("～" 81 60, backslash and tilde), so the table is our own.
namespace text {

// Bytes for a text. A character the code page lacks becomes "?", as Windows does.
QByteArray toCp932(QStringView text);

// Text for bytes. A byte or pair that does not decode becomes U+FFFD and decoding goes on with
// the next byte, so one bad byte never costs the rest of a datagram.
QString fromCp932(QByteArrayView bytes);

// The bytes of the longest head of `text` that fits in `maxBytes`, never splitting a character.
QByteArray cp932Prefix(QStringView text, qsizetype maxBytes);

} // namespace text
