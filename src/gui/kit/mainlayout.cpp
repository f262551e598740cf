#include "gui/kit/mainlayout.h"

namespace shell {

MainLayout layOutMain(MainLayout l, int width, int height, int statusHeight, QStringList &refused)
{
    core::LayoutSteps steps(refused);
    l.TxtMsg.left = 0;
    l.TxtMsg.top = 0;
    steps.size(l.TxtMsg.height, height - statusHeight - 500, "TxtMsg.Height");
    steps.size(l.TxtMsg.width, width - l.CmdSend.width - 300, "TxtMsg.Width");
    l.CmdSend.left = width - l.CmdSend.width - 160;
    l.CmdSend.top = height - 880 - l.CmdCancel.height - 400;
    l.CmdCancel.left = width - l.CmdSend.width - 160;
    l.CmdCancel.top = height - 880 - 340;
    l.Image1.left = width - 880;
    return l;
}

} // namespace shell
