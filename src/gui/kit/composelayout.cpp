#include "gui/kit/composelayout.h"

namespace kit {

ComposeLayout layOutCompose(ComposeLayout l, int width, int height, int statusHeight, QStringList &refused)
{
    core::LayoutSteps steps(refused);
    l.message.left = 0;
    l.message.top = 0;
    steps.size(l.message.height, height - statusHeight - 500, "TxtMsg.Height");
    steps.size(l.message.width, width - l.sendButton.width - 300, "TxtMsg.Width");
    l.sendButton.left = width - l.sendButton.width - 160;
    l.sendButton.top = height - 880 - l.cancelButton.height - 400;
    l.cancelButton.left = width - l.sendButton.width - 160;
    l.cancelButton.top = height - 880 - 340;
    l.picture.left = width - 880;
    return l;
}

} // namespace kit
