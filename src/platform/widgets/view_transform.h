#pragma once
// Where a view shows its picture: picture pixels `scale` screen pixels a side,
// the picture's top-left corner at `origin` in the widget. Every position
// between the pointer and the picture, and every changed area between the
// picture and the screen, goes through it. A canvas shows its picture at
// 100 % from its border's inner corner.

#include <cmath>

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QRegion>
#include <QTransform>

namespace kalidor {

struct ViewTransform {
    double scale = 1;
    QPointF origin;

    QPointF toPicture(const QPointF& widget) const { return (widget - origin) / scale; }
    QPointF toWidget(const QPointF& picture) const { return picture * scale + origin; }

    // The widget pixels that show any of the picture pixels of `r`.
    QRect toWidget(const QRect& r) const
    {
        if (shifts())
            return r.translated(shift());
        return QRectF(toWidget(QPointF(r.topLeft())), QSizeF(r.size()) * scale).toAlignedRect();
    }
    QRegion toWidget(const QRegion& r) const
    {
        if (shifts())
            return r.translated(shift());
        QRegion out;
        for (const QRect& piece : r)
            out += toWidget(piece);
        return out;
    }
    // The picture pixels under any of the widget pixels of `r`.
    QRect toPicture(const QRect& r) const
    {
        if (shifts())
            return r.translated(-shift());
        return QRectF(toPicture(QPointF(r.topLeft())), QSizeF(r.size()) / scale).toAlignedRect();
    }
    // For a painter drawing in picture pixels.
    QTransform painter() const { return QTransform(scale, 0, 0, scale, origin.x(), origin.y()); }

private:
    // At 100 % from a whole pixel the picture is only moved, and whole
    // rectangles stay whole.
    bool shifts() const
    {
        return scale == 1 && origin.x() == std::floor(origin.x()) && origin.y() == std::floor(origin.y());
    }
    QPoint shift() const { return QPoint(static_cast<int>(origin.x()), static_cast<int>(origin.y())); }
};

}  // namespace kalidor
