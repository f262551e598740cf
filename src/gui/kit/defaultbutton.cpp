#include "gui/kit/defaultbutton.h"

#include <QKeyEvent>
#include <QPointer>

namespace kit {
namespace {

class EnterPresses final : public QObject {
public:
    // Without a default button only a focused button takes Enter.
    EnterPresses(QWidget &scope, QPushButton *button) : QObject(&scope), m_scope(scope), m_button(button)
    {
        scope.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        // As in a dialog, Enter on a button that has the focus presses that one.
        QPushButton *pressed = qobject_cast<QPushButton *>(m_scope.focusWidget());
        if (pressed == nullptr && m_button && m_button->isVisible())
            pressed = m_button.data();
        if (pressed == nullptr || !pressed->isEnabled())
            return false;
        pressed->click();
        return true;
    }

private:
    QWidget &m_scope;
    QPointer<QPushButton> m_button;
};

} // namespace

void pressWithEnter(QWidget &scope, QPushButton &button)
{
    button.setDefault(true);
    new EnterPresses(scope, &button);
}

void pressFocusedWithEnter(QWidget &scope)
{
    new EnterPresses(scope, nullptr);
}

} // namespace kit
