#include "gui/kit/dialogfit.h"

#include "gui/kit/placement.h"
#include "gui/kit/twipsgeometry.h"
#include "gui/platform/desktopsession.h"

#include <algorithm>

namespace kit {

void placeAtLeast(QWidget &control, const core::Box &box)
{
    QRect r = pixelRect(box);
    const QSize hint = control.sizeHint();
    r.setWidth(std::max(r.width(), hint.width()));
    r.setHeight(std::max(r.height(), hint.height()));
    control.setGeometry(r);
}

void fitClientArea(QWidget &window, int designWidth, int designHeight)
{
    // The design margins: a control's right edge keeps 120 twips, its bottom 60.
    QSize size(px(designWidth), px(designHeight));
    for (const QWidget *child : window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isHidden() && child->testAttribute(Qt::WA_WState_ExplicitShowHide))
            continue;
        size.setWidth(std::max(size.width(), child->geometry().right() + px(120)));
        size.setHeight(std::max(size.height(), child->geometry().bottom() + px(60)));
    }
    // Qt draws the title bar there, and a fixed-size window cannot be made wider by its user.
    if (platform::waylandClient())
        size.setWidth(std::max(size.width(), captionWidth(window)));
    window.setFixedSize(size);
}

} // namespace kit
