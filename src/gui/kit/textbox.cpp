#include "gui/kit/textbox.h"

#include <QMimeData>

namespace kit {
namespace {
bool hasAnyFormat(const QMimeData *source)
{
    return source != nullptr && !source->formats().isEmpty();
}
} // namespace

TextBox::TextBox(QWidget *parent) : QPlainTextEdit(parent) {}

bool TextBox::canInsertFromMimeData(const QMimeData *source) const
{
    return hasAnyFormat(source) && QPlainTextEdit::canInsertFromMimeData(source);
}

void TextBox::insertFromMimeData(const QMimeData *source)
{
    if (hasAnyFormat(source))
        QPlainTextEdit::insertFromMimeData(source);
}

void maskWithStars(QLineEdit &box)
{
    box.setEchoMode(QLineEdit::Password);
    box.setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // '*'
}

} // namespace kit
