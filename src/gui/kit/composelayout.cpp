#include "gui/kit/composelayout.h"

namespace kit {

ComposeLayout layOutCompose(ComposeLayout layout, int width, int height, int statusHeight,
                            QStringList &refused)
{
    core::LayoutSteps steps(refused);
    layout.message.left = 0;
    layout.message.top = 0;
    steps.size(layout.message.height, height - statusHeight - 500, "TxtMsg.Height");
    steps.size(layout.message.width, width - layout.sendButton.width - 300, "TxtMsg.Width");
    layout.sendButton.left = width - layout.sendButton.width - 160;
    layout.sendButton.top = height - 880 - layout.cancelButton.height - 400;
    layout.cancelButton.left = width - layout.sendButton.width - 160;
    layout.cancelButton.top = height - 880 - 340;
    layout.picture.left = width - 880;
    return layout;
}

} // namespace kit
