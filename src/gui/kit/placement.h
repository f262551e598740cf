#pragma once

#include "base/core/options.h"

#include <QWidget>

namespace kit {

// Moves a window by the placement rule, unless it is minimised or maximised. The rule sees the
// window's outer size, frame included, and the part of its screen that panels leave free. A window
// about to be shown for the first time is measured at the size the show will give it.
void placeOnScreen(QWidget &window, const core::Options &opt);
// Windows of one kind that the rule puts in one place (the notices of a sent message): one shown
// while another of its kind lies there steps aside from it, so that neither hides the other.
void setPlacementKind(QWidget &window, const QString &kind);
// Widens a window whose caption the window manager would cut off in its title bar, as far as the
// screen allows. The window manager's title font is not known here: the caption is measured in the
// desktop's title font, bold, beside room for the icon and the buttons of the title bar.
void widenForCaption(QWidget &window);
// The width a title bar needs to show the window's caption whole.
int captionWidth(const QWidget &window);

// The logical DPI of the primary screen, for twips.
qreal logicalDpi();

} // namespace kit
