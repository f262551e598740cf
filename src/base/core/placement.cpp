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
    switch (opt.windowPosition()) {
    case WindowPosition::Unset:
        break;
    case WindowPosition::Center:
        at = {left + area.width() / 2 - window.width() / 2, top + area.height() / 2 - window.height() / 2};
        break;
    case WindowPosition::RightUp:
        at = {right, top};
        break;
    case WindowPosition::RightLow:
        at = {right, low};
        break;
    case WindowPosition::LeftUp:
        at = {left, top};
        break;
    case WindowPosition::LeftLow:
        at = {left, low};
        break;
    }
    // Right and bottom first, so that a window too large for the area keeps its title bar and its
    // left edge on the screen.
    const int bottom = area.y() + area.height() - window.height();
    return {std::max(left, std::min(at.x(), right)), std::max(top, std::min(at.y(), bottom))};
}

} // namespace core
