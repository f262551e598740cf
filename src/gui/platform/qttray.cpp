#include "gui/platform/qttray.h"

#include "base/core/placement.h"
#include "base/core/twips.h"
#include "base/text/cp932.h"
#include "gui/platform/desktopsession.h"
#include "gui/platform/statusnotifierhosts.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace platform {
namespace {

Qt::WindowFlags standInFlags()
{
    return !waylandClient() ? Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint : Qt::Window;
}

// The stand-in shows the tray's own 16 by 16 picture.
constexpr int kStandInPicture = 16;
// How often the tray looks whether the notification area is (still) there.
constexpr int kLookMs = 2000;

// Stands in for the tray where the desktop has no notification area. It keeps to the bottom-right
// corner of the free part of the screen, inside the strip that the placement rule leaves free at
// the bottom, so a window placed in that corner neither covers it nor is covered by it.
class StandIn final : public QWidget {
public:
    explicit StandIn(QtTray &tray) : QWidget(nullptr, standInFlags()), m_tray(tray)
    {
        setObjectName(QStringLiteral("trayStandIn"));
        // What a task bar or a window list shows for it.
        setWindowTitle(QStringLiteral("ミルトアンヌ"));
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        m_picture = new QLabel(this);
        m_picture->setAlignment(Qt::AlignCenter);
        layout->addWidget(m_picture);
        if (!!waylandClient()) {
            // A window of its own that the compositor places, with a title bar the user can take
            // it by: a Wayland client cannot place a window nor keep one on top.
            // As wide as the compositor's or Qt's own title bar needs for the name.
            m_pictureSize = 2 * kStandInPicture;
            QFont title = font();
            title.setBold(true);
            const int bar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
            const int named = QFontMetrics(title).horizontalAdvance(windowTitle()) + 10 * bar;
            setFixedSize(std::max(10 * kStandInPicture, named), 3 * kStandInPicture);
            return;
        }
        if (QScreen *screen = QGuiApplication::primaryScreen()) {
            keepToCorner(*screen);
            connect(screen, &QScreen::availableGeometryChanged, this,
                    [this, screen] { keepToCorner(*screen); });
        }
    }

    void setPicture(const QIcon &icon) { m_picture->setPixmap(icon.pixmap(m_pictureSize)); }

protected:
    // Where it is a window of its own, closing it would leave the program nowhere to be seen.
    void closeEvent(QCloseEvent *event) override { event->ignore(); }

    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            emit m_tray.leftPressed();
        else if (event->button() == Qt::RightButton)
            emit m_tray.rightPressed(event->globalPosition().toPoint());
    }

private:
    void keepToCorner(const QScreen &screen)
    {
        // As high as the free strip, never higher: the strip's twips at this screen's DPI, rounded down.
        const int strip =
            static_cast<int>(core::kTaskBarTwips * screen.logicalDotsPerInch() / core::kTwipsPerInch);
        const int side = std::max(strip, kStandInPicture);
        setFixedSize(side, side);
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignRight | Qt::AlignBottom, size(),
                                        screen.availableGeometry()));
    }

    QtTray &m_tray;
    QLabel *m_picture = nullptr;
    int m_pictureSize = kStandInPicture;
};

} // namespace

QtTray::QtTray(Pictures pictures, QObject *parent) : Tray(parent), m_pictures(std::move(pictures))
{
    m_look.setInterval(kLookMs);
    connect(&m_look, &QTimer::timeout, this, &QtTray::follow);
}

QtTray::~QtTray() = default;

void QtTray::setContextMenu(QMenu *menu)
{
    m_menu = menu;
    if (m_icon)
        m_icon->setContextMenu(menu);
}

int QtTray::notify(TrayOp op, const TrayRecord &trayRecord)
{
    switch (op) {
    case TrayOp::Add:
        if (m_shown)
            return 0;
        if (!m_hosts) {
            m_hosts = std::make_unique<StatusNotifierHosts>();
            connect(m_hosts.get(), &StatusNotifierHosts::changed, this, &QtTray::follow);
            // The same question Qt asks when it makes its first icon, just below.
            m_overDBus = m_hosts->askNow();
        }
        m_shown = trayRecord;
        // Qt chooses the kind of its icons once, when it makes the first. An X11 session always has
        // a kind to fall back on; elsewhere the icon waits for a panel that shows icons over D-Bus,
        // so that one that comes up after the program (the panel of a session that starts its
        // programs first) is used. Meanwhile the stand-in shows the picture.
        if (m_overDBus || !waylandClient())
            makeIcon();
        follow();
        return 1;
    case TrayOp::Modify:
        if (!m_shown)
            return 0;
        if (m_shown != trayRecord) {
            m_shown = trayRecord;
            paint();
        }
        return 1;
    case TrayOp::Delete:
        if (!m_shown)
            return 0;
        remove();
        return 1;
    }
    return 0;
}

void QtTray::makeIcon()
{
    m_icon = std::make_unique<QSystemTrayIcon>();
    m_icon->setContextMenu(m_menu);
    connect(m_icon.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
        if (why == QSystemTrayIcon::Trigger)
            emit leftPressed();
        else if (why == QSystemTrayIcon::Context && !m_menu)
            emit rightPressed(QCursor::pos());
    });
    paint();
    if (!m_overDBus)
        m_look.start();
}

bool QtTray::trayPresent() const
{
    if (!m_icon)
        return m_hosts->present();
    return m_overDBus ? m_hosts->present() : QSystemTrayIcon::isSystemTrayAvailable();
}

// Shows the icon where there is a notification area, else the stand-in, each with what the
// record says.
void QtTray::follow()
{
    if (!m_shown)
        return;
    if (!m_icon && m_hosts->present()) {
        m_overDBus = true;
        makeIcon();
    }
    if (trayPresent()) {
        m_standIn.reset();
        if (!m_icon->isVisible())
            m_icon->show();
        return;
    }
    // Hidden, the icon lets go of what is left of the old tray; shown again, it docks anew.
    if (m_icon)
        m_icon->hide();
    if (!m_standIn) {
        m_standIn = std::make_unique<StandIn>(*this);
        paint();
        m_standIn->show();
    }
}

void QtTray::paint()
{
    const QIcon picture = m_pictures(m_shown->hIcon);
    const QString tip = text::fromCp932(m_shown->szTip);
    if (m_icon) {
        m_icon->setIcon(picture);
        m_icon->setToolTip(tip);
    }
    if (m_standIn) {
        static_cast<StandIn *>(m_standIn.get())->setPicture(picture);
        m_standIn->setToolTip(tip);
        m_standIn->setWindowIcon(picture);
    }
}

void QtTray::remove()
{
    m_look.stop();
    if (m_icon)
        m_icon->hide();
    m_icon.reset();
    m_standIn.reset();
    m_shown.reset();
}

} // namespace platform
