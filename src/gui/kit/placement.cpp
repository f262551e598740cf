#include "gui/kit/placement.h"

#include "base/core/placement.h"
#include "base/core/twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace kit {

qreal logicalDpi()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
}

void placeOnScreen(QWidget &window, const core::Options &opt)
{
    const QScreen *screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr || (window.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
        return;
    const qreal dpi = logicalDpi();
    auto toTwips = [dpi](QSize s) {
        return QSize(core::pixelsToTwips(s.width(), dpi), core::pixelsToTwips(s.height(), dpi));
    };
    // A window not yet shown has no frame; its size is the best estimate of its outer size.
    const QSize outer = window.isVisible() ? window.frameGeometry().size() : window.size();
    const QRect area = screen->geometry();
    const QPoint current(core::pixelsToTwips(window.x() - area.x(), dpi),
                         core::pixelsToTwips(window.y() - area.y(), dpi));
    const QPoint at = core::placeWindow(opt, toTwips(area.size()), toTwips(outer), current);
    window.move(area.x() + core::twipsToPixels(at.x(), dpi), area.y() + core::twipsToPixels(at.y(), dpi));
}

} // namespace kit
