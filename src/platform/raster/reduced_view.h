#pragma once
// A picture shown smaller than 100 %: each screen pixel the average of the
// picture pixels under it, so that fine lines and tilings do not shimmer as
// they would with every n-th pixel picked. Block averages of 4, 8 and 16
// pixels a side are kept and brought up to date only where the picture
// changed, so that a repaint reads a few pixels for each pixel shown, however
// large the picture.

#include <vector>

#include <QImage>
#include <QRect>
#include <QRegion>

namespace kalidor {

class ReducedView {
public:
    // The picture changed there (its pixels).
    void changed(const QRegion& area);

    // The widget pixels `area` of a picture (the top-left `size` of `kept`)
    // shown at `scale` < 1 with its top-left corner at whole widget pixel
    // `origin`: each the average of the picture under it, or `beyond` where no
    // picture is under it. `out` takes the area's size.
    void render(const QImage& kept, QSize size, double scale, QPoint origin, const QRect& area, QRgb beyond,
                QImage& out);

private:
    struct Level {
        int factor = 1;
        QImage image;
        QRegion stale;  // in the level's pixels
    };
    // The level of that factor with `needed` (its pixels) up to date.
    const QImage& level(const QImage& kept, int factor, const QRect& needed);

    QSize size_;
    std::vector<Level> levels_;
};

}  // namespace kalidor
