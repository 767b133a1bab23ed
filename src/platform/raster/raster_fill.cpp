// A fill on the raster surface: each seed's region written in place, its tiles
// handed to the history before their first write, and only the blocks it
// wrote repainted.
#include <algorithm>

#include "platform/raster/flood_fill.h"
#include "platform/raster/raster_surface.h"

namespace kalidor {

namespace {

// The repaint is told in blocks of this many pixels a side: a small region
// repaints a little more than itself, a large one a few rectangles.
constexpr int kBlock = 32;

class FillWrites final : public RunSink {
public:
    FillWrites(TileHistory* history, const QImage& image)
        : history_(history), image_(image), columns_((image.width() + kBlock - 1) / kBlock),
          rows_((image.height() + kBlock - 1) / kBlock),
          blocks_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), 0)
    {
    }

    void beforeRun(int y, int x0, int x1) override
    {
        if (history_)
            history_->touchRow(image_, y, x0, x1);
        auto* row = blocks_.data() + static_cast<std::size_t>(y / kBlock) * static_cast<std::size_t>(columns_);
        std::fill(row + x0 / kBlock, row + x1 / kBlock + 1, std::uint8_t{1});
    }

    // The blocks written, row of blocks by row of blocks.
    ChangedArea changed() const
    {
        ChangedArea area;
        std::vector<Span> spans;
        for (int by = 0; by < rows_; ++by) {
            spans.clear();
            const auto* row = blocks_.data() + static_cast<std::size_t>(by) * static_cast<std::size_t>(columns_);
            for (int bx = 0; bx < columns_; ++bx) {
                if (!row[bx])
                    continue;
                const int x0 = bx * kBlock;
                while (bx + 1 < columns_ && row[bx + 1])
                    ++bx;
                spans.push_back(Span{0, x0, std::min(bx * kBlock + kBlock, image_.width()) - 1});
            }
            if (spans.empty())
                continue;
            // Every row of a row of blocks has the same spans: one form each.
            for (int y = by * kBlock; y < std::min((by + 1) * kBlock, image_.height()); ++y)
                area.addRow(y, spans, by);
        }
        return area;
    }

private:
    TileHistory* history_;
    const QImage& image_;
    int columns_;
    int rows_;
    std::vector<std::uint8_t> blocks_;
};

}  // namespace

void RasterSurface::Fill(std::span<const PixelPoint> seeds, Colour c)
{
    const std::uint32_t value = toPixel(c);
    const QImage& kept = kept_.image();
    auto changes = [&](const PixelPoint& s) {
        return s.x >= 0 && s.y >= 0 && s.x < kept.width() && s.y < kept.height() &&
               reinterpret_cast<const std::uint32_t*>(kept.constScanLine(s.y))[s.x] != value;
    };
    // A fill that writes nothing leaves the picture, and so its history, alone.
    if (std::none_of(seeds.begin(), seeds.end(), changes))
        return;
    QImage& image = kept_.pixels();
    const PixelPlane plane{reinterpret_cast<std::uint32_t*>(image.bits()), image.bytesPerLine() / 4, image.width(),
                           image.height()};
    FillWrites writes(history_.get(), image);
    FloodFill flood;
    for (const PixelPoint& s : seeds)
        flood.fill(plane, s.x, s.y, value, writes);
    notify(writes.changed());
}

}  // namespace kalidor
