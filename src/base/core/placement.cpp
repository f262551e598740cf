#include "base/core/placement.h"

#include <algorithm>
#include <cstdlib>

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

QPoint clearOfShown(QRect wanted, const QList<QRect> &shown, QRect area, int step)
{
    const auto near = [step](QPoint a, QPoint b) {
        return std::abs(a.x() - b.x()) * 2 < step && std::abs(a.y() - b.y()) * 2 < step;
    };
    // The rule puts a window by a corner or by its middle; one of another size is hidden all the
    // same where the two share that corner.
    const auto hides = [&](const QRect &at) {
        return std::any_of(shown.begin(), shown.end(), [&](const QRect &other) {
            return near(other.topLeft(), at.topLeft()) || near(other.topRight(), at.topRight()) ||
                   near(other.bottomLeft(), at.bottomLeft()) || near(other.bottomRight(), at.bottomRight()) ||
                   near(other.center(), at.center());
        });
    };
    // Away from the side of the area it is on; from the middle, to the right and down.
    const int across = wanted.center().x() - area.center().x() > step / 2 ? -step : step;
    const int down = wanted.center().y() - area.center().y() > step / 2 ? -step : step;
    QRect at = wanted;
    while (step > 0 && hides(at) && area.contains(at.translated(across, down)))
        at.translate(across, down);
    return at.topLeft();
}

} // namespace core
