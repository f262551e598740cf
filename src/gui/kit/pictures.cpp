#include "gui/kit/pictures.h"

#include <QCoreApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <array>
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>

namespace kit {
namespace {

// The icon sets and the program's own picture are drawn on a 32 × 32 grid that the painter scales
// to each size. Outlines are 1.6 grid units: one and a half pixels at 32, still a full line at 16.
constexpr qreal kOutline = 1.6;

void outlined(QPainter &p, const QColor &fill, qreal width = kOutline)
{
    p.setPen(QPen(fill.darker(190), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
}

void stroke(QPainter &p, const QColor &colour, qreal width)
{
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
}

QPainterPath heartPath(QPointF centre, qreal size)
{
    const qreal x = centre.x();
    const qreal y = centre.y();
    QPainterPath heart;
    heart.moveTo(x, y + size * 0.42);
    heart.cubicTo(x - size * 0.75, y - size * 0.05, x - size * 0.35, y - size * 0.65, x, y - size * 0.22);
    heart.cubicTo(x + size * 0.35, y - size * 0.65, x + size * 0.75, y - size * 0.05, x, y + size * 0.42);
    return heart;
}

QPainterPath starPath(QPointF centre, qreal outer, qreal inner)
{
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const qreal radius = i % 2 == 0 ? outer : inner;
        const qreal angle = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const QPointF point(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle));
        if (i == 0)
            star.moveTo(point);
        else
            star.lineTo(point);
    }
    star.closeSubpath();
    return star;
}

// The mark of a waiting message: a red disc with a white rim and an exclamation mark, in the
// top right corner where every motif leaves it room. It stays a clear red dot even at 16 pixels.
void drawWaitingMark(QPainter &p)
{
    const QPointF centre(25, 7);
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(QColor(225, 25, 40));
    p.drawEllipse(centre, 6.6, 6.6);
    stroke(p, Qt::white, 2.2);
    p.drawLine(QPointF(25, 3.6), QPointF(25, 7.6));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(25, 10.4), 1.2, 1.2);
}

// Set 0, a letter: a closed envelope; received, the flap is open and the letter stands out.
void drawLetter(QPainter &p, bool received)
{
    const QColor paper(175, 210, 250);
    if (!received) {
        outlined(p, paper);
        p.drawRoundedRect(QRectF(3, 8, 26, 18), 2, 2);
        stroke(p, paper.darker(190), kOutline);
        p.drawPolyline(QPolygonF({QPointF(3.5, 9), QPointF(16, 19), QPointF(28.5, 9)}));
        return;
    }
    outlined(p, paper.darker(115));
    p.drawPolygon(QPolygonF({QPointF(3, 14), QPointF(16, 5), QPointF(29, 14)}));
    outlined(p, Qt::white, 1.2);
    p.drawRect(QRectF(8, 4, 14, 16));
    stroke(p, QColor(60, 120, 200), 1.4);
    for (qreal y : {8.0, 11.0, 14.0})
        p.drawLine(QPointF(10.5, y), QPointF(19.5, y));
    outlined(p, paper);
    QPainterPath pocket;
    pocket.moveTo(3, 14);
    pocket.lineTo(16, 22);
    pocket.lineTo(29, 14);
    pocket.lineTo(29, 28);
    pocket.lineTo(3, 28);
    pocket.closeSubpath();
    p.drawPath(pocket);
}

// Set 1, a heart; received, it beats: brighter, with strokes of its pulse beside it.
void drawHeartSet(QPainter &p, bool received)
{
    outlined(p, received ? QColor(245, 60, 110) : QColor(245, 140, 170));
    p.drawPath(heartPath(QPointF(received ? 17 : 16, 17), received ? 24 : 26));
    if (received) {
        stroke(p, QColor(245, 60, 110), 1.8);
        p.drawLine(QPointF(2.5, 12), QPointF(5.5, 14));
        p.drawLine(QPointF(2, 19), QPointF(5.5, 19));
        p.drawLine(QPointF(3, 26), QPointF(6, 23.5));
    }
}

// Set 2, a star; received, it glows orange with a small star beside it.
void drawStar(QPainter &p, bool received)
{
    outlined(p, received ? QColor(255, 150, 30) : QColor(250, 215, 60));
    p.drawPath(starPath(QPointF(15, 17), 14, 6));
    if (received) {
        outlined(p, QColor(255, 230, 90), 1.2);
        p.drawPath(starPath(QPointF(5.5, 26), 5, 2.2));
    }
}

// Set 3, a bell; received, it swings and rings.
void drawBell(QPainter &p, bool received)
{
    p.save();
    if (received) {
        p.translate(16, 6);
        p.rotate(-22);
        p.translate(-16, -6);
    }
    QPainterPath bell;
    bell.moveTo(16, 4);
    bell.cubicTo(9, 4, 8.5, 10, 8.5, 16);
    bell.cubicTo(8.5, 20, 6, 22, 4, 24);
    bell.lineTo(28, 24);
    bell.cubicTo(26, 22, 23.5, 20, 23.5, 16);
    bell.cubicTo(23.5, 10, 23, 4, 16, 4);
    outlined(p, QColor(240, 185, 50));
    p.drawEllipse(QPointF(16, 26.5), 2.8, 2.8);
    p.drawPath(bell);
    p.restore();
    if (received) {
        // Sound waves on the side the bell swings away from.
        stroke(p, QColor(200, 120, 20), 1.6);
        const QPointF centre(10, 15);
        for (qreal radius : {4.5, 8.0})
            p.drawArc(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), 140 * 16,
                      80 * 16);
    }
}

// Set 4, a speech bubble with lines of text; received, a bright bubble with three dots.
void drawBubble(QPainter &p, bool received)
{
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(3, 6, 26, 17), 6, 6);
    QPainterPath tail;
    tail.moveTo(8, 21);
    tail.lineTo(5, 29);
    tail.lineTo(15, 22);
    tail.closeSubpath();
    outlined(p, received ? QColor(70, 200, 100) : QColor(190, 235, 195));
    p.drawPath(bubble.united(tail));
    if (received) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        for (qreal x : {9.5, 16.0, 22.5})
            p.drawEllipse(QPointF(x, 14.5), 2.4, 2.4);
    } else {
        stroke(p, QColor(60, 130, 75), 1.6);
        p.drawLine(QPointF(8, 12), QPointF(24, 12));
        p.drawLine(QPointF(8, 17), QPointF(19, 17));
    }
}

// Set 5, a flower: a closed tulip bud; received, the flower has opened.
void drawFlower(QPainter &p, bool received)
{
    stroke(p, QColor(50, 140, 60), 2.0);
    p.drawLine(QPointF(16, 16), QPointF(16, 30));
    outlined(p, QColor(110, 190, 90), 1.0);
    QPainterPath leaf;
    leaf.moveTo(16, 27);
    leaf.cubicTo(10, 27, 7, 23, 6, 20);
    leaf.cubicTo(11, 20, 15, 23, 16, 27);
    p.drawPath(leaf);
    if (!received) {
        QPainterPath bud;
        bud.moveTo(16, 19);
        bud.cubicTo(9, 19, 9, 11, 10, 5);
        bud.lineTo(13, 8);
        bud.lineTo(16, 3);
        bud.lineTo(19, 8);
        bud.lineTo(22, 5);
        bud.cubicTo(23, 11, 23, 19, 16, 19);
        outlined(p, QColor(170, 90, 200));
        p.drawPath(bud);
        return;
    }
    outlined(p, QColor(245, 120, 200), 1.2);
    const QPointF centre(14, 12);
    for (int i = 0; i < 5; ++i) {
        const qreal angle = -std::numbers::pi / 2 + i * 2 * std::numbers::pi / 5;
        p.drawEllipse(QPointF(centre.x() + 6 * std::cos(angle), centre.y() + 6 * std::sin(angle)), 4.4, 4.4);
    }
    outlined(p, QColor(255, 215, 60), 1.0);
    p.drawEllipse(centre, 3.4, 3.4);
}

// Set 6, a cat's face asleep; received, awake with round eyes.
void drawCat(QPainter &p, bool received)
{
    const QColor fur(240, 160, 70);
    outlined(p, fur);
    QPainterPath head;
    head.addEllipse(QPointF(16, 19), 12, 10.5);
    QPainterPath ears;
    ears.moveTo(5, 15);
    ears.lineTo(6, 3);
    ears.lineTo(13, 10);
    ears.closeSubpath();
    ears.moveTo(27, 15);
    ears.lineTo(26, 3);
    ears.lineTo(19, 10);
    ears.closeSubpath();
    p.drawPath(head.united(ears));
    const QColor dark(60, 40, 30);
    if (received) {
        p.setPen(Qt::NoPen);
        p.setBrush(dark);
        p.drawEllipse(QPointF(11.5, 18), 2.4, 2.8);
        p.drawEllipse(QPointF(20.5, 18), 2.4, 2.8);
        stroke(p, dark, 1.0);
        p.drawLine(QPointF(1, 21), QPointF(8, 22));
        p.drawLine(QPointF(1, 25), QPointF(8, 24));
        p.drawLine(QPointF(31, 21), QPointF(24, 22));
        p.drawLine(QPointF(31, 25), QPointF(24, 24));
    } else {
        stroke(p, dark, 1.5);
        p.drawArc(QRectF(8.5, 16, 6, 4), 0, 180 * 16);
        p.drawArc(QRectF(17.5, 16, 6, 4), 0, 180 * 16);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 80, 90));
    p.drawPolygon(QPolygonF({QPointF(14.5, 22.5), QPointF(17.5, 22.5), QPointF(16, 24.5)}));
}

// Set 7, a house with a dark window; received, someone is home: the window is lit and the
// chimney smokes.
void drawHouse(QPainter &p, bool received)
{
    outlined(p, QColor(150, 80, 60));
    p.drawRect(QRectF(7, 5, 4, 8));
    outlined(p, QColor(240, 222, 185));
    p.drawRect(QRectF(6, 15, 20, 14));
    outlined(p, QColor(200, 70, 50));
    p.drawPolygon(QPolygonF({QPointF(2, 16), QPointF(16, 4), QPointF(30, 16)}));
    outlined(p, QColor(140, 95, 60), 1.2);
    p.drawRect(QRectF(9, 20, 5, 9));
    outlined(p, received ? QColor(255, 220, 60) : QColor(70, 80, 110), 1.2);
    p.drawRect(QRectF(17, 19, 6, 5));
    if (received) {
        outlined(p, QColor(215, 215, 225), 1.0);
        p.drawEllipse(QPointF(9, 2.5), 2.2, 1.8);
        p.drawEllipse(QPointF(13.5, 1.8), 2.4, 1.6);
    }
}

// Set 8, a crescent moon; received, the night fills with stars.
void drawMoon(QPainter &p, bool received)
{
    QPainterPath disc;
    disc.addEllipse(QPointF(14, 17), 12, 12);
    QPainterPath bite;
    bite.addEllipse(QPointF(20, 13), 10, 10);
    outlined(p, received ? QColor(255, 205, 40) : QColor(245, 225, 130));
    p.drawPath(disc.subtracted(bite));
    if (received) {
        outlined(p, QColor(120, 170, 255), 0.8);
        p.drawPath(starPath(QPointF(22, 22), 4.5, 1.9));
        p.drawPath(starPath(QPointF(27.5, 28), 3, 1.3));
    }
}

// Set 9, a paper plane at rest; received, it has flown in along a looping trail.
void drawPlane(QPainter &p, bool received)
{
    p.save();
    if (received) {
        p.setPen(QPen(QColor(50, 150, 175), 1.5, Qt::DashLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath trail;
        trail.moveTo(1.5, 30.5);
        trail.cubicTo(4, 23, 10, 31, 8, 26.5);
        trail.cubicTo(6.5, 23, 9, 22, 11, 22.5);
        p.drawPath(trail);
        // Come down to land, clear of the waiting mark.
        p.translate(0.5, 3);
        p.scale(0.9, 0.9);
    }
    outlined(p, QColor(235, 250, 255));
    p.drawPolygon(QPolygonF({QPointF(2, 16), QPointF(29, 5), QPointF(13, 20)}));
    outlined(p, QColor(120, 200, 220));
    p.drawPolygon(QPolygonF({QPointF(13, 20), QPointF(29, 5), QPointF(19, 28)}));
    outlined(p, QColor(70, 150, 175));
    p.drawPolygon(QPolygonF({QPointF(13, 20), QPointF(16, 26), QPointF(19, 28)}));
    p.restore();
}

using SetDrawer = void (*)(QPainter &, bool);
constexpr std::array<SetDrawer, core::kIconSets> kSets = {drawLetter, drawHeartSet, drawStar, drawBell,
                                                          drawBubble, drawFlower,   drawCat,  drawHouse,
                                                          drawMoon,   drawPlane};

// The pictures of the ten icon sets, drawn on a 32 × 32 grid (the painter is scaled to the
// target size beforehand). Every set has its own motif; the received picture shows the motif
// stirred and carries the red mark that says a message waits.
void drawSetPicture(QPainter &p, int set, bool received)
{
    if (set < 0 || set >= static_cast<int>(kSets.size()))
        return;
    kSets[static_cast<std::size_t>(set)](p, received);
    if (received)
        drawWaitingMark(p);
}

// The program's own picture: two speech bubbles, one for each person.
void drawProgramPicture(QPainter &p)
{
    QPainterPath first;
    first.addRoundedRect(QRectF(1.5, 3, 20, 14), 5, 5);
    first.moveTo(5, 15);
    first.lineTo(3.5, 22);
    first.lineTo(11, 16);
    first.closeSubpath();
    outlined(p, QColor(90, 150, 235));
    p.drawPath(first.simplified());
    QPainterPath second;
    second.addRoundedRect(QRectF(10.5, 12, 20, 14), 5, 5);
    second.moveTo(27, 24);
    second.lineTo(28.5, 31);
    second.lineTo(21, 25);
    second.closeSubpath();
    outlined(p, QColor(245, 135, 170));
    p.drawPath(second.simplified());
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(heartPath(QPointF(20.5, 19.5), 10));
}

void drawArrow(QPainter &p, const QRectF &r, bool up, const QColor &colour)
{
    QPainterPath arrow;
    const qreal cx = r.center().x();
    const qreal tip = up ? r.top() : r.bottom();
    const qreal base = up ? r.bottom() : r.top();
    const qreal mid = r.top() + r.height() / 2;
    arrow.moveTo(cx, tip);
    arrow.lineTo(r.right(), mid);
    arrow.lineTo(cx + r.width() * 0.18, mid);
    arrow.lineTo(cx + r.width() * 0.18, base);
    arrow.lineTo(cx - r.width() * 0.18, base);
    arrow.lineTo(cx - r.width() * 0.18, mid);
    arrow.lineTo(r.left(), mid);
    arrow.closeSubpath();
    p.setPen(QPen(colour.darker(160), r.width() / 16.0));
    p.setBrush(colour);
    p.drawPath(arrow);
}

// The call animation: frames 2 to 4 a person waving (arm down, up, and a bow to end the cycle),
// frames 5 and 6 a ringing telephone (handset still, handset shaking).
void drawCallFrame(QPainter &p, int frame, qreal s)
{
    if (frame <= 4) {
        const QColor body(230, 120, 60);
        p.setPen(QPen(body.darker(150), s / 16.0));
        p.setBrush(body);
        const qreal lean = frame == 4 ? s * 0.12 : 0;
        p.drawEllipse(QPointF(s * 0.45 + lean, s * 0.22 + lean), s * 0.14, s * 0.14);
        p.drawRoundedRect(QRectF(s * 0.32, s * 0.38 + lean / 2, s * 0.26, s * 0.5 - lean / 2), s * 0.08,
                          s * 0.08);
        p.setPen(QPen(body.darker(150), s / 9.0, Qt::SolidLine, Qt::RoundCap));
        const QPointF shoulder(s * 0.58, s * 0.45);
        p.drawLine(shoulder, frame == 3 ? QPointF(s * 0.85, s * 0.12) : QPointF(s * 0.88, s * 0.55));
        return;
    }
    const qreal shake = frame == 6 ? s * 0.06 : 0;
    p.setPen(QPen(QColor(40, 40, 50), s / 16.0));
    p.setBrush(QColor(60, 170, 110));
    p.drawRoundedRect(QRectF(s * 0.12, s * 0.45, s * 0.76, s * 0.45), s * 0.1, s * 0.1);
    p.setBrush(QColor(40, 130, 85));
    p.drawRoundedRect(QRectF(s * 0.08 + shake, s * 0.22 - shake, s * 0.84, s * 0.2), s * 0.1, s * 0.1);
    if (frame == 6) {
        p.setPen(QPen(QColor(230, 60, 60), s / 14.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.05, s * 0.08), QPointF(s * 0.15, s * 0.16));
        p.drawLine(QPointF(s * 0.95, s * 0.08), QPointF(s * 0.85, s * 0.16));
    }
}

void paintPicture(QPainter &p, core::IconId id, qreal s)
{
    using Kind = core::IconId::Kind;
    switch (id.kind) {
    case Kind::Normal:
    case Kind::Received:
        p.scale(s / 32.0, s / 32.0);
        drawSetPicture(p, id.index, id.kind == Kind::Received);
        break;
    case Kind::CallFrame:
        drawCallFrame(p, id.index, s);
        break;
    case Kind::Start:
        drawArrow(p, QRectF(s * 0.15, s * 0.1, s * 0.7, s * 0.8), true, QColor(60, 180, 80));
        break;
    case Kind::End:
        drawArrow(p, QRectF(s * 0.15, s * 0.1, s * 0.7, s * 0.8), false, QColor(150, 150, 160));
        break;
    case Kind::None:
        break;
    }
}

// An icon that draws itself at the size it is asked for, the first time it is asked, and keeps
// what it drew. Drawing every size of every picture up front was half of the start-up time (the
// icon selection window alone holds twenty pictures), and windows ask for their picture again at
// every change of their model.
class DrawnIcon final : public QIconEngine {
public:
    using Painter = std::function<void(QPainter &, qreal side)>;

    DrawnIcon(Painter paint, QList<int> sides)
        : m_paint(std::move(paint)), m_sides(std::move(sides)),
          m_drawn(std::make_shared<QHash<int, QPixmap>>())
    {
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode, QIcon::State) override { return drawn(size); }
    // `size` is in device pixels already; QIcon gives the result its ratio.
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode, QIcon::State, qreal) override { return drawn(size); }
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, drawn(rect.size() * ratio));
    }
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        return {side, side};
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const int side : m_sides)
            sizes << QSize(side, side);
        return sizes;
    }
    QIconEngine *clone() const override { return new DrawnIcon(*this); }
    QString key() const override { return QStringLiteral("miltoanne-drawn"); }

private:
    QPixmap drawn(QSize size)
    {
        const int side = std::max(1, std::min(size.width(), size.height()));
        auto it = m_drawn->constFind(side);
        if (it == m_drawn->cend()) {
            QPixmap pixmap(side, side);
            pixmap.fill(Qt::transparent);
            QPainter p(&pixmap);
            p.setRenderHint(QPainter::Antialiasing);
            m_paint(p, side);
            p.end();
            it = m_drawn->insert(side, pixmap);
        }
        return *it;
    }

    Painter m_paint;
    QList<int> m_sides;
    std::shared_ptr<QHash<int, QPixmap>> m_drawn; // shared by the copies QIcon makes
};

QIcon drawnIcon(DrawnIcon::Painter paint, QList<int> sides)
{
    return QIcon(new DrawnIcon(std::move(paint), std::move(sides)));
}

} // namespace

QIcon pictureFor(core::IconId id)
{
    // One icon per picture for the whole program, so that each size of it is drawn once.
    static QHash<quint32, QIcon> icons;
    static const bool cleared = [] {
        qAddPostRoutine([] { icons.clear(); }); // the pixmaps go before the application does
        return true;
    }();
    Q_UNUSED(cleared);
    auto it = icons.constFind(id.handle());
    if (it == icons.cend()) {
        it = icons.insert(id.handle(), drawnIcon([id](QPainter &p, qreal side) { paintPicture(p, id, side); },
                                                 {16, 24, 32, 48, 64}));
    }
    return *it;
}

namespace {
void drawHeart(QPainter &p, QPointF centre, qreal size, const QColor &fill)
{
    QPainterPath heart;
    const qreal x = centre.x();
    const qreal y = centre.y();
    heart.moveTo(x, y + size * 0.35);
    heart.cubicTo(x - size * 0.6, y - size * 0.05, x - size * 0.25, y - size * 0.55, x, y - size * 0.2);
    heart.cubicTo(x + size * 0.25, y - size * 0.55, x + size * 0.6, y - size * 0.05, x, y + size * 0.35);
    p.setPen(QPen(fill.darker(160), size / 14.0));
    p.setBrush(fill);
    p.drawPath(heart);
}
} // namespace

QIcon presencePicture(Presence answer)
{
    return drawnIcon(
        [answer](QPainter &p, qreal s) {
            switch (answer) {
            case Presence::Mutual:
                drawHeart(p, QPointF(s * 0.36, s * 0.5), s * 0.62, QColor(235, 70, 110));
                drawHeart(p, QPointF(s * 0.64, s * 0.5), s * 0.62, QColor(250, 120, 150));
                break;
            case Presence::OneSided:
                drawHeart(p, QPointF(s * 0.5, s * 0.5), s * 0.8, QColor(250, 150, 170));
                break;
            case Presence::Nobody:
                p.setPen(QPen(QColor(140, 140, 150), s / 10.0, Qt::DashLine));
                p.setBrush(Qt::NoBrush);
                p.drawEllipse(QRectF(s * 0.15, s * 0.15, s * 0.7, s * 0.7));
                break;
            }
        },
        {16, 32, 48});
}

QIcon pictureForHandle(quint32 handle)
{
    return pictureFor(core::IconId::fromHandle(handle));
}

QIcon appIcon()
{
    return drawnIcon(
        [](QPainter &p, qreal side) {
            p.scale(side / 32.0, side / 32.0);
            drawProgramPicture(p);
        },
        {16, 24, 32, 48, 64, 128, 256});
}

} // namespace kit
