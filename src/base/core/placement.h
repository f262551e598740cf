#pragma once

#include "base/core/options.h"

#include <QList>
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

// How far a window steps aside from one it would hide, in twips: about a title bar, so that the
// caption of the one below still shows.
constexpr int kCascadeTwips = 360;

// Where a window goes whose outer rectangle the placement rule gives as `wanted`, so that it does
// not lie in the place of one of `shown` (the outer rectangles of the windows of its kind already
// on screen), as two notices of a sent message would: while a corner or the middle of a shown one
// is within half a step of the same point of it, it steps `step` across and down towards the
// middle of `area`, unless that step would leave `area`. Any unit, the same for all.
QPoint clearOfShown(QRect wanted, const QList<QRect> &shown, QRect area, int step);

} // namespace core
