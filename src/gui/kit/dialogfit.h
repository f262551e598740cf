#pragma once

#include "base/core/layout.h"

#include <QWidget>

namespace kit {

// A window of fixed size, framed as a dialog with a close box only: there is nothing to minimise
// or maximise.
constexpr Qt::WindowFlags kFixedDialog = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                         Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;

// Places a control at its design box, grown to the size its text asks for, so that no caption is
// cut off whatever font the desktop gives it.
void placeAtLeast(QWidget &control, const core::Box &box);
// Fixes the window's client area at its design size, or larger where a grown control needs room.
void fitClientArea(QWidget &window, int designWidth, int designHeight);

} // namespace kit
