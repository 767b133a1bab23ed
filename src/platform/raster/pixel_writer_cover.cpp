// A smooth shape through the pixel writer: its tiles kept first, then each
// pixel blended from what the stroke found there.
#include <algorithm>

#include "platform/raster/pixel_index.h"
#include "platform/raster/pixel_writer.h"

namespace kalidor {

void PixelWriter::Call::coverage(const Coverage& shape, int dx, int dy, SmoothStroke& stroke, const QRect& clip)
{
    if (shape.empty())
        return;
    QImage& image = w_.image_.pixels();
    const QRect reach = clip & image.rect() & QRect(0, 0, stroke.width(), stroke.height());
    const int top = std::max(shape.y0 + dy, reach.top());
    const int bottom = std::min(shape.y0 + dy + shape.height - 1, reach.bottom());
    constexpr int side = SmoothStroke::kSide;
    int left = INT_MAX, right = INT_MIN, first = INT_MAX, last = INT_MIN;
    for (int y = top; y <= bottom; ++y) {
        const int k = y - shape.y0 - dy;
        const int x0 = std::max(shape.x0 + dx + shape.first[static_cast<std::size_t>(k)], reach.left());
        const int x1 = std::min(shape.x0 + dx + shape.last[static_cast<std::size_t>(k)], reach.right());
        if (x0 > x1)
            continue;
        if (w_.history_)
            w_.history_->touchRow(image, y, x0, x1);
        const std::uint8_t* values = shape.row(k);
        const int from = shape.x0 + dx;  // the column of values[0]
        auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (int x = x0; x <= x1;) {
            const int end = std::min(x1, (x / side + 1) * side - 1);
            SmoothStroke::Tile& t = stroke.tile(image, x / side, y / side);
            const int at = (y % side) * side;
            for (; x <= end; ++x) {
                const std::uint8_t* v = values + (x - from) * 4;
                std::uint8_t* had = t.cover.data() + static_cast<std::size_t>(at + x % side) * 4;
                bool more = false;
                for (int q = 0; q < 4; ++q)
                    if (v[q] > had[q]) {
                        had[q] = v[q];
                        more = true;
                    }
                if (more)
                    line[x] = blendOver(t.under[static_cast<std::size_t>(at + x % side)], ink_.pixel, pixelCover(had));
            }
        }
        left = std::min(left, x0), right = std::max(right, x1);
        first = std::min(first, y), last = y;
    }
    if (first <= last)
        changed_.add(QRect(QPoint(left, first), QPoint(right, last)));
}

}  // namespace kalidor
