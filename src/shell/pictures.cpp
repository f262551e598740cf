#include "shell/pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace shell {
namespace {

// One hue per icon set, spread round the colour wheel.
QColor setColour(int set)
{
    return QColor::fromHsv((set * 36 + 200) % 360, 150, 220);
}

void drawEnvelope(QPainter &p, const QRectF &r, const QColor &fill)
{
    const QColor edge = fill.darker(170);
    p.setPen(QPen(edge, r.width() / 16.0));
    p.setBrush(fill);
    p.drawRoundedRect(r, r.width() / 12.0, r.width() / 12.0);
    QPainterPath flap;
    flap.moveTo(r.topLeft());
    flap.lineTo(r.center().x(), r.top() + r.height() * 0.6);
    flap.lineTo(r.topRight());
    p.setBrush(Qt::NoBrush);
    p.drawPath(flap);
}

void drawBadge(QPainter &p, const QRectF &r)
{
    p.setPen(QPen(Qt::white, r.width() / 12.0));
    p.setBrush(QColor(220, 30, 40));
    p.drawEllipse(r);
    p.setPen(QPen(Qt::white, r.width() / 6.0, Qt::SolidLine, Qt::RoundCap));
    const qreal x = r.center().x();
    p.drawLine(QPointF(x, r.top() + r.height() * 0.25), QPointF(x, r.top() + r.height() * 0.55));
    p.drawPoint(QPointF(x, r.top() + r.height() * 0.75));
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
        p.drawRoundedRect(QRectF(s * 0.32, s * 0.38 + lean / 2, s * 0.26, s * 0.5 - lean / 2), s * 0.08, s * 0.08);
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

QPixmap draw(core::IconId id, int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = side;
    const QRectF body(s * 0.06, s * 0.2, s * 0.88, s * 0.62);
    using Kind = core::IconId::Kind;
    switch (id.kind) {
    case Kind::Normal:
        drawEnvelope(p, body, setColour(id.index));
        break;
    case Kind::Received:
        drawEnvelope(p, body, setColour(id.index).lighter(115));
        drawBadge(p, QRectF(s * 0.45, s * 0.02, s * 0.55, s * 0.55));
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
    return pixmap;
}

} // namespace

QIcon pictureFor(core::IconId id)
{
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64})
        icon.addPixmap(draw(id, side));
    return icon;
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
    QIcon icon;
    for (int side : {16, 32, 48}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const qreal s = side;
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
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon pictureForHandle(quint32 handle)
{
    return pictureFor(core::IconId::fromHandle(handle));
}

} // namespace shell
