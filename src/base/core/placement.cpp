#include "base/core/placement.h"

namespace core {

QPoint placeWindow(const Options &opt, QSize screen, QSize window, QPoint current)
{
    QPoint at = current;
    if ((opt.posCenter))
        at = {screen.width() / 2 - window.width() / 2, screen.height() / 2 - window.height() / 2};
    if ((opt.posRightUp))
        at = {screen.width() - window.width(), 0};
    if ((opt.posRightLow))
        at = {screen.width() - window.width(), screen.height() - window.height() - kTaskBarTwips};
    if ((opt.posLeftUp))
        at = {0, 0};
    if ((opt.posLeftLow))
        at = {0, screen.height() - window.height() - kTaskBarTwips};
    return at;
}

} // namespace core
