#pragma once

#include "base/core/layout.h"

namespace kit {

// The compose window's controls, in twips.
struct ComposeLayout {
    core::Box message{15, 80, 3135, 1815};
    core::Box sendButton{3240, 960, 1100, 375};
    core::Box cancelButton{3240, 1440, 1100, 375};
    core::Box picture{3840, 120, 480, 480};
};

// The window frame these rules count in: the sizes below are the window's outer size, title bar
// and borders included, which a client area lacks by this much.
constexpr int kFrameWidthTwips = 120;
constexpr int kFrameHeightTwips = 510;

// The compose window's `layout` after a resize to the outer size `width` x `height`, with the
// status bar `statusHeight` high. The message box fills the left, the buttons keep to the right
// above the status bar; a size that would be negative is left out.
ComposeLayout layOutCompose(ComposeLayout layout, int width, int height, int statusHeight,
                            QStringList &refused);

} // namespace kit
