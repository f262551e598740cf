#pragma once

#include "base/core/layout.h"

#include <QWidget>

namespace kit {

// Places a control at its design box, grown to the size its text asks for, so that no caption is
// cut off whatever font the desktop gives it.
void placeAtLeast(QWidget &control, const core::Box &box);
// Fixes the window's client area at its design size, or larger where a grown control needs room.
void fitClientArea(QWidget &window, int designWidth, int designHeight);

} // namespace kit
