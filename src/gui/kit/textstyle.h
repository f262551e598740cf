#pragma once

#include "base/core/windows.h"

#include <QWidget>

namespace kit {

// Puts the font and colour options on a text box.
void applyTextStyle(QWidget &box, const core::TextStyle &style);

} // namespace kit
