#include "gui/kit/textstyle.h"

#include <QPalette>

namespace kit {
namespace {
QColor colourOf(quint32 value)
{
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}
} // namespace

void applyTextStyle(QWidget &box, const core::TextStyle &style)
{
    QFont font = box.font();
    if (!style.fontName.isEmpty())
        font.setFamily(style.fontName);
    font.setPointSizeF(style.fontSize);
    font.setItalic(style.italic);
    font.setBold(style.bold);
    font.setUnderline(style.underline);
    font.setStrikeOut(style.strikethru);
    box.setFont(font);
    QPalette palette = box.palette();
    palette.setColor(QPalette::Text, colourOf(style.color));
    palette.setColor(QPalette::Base, colourOf(style.backColor));
    box.setPalette(palette);
}

} // namespace kit
