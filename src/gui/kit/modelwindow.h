#pragma once

#include "base/core/options.h"
#include "base/core/windows.h"

#include <QWidget>

#include <functional>

namespace kit {

// Makes a window's widget follow its model: `refresh` runs on every change while the window is
// shown and each time it is shown (a hidden widget is never rewritten); showing places the window
// by the placement rule, raises and activates it (a window made to show without activating, as a
// notice is, leaves the keyboard where it was); hiding hides it.
void followModel(QWidget &window, core::WindowModel &model, const core::Options &opt,
                 const std::function<void()> &refresh);

} // namespace kit
