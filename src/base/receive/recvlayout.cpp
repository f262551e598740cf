#include "base/receive/recvlayout.h"

#include <cmath>

namespace receive {

RecvLayout loadRecvLayout(int statusHeight, QStringList &refused)
{
    core::LayoutSteps steps(refused);
    RecvLayout l;
    steps.size(l.Text1.height, 1095, "Text1.Height");
    steps.size(l.Text2.height, kRecvHeight - l.Text1.height - statusHeight - 450, "Text2.Height");
    l.Text2.top = l.Text1.height + 40;
    l.PicSplitter.left = 0;
    l.PicSplitter.top = l.Text1.height + 100;
    steps.size(l.PicSplitter.width, kRecvWidth - 1465 - 20, "PicSplitter.Width");
    steps.size(l.PicSplitter.height, 40, "PicSplitter.Height");
    return l;
}

RecvLayout layOutRecv(RecvLayout l, int width, int height, int statusHeight, QStringList &refused)
{
    core::LayoutSteps steps(refused);
    const int buttonsLeft = width - l.CmdOPCL.width - 160;
    l.Text1.left = 0;
    l.Text1.top = 0;
    steps.size(l.Text1.width, width - l.CmdOPCL.width - 300, "Text1.Width");
    l.Text2.left = 0;
    l.Text2.top = l.Text1.height + 40;
    steps.size(l.Text2.height, height - l.Text1.height - statusHeight - 520, "Text2.Height");
    steps.size(l.Text2.width, width - l.CmdOPCL.width - 300, "Text2.Width");
    l.CmdOPCL.left = buttonsLeft;
    l.CmdOPCL.top = 0;
    l.CmdCancel.left = buttonsLeft;
    l.CmdCancel.top = 420;
    l.CmdDel.left = buttonsLeft;
    l.CmdDel.top = 840;
    l.CmdCback.left = buttonsLeft;
    l.CmdCback.top = height - 850 - l.CmdCback.height;
    l.Image1.left = width - 1220;
    l.Image2.left = width - 780;
    l.PicSplitter.left = 0;
    l.PicSplitter.top = l.Text1.height;
    steps.size(l.PicSplitter.width, width - 1465 - 20, "PicSplitter.Width");
    steps.size(l.PicSplitter.height, 40, "PicSplitter.Height");
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

RecvLayout splitSet(RecvLayout l, int innerHeight, QStringList &refused)
{
    core::LayoutSteps steps(refused);
    if (!steps.size(l.Text1.height, l.PicSplitter.top, "Text1.Height"))
        return l;
    l.Text2.top = l.PicSplitter.top + l.PicSplitter.height;
    steps.size(l.Text2.height, innerHeight - l.PicSplitter.top - 470, "Text2.Height");
    return l;
}

} // namespace receive
