#pragma once

#include "base/core/options.h"

#include <QPoint>
#include <QSize>

namespace core {

// Room kept free at the bottom of the screen for the task bar, in twips.
constexpr int kTaskBarTwips = 400;

// Where a window's top-left corner goes, by the five position options tested in a fixed order, a
// later true one overriding an earlier. Screen and window sizes and the result are in twips.
// With none true the window stays at `current`.
QPoint placeWindow(const Options &opt, QSize screen, QSize window, QPoint current);

} // namespace core
