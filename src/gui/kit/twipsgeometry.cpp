#include "gui/kit/twipsgeometry.h"

#include "base/core/twips.h"
#include "gui/kit/placement.h"

namespace kit {

int px(int twips)
{
    return core::twipsToPixels(twips, logicalDpi());
}

int tw(int pixels)
{
    return core::pixelsToTwips(pixels, logicalDpi());
}

QRect pixelRect(const core::Box &b)
{
    return {px(b.left), px(b.top), px(b.width), px(b.height)};
}

void place(QWidget &widget, const core::Box &box)
{
    widget.setGeometry(pixelRect(box));
}

QLabel *addStatusPanel(QStatusBar &bar, int widthTwips, const char *name, int stretch)
{
    auto *panel = new QLabel(&bar);
    panel->setObjectName(QString::fromLatin1(name));
    // The bar draws a frame and spacing round each panel; the panel's own width is the rest.
    panel->setMinimumWidth(px(widthTwips) - 8);
    bar.addWidget(panel, stretch);
    return panel;
}

} // namespace kit
