#pragma once

#include "base/core/options.h"

#include <QPoint>
#include <QRect>
#include <QSize>

namespace core {

// Room kept free at the bottom of the screen for the task bar, in twips.
constexpr int kTaskBarTwips = 400;

// Where a window's outer (framed) rectangle goes, by the five position options tested in a fixed
// order, a later true one overriding an earlier. `area` is the part of the screen windows may use
// (panels left out; it need not start at the origin), `window` the outer size, `current` the outer
// top-left now; all in twips, the result in the same coordinates as `area`. With none true the
// window stays at `current`. Whatever the options, the window then is kept wholly inside `area`,
// title bar included; one larger than the area keeps its top-left corner in it.
QPoint placeWindow(const Options &opt, QRect area, QSize window, QPoint current);

} // namespace core
