#pragma once

#include "base/core/options.h"

#include <QWidget>

namespace kit {

// Moves a window by the placement rule, unless it is minimised or maximised. The rule sees the
// window's outer size, frame included, and the part of its screen that panels leave free. A window
// about to be shown for the first time is measured at the size the show will give it.
void placeOnScreen(QWidget &window, const core::Options &opt);
// The logical DPI of the primary screen, for twips.
qreal logicalDpi();

} // namespace kit
