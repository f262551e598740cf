#include "base/receive/receivedlayout.h"

#include <cmath>

namespace receive {

ReceivedLayout loadReceivedLayout(int statusHeight, QStringList &refused)
{
    core::LayoutSteps steps(refused);
    ReceivedLayout l;
    steps.size(l.message.height, 1095, "Text1.Height");
    steps.size(l.reply.height, kReceivedHeight - l.message.height - statusHeight - 450, "Text2.Height");
    l.reply.top = l.message.height + 40;
    l.splitter.left = 0;
    l.splitter.top = l.message.height + 100;
    steps.size(l.splitter.width, kReceivedWidth - 1465 - 20, "PicSplitter.Width");
    steps.size(l.splitter.height, 40, "PicSplitter.Height");
    return l;
}

ReceivedLayout layOutReceived(ReceivedLayout l, int width, int height, int statusHeight, QStringList &refused)
{
    core::LayoutSteps steps(refused);
    const int buttonsLeft = width - l.openCloseButton.width - 160;
    l.message.left = 0;
    l.message.top = 0;
    steps.size(l.message.width, width - l.openCloseButton.width - 300, "Text1.Width");
    l.reply.left = 0;
    l.reply.top = l.message.height + 40;
    steps.size(l.reply.height, height - l.message.height - statusHeight - 520, "Text2.Height");
    steps.size(l.reply.width, width - l.openCloseButton.width - 300, "Text2.Width");
    l.openCloseButton.left = buttonsLeft;
    l.openCloseButton.top = 0;
    l.holdButton.left = buttonsLeft;
    l.holdButton.top = 420;
    l.closeButton.left = buttonsLeft;
    l.closeButton.top = 840;
    l.replyButton.left = buttonsLeft;
    l.replyButton.top = height - 850 - l.replyButton.height;
    l.normalPicture.left = width - 1220;
    l.receivedPicture.left = width - 780;
    l.splitter.left = 0;
    l.splitter.top = l.message.height;
    steps.size(l.splitter.width, width - 1465 - 20, "PicSplitter.Width");
    steps.size(l.splitter.height, 40, "PicSplitter.Height");
    return l;
}

int splitterTop(double proposedTop, int innerHeight)
{
    // Halves round to even, as the mouse position always has.
    const int proposal = static_cast<int>(std::nearbyint(proposedTop));
    if (proposal <= kSplitTopMin)
        return kSplitTopMin;
    if (proposal > innerHeight - kSplitBottomRoom)
        return innerHeight - kSplitBottomRoom;
    return proposal;
}

ReceivedLayout applySplit(ReceivedLayout l, int innerHeight, QStringList &refused)
{
    core::LayoutSteps steps(refused);
    if (!steps.size(l.message.height, l.splitter.top, "Text1.Height"))
        return l;
    l.reply.top = l.splitter.top + l.splitter.height;
    steps.size(l.reply.height, innerHeight - l.splitter.top - 470, "Text2.Height");
    return l;
}

} // namespace receive
