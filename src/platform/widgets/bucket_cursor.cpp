#include "platform/widgets/bucket_cursor.h"

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

}  // namespace

QCursor bucketCursor(qreal scale)
{
    QPixmap pixmap(QSize(kSide, kSide) * scale);
    pixmap.setDevicePixelRatio(scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    drawBucket(p);
    drawDrop(p);
    p.end();
    return QCursor(pixmap, kHotSpot.x(), kHotSpot.y());
}

}  // namespace kalidor
