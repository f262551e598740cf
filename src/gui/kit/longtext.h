#pragma once

#include <QPlainTextEdit>
#include <QString>

namespace kit {

// Puts `text` into a read-only box that may have to show a very long one. Qt looks for a word
// boundary again and again on every line of a long run that has none (a one-line message of
// 65 000 letters), which takes seconds; such a text wraps anywhere instead, and any other wraps at
// word boundaries as usual.
void setLongText(QPlainTextEdit &box, const QString &text);

// The longest stretch of `text` in which a line cannot be broken, in characters.
qsizetype longestUnbreakableRun(const QString &text);

} // namespace kit
