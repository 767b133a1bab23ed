// A smooth shape through the pixel writer: its tiles kept first, then each
// pixel blended from what the stroke found there.
#include <algorithm>

#include "platform/raster/pixel_index.h"
#include "platform/raster/pixel_writer.h"

namespace kalidor {

void PixelWriter::Call::coverRun(int y, int x0, int x1, const std::uint8_t* values, SmoothStroke& stroke)
{
    QImage& image = w_.image_.pixels();
    if (w_.history_)
        w_.history_->touchRow(image, y, x0, x1);
    constexpr int side = SmoothStroke::kSide;
    auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
    const int at = (y % side) * side;
    for (int x = x0; x <= x1;) {
        const int end = std::min(x1, (x / side + 1) * side - 1);
        SmoothStroke::Tile& t = stroke.tile(image, x / side, y / side);
        for (; x <= end; ++x) {
            const std::uint8_t* v = values + static_cast<std::ptrdiff_t>(x - x0) * 4;
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
}

QRect PixelWriter::Call::coverReach(const QRect& clip, const SmoothStroke& stroke) const
{
    return clip & w_.image_.pixels().rect() & QRect(0, 0, stroke.width(), stroke.height());
}

void PixelWriter::Call::coverage(const Coverage& shape, int dx, int dy, SmoothStroke& stroke, const QRect& clip)
{
    if (shape.empty())
        return;
    const QRect reach = coverReach(clip, stroke);
    const int top = std::max(shape.y0 + dy, reach.top());
    const int bottom = std::min(shape.y0 + dy + shape.height - 1, reach.bottom());
    int left = INT_MAX, right = INT_MIN, first = INT_MAX, last = INT_MIN;
    for (int y = top; y <= bottom; ++y) {
        const int k = y - shape.y0 - dy;
        const int from = shape.x0 + dx + shape.first[static_cast<std::size_t>(k)];  // the column of its first values
        const int x0 = std::max(from, reach.left());
        const int x1 = std::min(shape.x0 + dx + shape.last[static_cast<std::size_t>(k)], reach.right());
        if (x0 > x1)
            continue;
        coverRun(y, x0, x1, shape.at(k, shape.first[static_cast<std::size_t>(k)]) + (x0 - from) * 4, stroke);
        left = std::min(left, x0), right = std::max(right, x1);
        first = std::min(first, y), last = y;
    }
    if (first <= last)
        changed_.add(QRect(QPoint(left, first), QPoint(right, last)));
}

void PixelWriter::Call::coverage(const CoverageTile& tile, SmoothStroke& stroke, const QRect& clip)
{
    const QRect reach = coverReach(clip, stroke);
    if (reach.isEmpty() || tile.width <= 0 || tile.height <= 0)
        return;
    auto mod = [](int v, int m) { return ((v % m) + m) % m; };
    for (int y = reach.top(); y <= reach.bottom(); ++y) {
        const int ty = mod(y, tile.height);
        const std::uint8_t* row = tile.values.data() + static_cast<std::size_t>(ty) * tile.width * 4;
        for (const auto& [a, b] : tile.spans[static_cast<std::size_t>(ty)]) {
            // Every repeat of the span along the row, within the reach.
            for (int x = reach.left() - mod(reach.left(), tile.width) + a; x <= reach.right(); x += tile.width) {
                const int x0 = std::max(x, reach.left()), x1 = std::min(x + b - a, reach.right());
                if (x0 <= x1)
                    coverRun(y, x0, x1, row + static_cast<std::size_t>(a + x0 - x) * 4, stroke);
            }
        }
    }
    changed_.add(reach);
}

}  // namespace kalidor
