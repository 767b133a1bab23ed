#include "platform/widgets/tool_cursor.h"

#include <functional>

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace kalidor {

namespace {

constexpr int kSide = 32;
// Where the paint lands: the foot of the drop.
constexpr QPoint kHotSpot(6, 29);

// The bucket, tipped to the left so that it pours, white with a black outline
// so that it shows on any colour.
void drawBucket(QPainter& p)
{
    p.save();
    p.translate(20, 15);
    p.rotate(-40);
    p.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(-6.5, -15, 13, 15), 10 * 16, 160 * 16);  // the handle
    QPainterPath body;
    body.moveTo(-7, -6);
    body.lineTo(7, -6);
    body.lineTo(5, 8);
    body.lineTo(-5, 8);
    body.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(body);
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(0, -6), 7, 2.2);  // the paint inside, over the rim
    p.restore();
}

// The paint running over the lip and down into a drop, outlined in white.
void drawDrop(QPainter& p)
{
    QPainterPath stream;
    stream.moveTo(10, 15.5);
    stream.cubicTo(7, 18, 7, 21, 6.5, 24);
    QPainterPath drop;
    drop.addEllipse(QPointF(6.5, 26), 2.6, 2.8);
    for (const bool halo : {true, false}) {
        const QColor colour = halo ? Qt::white : Qt::black;
        p.setPen(QPen(colour, halo ? 4.5 : 2.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(stream);
        p.setPen(halo ? QPen(colour, 2) : Qt::NoPen);
        p.setBrush(colour);
        p.drawPath(drop);
    }
}

constexpr QPoint kCrossMiddle(10, 10);

// A cross to aim with, and the shape it draws below right of it; black over
// a white halo, so that it shows on any colour.
void drawShapeCross(QPainter& p, CanvasCursor shape)
{
    for (const bool halo : {true, false}) {
        p.setPen(QPen(halo ? Qt::white : Qt::black, halo ? 3.5 : 1.5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(10, 2), QPointF(10, 7.5));
        p.drawLine(QPointF(10, 12.5), QPointF(10, 18));
        p.drawLine(QPointF(2, 10), QPointF(7.5, 10));
        p.drawLine(QPointF(12.5, 10), QPointF(18, 10));
        if (shape == CanvasCursor::Line)
            p.drawLine(QPointF(17, 29), QPointF(29, 17));
        else
            p.drawEllipse(QPointF(23, 23), 6, 6);
    }
}

QCursor drawnCursor(qreal scale, QPoint hotSpot, const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(QSize(kSide, kSide) * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    return QCursor(pixmap, hotSpot.x(), hotSpot.y());
}

}  // namespace

QCursor bucketCursor(qreal scale)
{
    return drawnCursor(scale, kHotSpot, [](QPainter& p) {
        drawBucket(p);
        drawDrop(p);
    });
}

QCursor toolCursor(CanvasCursor cursor, qreal scale)
{
    if (cursor == CanvasCursor::Fill)
        return bucketCursor(scale);
    return drawnCursor(scale, kCrossMiddle, [cursor](QPainter& p) { drawShapeCross(p, cursor); });
}

}  // namespace kalidor
