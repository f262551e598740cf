#include "gui/platform/qtdialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>
#include <QMessageBox>

#include <vector>

namespace platform {
namespace {

// Marks the boxes this class opened, so that closeAll closes those and no other window.
constexpr const char *kOurBox = "miltoanneBox";

struct ButtonSpec {
    QMessageBox::StandardButton button;
    int answer;
};

std::vector<ButtonSpec> buttonsFor(int style)
{
    switch (box::buttonsOf(style)) {
    case box::okCancel:
        return {{QMessageBox::Ok, box::ok}, {QMessageBox::Cancel, box::cancel}};
    case box::abortRetryIgnore:
        return {{QMessageBox::Abort, box::abort},
                {QMessageBox::Retry, box::retry},
                {QMessageBox::Ignore, box::ignore}};
    case box::yesNoCancel:
        return {{QMessageBox::Yes, box::yes}, {QMessageBox::No, box::no}, {QMessageBox::Cancel, box::cancel}};
    case box::yesNo:
        return {{QMessageBox::Yes, box::yes}, {QMessageBox::No, box::no}};
    case box::retryCancel:
        return {{QMessageBox::Retry, box::retry}, {QMessageBox::Cancel, box::cancel}};
    default:
        return {{QMessageBox::Ok, box::ok}};
    }
}

QMessageBox::Icon iconFor(int style)
{
    switch (box::iconOf(style)) {
    case box::critical:
        return QMessageBox::Critical;
    case box::question:
        return QMessageBox::Question;
    case box::exclamation:
        return QMessageBox::Warning;
    case box::information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// Colours are stored red in the low byte, the reverse of Qt's #RRGGBB.
QColor toQColor(quint32 value)
{
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

quint32 fromQColor(const QColor &color)
{
    return static_cast<quint32>(color.red()) | (static_cast<quint32>(color.green()) << 8) |
           (static_cast<quint32>(color.blue()) << 16);
}

} // namespace

int QtDialogs::messageBox(const QString &text, int style, const QString &title)
{
    if (m_closed)
        return box::closedAnswer(style);
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar(u'\r'), QChar(u'\n'));
    QMessageBox box(iconFor(style), title, shown);
    const std::vector<ButtonSpec> buttons = buttonsFor(style);
    const int defaultAnswer = box::defaultAnswer(style);
    for (const ButtonSpec &choice : buttons) {
        box.addButton(choice.button);
        if (choice.answer == defaultAnswer)
            box.setDefaultButton(choice.button);
    }
    box.setProperty(kOurBox, true);
    box.exec();
    const auto pressed = box.standardButton(box.clickedButton());
    for (const ButtonSpec &choice : buttons) {
        if (choice.button == pressed && !m_closed)
            return choice.answer;
    }
    // Closed with Escape, the close box or by closeAll.
    return box::closedAnswer(style);
}

void QtDialogs::closeAll()
{
    m_closed = true;
    // Boxes open one inside the other's event loop; each closes, and each exec returns in turn.
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->property(kOurBox).toBool())
            static_cast<QMessageBox *>(widget)->reject();
    }
}

std::optional<FontChoice> QtDialogs::chooseFont(const FontChoice &initial)
{
    QFont font(initial.name);
    font.setPointSizeF(initial.size);
    font.setBold(initial.bold);
    font.setItalic(initial.italic);
    font.setUnderline(initial.underline);
    font.setStrikeOut(initial.strikeOut);
    QFontDialog dialog(font);
    // Qt's dialog offers whole sizes only and shows 10.5 as 11. A size the user did not change
    // stays as it was, fraction and all; one the user picked is taken as picked.
    const int shownSize = dialog.currentFont().pointSize();
    bool sizePicked = false;
    QObject::connect(&dialog, &QFontDialog::currentFontChanged, &dialog, [&](const QFont &current) {
        sizePicked = sizePicked || current.pointSize() != shownSize;
    });
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QFont picked = dialog.selectedFont();
    return FontChoice{picked.family(),
                      sizePicked || picked.pointSize() != shownSize ? picked.pointSizeF() : initial.size,
                      picked.bold(),
                      picked.italic(),
                      picked.underline(),
                      picked.strikeOut()};
}

std::optional<quint32> QtDialogs::chooseColor(quint32 initial)
{
    const QColor picked = QColorDialog::getColor(toQColor(initial));
    if (!picked.isValid())
        return std::nullopt;
    return fromQColor(picked);
}

} // namespace platform
