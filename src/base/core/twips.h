#pragma once

#include <QtGlobal>

#include <cmath>

namespace core {

// Window positions and sizes are given in twips, 1/1440 inch; the screen counts pixels at its
// logical DPI. Every conversion goes through these two.
constexpr int kTwipsPerInch = 1440;

inline int twipsToPixels(int twips, qreal dpi)
{
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

inline int pixelsToTwips(int pixels, qreal dpi)
{
    return static_cast<int>(std::lround(pixels * kTwipsPerInch / dpi));
}

} // namespace core
