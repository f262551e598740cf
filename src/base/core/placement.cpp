#include "base/core/placement.h"

#include <algorithm>

namespace core {

QPoint placeWindow(const Options &opt, QRect area, QSize window, QPoint current)
{
    const int left = area.x();
    const int top = area.y();
    const int right = area.x() + area.width() - window.width();
    const int low = area.y() + area.height() - window.height() - kTaskBarTwips;
    QPoint at = current;
    if (opt.posCenter)
        at = {left + area.width() / 2 - window.width() / 2, top + area.height() / 2 - window.height() / 2};
    if (opt.posRightUp)
        at = {right, top};
    if (opt.posRightLow)
        at = {right, low};
    if (opt.posLeftUp)
        at = {left, top};
    if (opt.posLeftLow)
        at = {left, low};
    // Right and bottom first, so that a window too large for the area keeps its title bar and its
    // left edge on the screen.
    const int bottom = area.y() + area.height() - window.height();
    return {std::max(left, std::min(at.x(), right)), std::max(top, std::min(at.y(), bottom))};
}

} // namespace core
