#include "base/core/about.h"

namespace core {
namespace {

// The window icon and both frames of the animation from one set; Image1 starts on the normal one.
void giveSet(VersionWindowModel &box, int set)
{
    box.setIcon(IconId::normal(set));
    box.edit([set](VersionView &v) {
        v.image1 = IconId::normal(set);
        v.image2 = IconId::received(set);
        v.image3 = IconId::normal(set);
    });
}

} // namespace

About::About(Context &context) : m_context(context)
{
    connect(&versionSlot, &WindowSlotBase::loaded, this,
            [this] { connect(&versionSlot.ifLoaded()->Timer1, &QTimer::timeout, this, &About::tick); });
    // A set applied while the box exists reaches it at once; an unloaded box takes the set when
    // it is next opened.
    connect(&context, &Context::iconSetApplied, this, [this](int set) {
        VersionWindowModel *box = versionSlot.ifLoaded();
        if (box != nullptr)
            giveSet(*box, set);
    });
}

void About::open()
{
    m_context.menu.setVisible(core::MenuId::Tray, false);
    VersionWindowModel &box = frmVersion();
    // A box loaded afresh has the design icon; it takes the set's like every other window.
    giveSet(box, m_context.iconSet());
    box.Timer1.start();
    box.show();
}

void About::tick()
{
    VersionWindowModel *box = versionSlot.ifLoaded();
    if (box == nullptr)
        return;
    box->edit([](VersionView &v) {
        if (v.aboutPhase == 1) {
            v.aboutPhase = 0;
            v.image1 = v.image3;
        } else {
            v.aboutPhase = 1;
            v.image1 = v.image2;
        }
    });
}

void About::command1Click()
{
    versionSlot.unload();
}

} // namespace core
