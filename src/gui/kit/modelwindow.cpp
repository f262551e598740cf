#include "gui/kit/modelwindow.h"

#include "gui/kit/placement.h"

namespace kit {

void followModel(QWidget &window, core::WindowModel &model, const core::Options &opt,
                 std::function<void()> refresh)
{
    QObject::connect(&model, &core::WindowModel::changed, &window, [&window, refresh] {
        if (window.isVisible())
            refresh();
    });
    QObject::connect(&model, &core::WindowModel::visibilityChanged, &window,
                     [&window, &opt, refresh](bool visible) {
                         if (!visible) {
                             window.hide();
                             return;
                         }
                         refresh();
                         placeOnScreen(window, opt);
                         window.show();
                         window.raise();
                         window.activateWindow();
                     });
    refresh();
}

} // namespace kit
