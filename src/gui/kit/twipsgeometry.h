#pragma once

#include "base/core/layout.h"

#include <QLabel>
#include <QRect>
#include <QStatusBar>

// Twips on this screen: every window lays itself out through these.
namespace kit {

int px(int twips);
int tw(int pixels);
QRect pixelRect(const core::Box &box);
// Places `widget` at `box`.
void place(QWidget &widget, const core::Box &box);
// A panel of a status bar, `widthTwips` wide.
QLabel *addStatusPanel(QStatusBar &bar, int widthTwips, const char *name, int stretch = 0);

} // namespace kit
