#include "gui/kit/modelwindow.h"

#include "gui/kit/placement.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>

namespace kit {
namespace {

// A window that shows without activating asks the system to leave the keyboard where it is. Some
// window managers activate it all the same as it appears; for a moment after it shows, such an
// activation goes back to the window the user was typing in. Later ones (a click, a window
// switch) are the user's own and stay.
class KeyboardKeeper final : public QObject {
public:
    explicit KeyboardKeeper(QWidget &window) : QObject(&window) { window.installEventFilter(this); }

    void shown()
    {
        m_typingIn = QApplication::activeWindow();
        m_since.start();
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        constexpr qint64 kAppearingMs = 1000;
        if (event->type() == QEvent::WindowActivate && m_typingIn && m_since.isValid() &&
            m_since.elapsed() < kAppearingMs) {
            QWidget *back = m_typingIn;
            m_typingIn = nullptr;
            back->activateWindow();
        }
        return false;
    }

private:
    QPointer<QWidget> m_typingIn;
    QElapsedTimer m_since;
};

} // namespace

void followModel(QWidget &window, core::WindowModel &model, const core::Options &opt,
                 const std::function<void()> &refresh)
{
    QObject::connect(&model, &core::WindowModel::changed, &window, [&window, refresh] {
        if (window.isVisible())
            refresh();
    });
    KeyboardKeeper *keeper =
        window.testAttribute(Qt::WA_ShowWithoutActivating) ? new KeyboardKeeper(window) : nullptr;
    QObject::connect(&model, &core::WindowModel::visibilityChanged, &window,
                     [&window, &opt, refresh, keeper](bool visible) {
                         if (!visible) {
                             window.hide();
                             return;
                         }
                         refresh();
                         placeOnScreen(window, opt);
                         if (keeper)
                             keeper->shown();
                         window.show();
                         window.raise();
                         if (!keeper)
                             window.activateWindow();
                     });
    refresh();
}

} // namespace kit
