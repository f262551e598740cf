#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>

namespace kit {

// The multi-line text box of every window. It leaves out paste data that has no format at all:
// that is what X11 hands over while no program owns the clipboard (our own clipboard sending
// empties it), and Qt 6.4's text control reads a first format of it that is not there and crashes.
// Ctrl+V, Shift+Insert, the middle button, the context menu and a drop all insert through here.
class TextBox final : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget *parent = nullptr);

protected:
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
};

// Makes `box` a password box that shows each character as "*", whatever the style would draw.
void maskWithStars(QLineEdit &box);

} // namespace kit
