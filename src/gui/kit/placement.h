#pragma once

#include "base/core/options.h"

#include <QWidget>

namespace kit {

// Moves a window by the placement rule, unless it is minimised or maximised.
void placeOnScreen(QWidget &window, const core::Options &opt);
// The logical DPI of the primary screen, for twips.
qreal logicalDpi();

} // namespace kit
