#include "gui/kit/placement.h"

#include "base/core/placement.h"
#include "base/core/twips.h"
#include "gui/platform/desktopsession.h"

#include <QApplication>
#include <QEvent>
#include <QLayout>
#include <QScreen>
#include <QStyle>

#include <optional>

namespace kit {
namespace {

// Windows the window manager draws no frame round.
bool framed(const QWidget &window)
{
    const Qt::WindowType type = window.windowType();
    return !window.windowFlags().testFlag(Qt::FramelessWindowHint) && type != Qt::Popup &&
           type != Qt::ToolTip && type != Qt::SplashScreen;
}

// The frame round `window` when it was last on the screen; none for a window never framed.
QMargins lastFrame(const QWidget &window)
{
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

bool fixedSize(const QWidget &window)
{
    return window.minimumSize() == window.maximumSize();
}

// How alike the frames of two windows will be: the window manager frames each kind of window in
// its own way, and draws no resizing border round a window of fixed size.
int likeness(const QWidget &a, const QWidget &b)
{
    return (a.windowType() == b.windowType() ? 2 : 0) + (fixedSize(a) == fixedSize(b) ? 1 : 0);
}

// The frame a window not framed yet will get: the frame the window manager gave the most alike of
// our other windows. Nothing when no window of ours was ever framed.
std::optional<QMargins> borrowedFrame(const QWidget &window)
{
    std::optional<QMargins> best;
    int bestLikeness = -1;
    for (const QWidget *shown : QApplication::topLevelWidgets()) {
        if (shown == &window || !framed(*shown) || lastFrame(*shown).isNull())
            continue;
        if (const int l = likeness(window, *shown); l > bestLikeness) {
            best = lastFrame(*shown);
            bestLikeness = l;
        }
    }
    return best;
}

bool frameKnown(const QWidget &window)
{
    return !framed(window) || !lastFrame(window).isNull();
}

// The frame round the window: none, its own from an earlier show, or else a guess; nothing when
// there is no guess.
std::optional<QMargins> expectedFrame(const QWidget &window)
{
    return frameKnown(window) ? lastFrame(window) : borrowedFrame(window);
}

// Places a window once more when the window manager has framed it, for a window placed before its
// own frame was known: the frame it was placed with was another window's, or none. It acts once,
// as the frame comes, before anyone could see the window in the wrong place, and never after.
class PlaceWhenFramed final : public QObject {
public:
    static inline const QString kName = QStringLiteral("placeWhenFramed");

    PlaceWhenFramed(QWidget &window, const core::Options &opt, std::optional<QMargins> assumed)
        : QObject(&window), m_window(window), m_opt(opt), m_assumed(assumed)
    {
        setObjectName(kName);
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != &m_window)
            return false;
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Expose:
            if (const QMargins frame = lastFrame(m_window); !frame.isNull()) {
                m_window.removeEventFilter(this);
                deleteLater();
                if (frame != m_assumed)
                    placeOnScreen(m_window, m_opt);
            }
            break;
        case QEvent::Hide:
            m_window.removeEventFilter(this);
            deleteLater();
            break;
        default:
            break;
        }
        return false;
    }

private:
    QWidget &m_window;
    const core::Options &m_opt;
    std::optional<QMargins> m_assumed;
};

const char *const kKindProperty = "placementKind";

// Where the program's other windows of the same kind as `window` are on screen, frames included.
QList<QRect> shownFrames(const QWidget &window)
{
    QList<QRect> frames;
    const QVariant kind = window.property(kKindProperty);
    if (!kind.isValid())
        return frames;
    for (const QWidget *other : QApplication::topLevelWidgets()) {
        if (other != &window && other->isVisible() && other->property(kKindProperty) == kind)
            frames << other->frameGeometry();
    }
    return frames;
}

QRect toTwips(QRect r, qreal dpi)
{
    const int left = core::pixelsToTwips(r.x(), dpi);
    const int top = core::pixelsToTwips(r.y(), dpi);
    return {left, top, core::pixelsToTwips(r.x() + r.width(), dpi) - left,
            core::pixelsToTwips(r.y() + r.height(), dpi) - top};
}

} // namespace

qreal logicalDpi()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
}

void setPlacementKind(QWidget &window, const QString &kind)
{
    window.setProperty(kKindProperty, kind);
}

int captionWidth(const QWidget &window)
{
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    // The icon, the three buttons and the margins of the title bar each take about its height. Qt's
    // own title bar centres the caption over the whole bar, so the buttons' room counts twice.
    const int bar = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
    return QFontMetrics(titleFont).horizontalAdvance(window.windowTitle()) +
           (platform::waylandClient() ? 10 : 5) * bar;
}

void widenForCaption(QWidget &window)
{
    const QScreen *screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const int wanted = captionWidth(window);
    const QMargins frame = expectedFrame(window).value_or(QMargins());
    const int room = screen->availableGeometry().width() - frame.left() - frame.right();
    const int width = std::min(wanted, room);
    if (window.width() < width)
        window.resize(width, window.height());
}

void placeOnScreen(QWidget &window, const core::Options &opt)
{
    const QScreen *screen = window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr || (window.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)))
        return;
    if (!window.isVisible()) {
        // What the show does first: the layout takes in what changed, and a window nobody sized
        // takes the size its contents ask for. Measured any earlier, it would be placed at a size
        // it does not have.
        if (QLayout *layout = window.layout())
            layout->activate();
        if (!window.testAttribute(Qt::WA_Resized)) {
            window.adjustSize();
            window.setAttribute(Qt::WA_Resized, false);
        }
    }
    const bool known = frameKnown(window);
    const std::optional<QMargins> frame = expectedFrame(window);
    const QMargins margins = frame.value_or(QMargins());
    const qreal dpi = logicalDpi();
    const QRect outer(window.pos(), window.size().grownBy(margins));
    const QPoint at = core::placeWindow(opt, toTwips(screen->availableGeometry(), dpi),
                                        toTwips(outer, dpi).size(), toTwips(outer, dpi).topLeft());
    QPoint topLeft(core::twipsToPixels(at.x(), dpi), core::twipsToPixels(at.y(), dpi));
    topLeft =
        core::clearOfShown(QRect(topLeft, outer.size()), shownFrames(window), screen->availableGeometry(),
                           std::max(margins.top(), core::twipsToPixels(core::kCascadeTwips, dpi)));
    // Moving a window that has a platform window but was never framed sets where its inside goes;
    // its frame then lies round that, so the inside goes in by the frame it is expected to get.
    if (!known && window.testAttribute(Qt::WA_WState_Created))
        topLeft += QPoint(margins.left(), margins.top());
    window.move(topLeft);
    if (!known && window.findChild<QObject *>(PlaceWhenFramed::kName, Qt::FindDirectChildrenOnly) == nullptr)
        new PlaceWhenFramed(window, opt, frame);
}

} // namespace kit
