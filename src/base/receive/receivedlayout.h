#pragma once

#include "base/core/layout.h"

namespace receive {

// The received-message window's controls, in twips.
struct ReceivedLayout {
    core::Box message{0, 60, 3135, 1095};
    core::Box splitter{15, 1245, 3030, 135};
    core::Box reply{-15, 1485, 3135, 2175};
    core::Box openCloseButton{3240, 0, 1100, 375};
    core::Box holdButton{3240, 420, 1100, 375};
    core::Box closeButton{3225, 855, 1100, 375};
    core::Box replyButton{3240, 2280, 1100, 375};
    core::Box normalPicture{3360, 1320, 480, 480};
    core::Box receivedPicture{3840, 1800, 480, 480};
};

// Outer size of the window when it first loads.
constexpr int kReceivedWidth = 4540;
constexpr int kReceivedHeight = 3540;
// The splitter stays this far from the top, and this far from the bottom of the client area.
constexpr int kSplitTopMin = 500;
constexpr int kSplitBottomRoom = 900;

// The first layout, for the outer size 4540 x 3540 and a status bar `statusHeight` high.
ReceivedLayout loadReceivedLayout(int statusHeight, QStringList &refused);
// The layout after a resize to the outer size `width` x `height`.
ReceivedLayout layOutReceived(ReceivedLayout l, int width, int height, int statusHeight,
                              QStringList &refused);
// Where the splitter goes when the mouse proposes `proposedTop`, in a client area `innerHeight`
// high: not above 500, not below 900 from the bottom (which wins in a very low window).
int splitterTop(double proposedTop, int innerHeight);
// The message above the splitter and the reply below it; a refused size stops the rest.
ReceivedLayout applySplit(ReceivedLayout l, int innerHeight, QStringList &refused);

} // namespace receive
