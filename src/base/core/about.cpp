#include "base/core/about.h"

namespace core {
namespace {

// The window icon and both frames of the animation from one set; the picture on show starts on the normal
// one.
void giveSet(AboutWindowModel &box, int set)
{
    box.setIcon(IconId::normal(set));
    box.edit([set](AboutView &v) {
        v.shownPicture = IconId::normal(set);
        v.receivedFrame = IconId::received(set);
        v.normalFrame = IconId::normal(set);
    });
}

} // namespace

About::About(Context &context) : m_context(context)
{
    context.menu.setAction(MenuId::About, [this] { open(); });
    connect(&slot, &WindowSlotBase::loaded, this,
            [this] { connect(&slot.ifLoaded()->animationTimer, &QTimer::timeout, this, &About::tick); });
    // A set applied while the box exists reaches it at once; an unloaded box takes the set when
    // it is next opened.
    connect(&context, &Context::iconSetApplied, this, [this](int set) {
        AboutWindowModel *box = slot.ifLoaded();
        if (box != nullptr)
            giveSet(*box, set);
    });
}

void About::open()
{
    m_context.menu.setVisible(core::MenuId::Tray, false);
    AboutWindowModel &box = window();
    // A box loaded afresh has the design icon; it takes the set's like every other window.
    giveSet(box, m_context.opt.iconSet());
    box.animationTimer.start();
    box.show();
}

void About::tick()
{
    AboutWindowModel *box = slot.ifLoaded();
    if (box == nullptr)
        return;
    box->edit([](AboutView &v) {
        if (v.phase == 1) {
            v.phase = 0;
            v.shownPicture = v.normalFrame;
        } else {
            v.phase = 1;
            v.shownPicture = v.receivedFrame;
        }
    });
}

void About::close()
{
    slot.unload();
}

} // namespace core
