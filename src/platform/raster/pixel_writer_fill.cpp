// A fill through the pixel writer: each seed's region written in place, then
// handed to the history, and only the blocks it wrote repainted.
#include <algorithm>

#include "platform/raster/flood_fill.h"
#include "platform/raster/pixel_runs.h"
#include "platform/raster/pixel_writer.h"
#include "platform/raster/soft_fill.h"

namespace kalidor {

namespace {

// The repaint is told in blocks of this many pixels a side: a small region
// repaints a little more than itself, a large one a few rectangles.
constexpr int kBlock = 32;
// Runs kept for the next fill at most: a few megabytes.
constexpr std::size_t kKeptRuns = std::size_t{1} << 18;

// The blocks the runs lie in, over the box around them.
class FilledBlocks {
public:
    FilledBlocks(std::span<const Span> runs, int width, int height) : width_(width), height_(height)
    {
        if (runs.empty())
            return;
        int left = runs.front().x0, right = runs.front().x1, top = runs.front().y, bottom = top;
        for (const Span& s : runs) {
            left = std::min(left, s.x0);
            right = std::max(right, s.x1);
            top = std::min(top, s.y);
            bottom = std::max(bottom, s.y);
        }
        left_ = left / kBlock;
        top_ = top / kBlock;
        columns_ = right / kBlock - left_ + 1;
        rows_ = bottom / kBlock - top_ + 1;
        blocks_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), 0);
        for (const Span& s : runs) {
            auto* row = blocks_.data() + static_cast<std::size_t>(s.y / kBlock - top_) * static_cast<std::size_t>(columns_);
            for (int b = s.x0 / kBlock; b <= s.x1 / kBlock; ++b)  // mostly one or two
                row[b - left_] = 1;
        }
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
                const int x0 = (left_ + bx) * kBlock;
                while (bx + 1 < columns_ && row[bx + 1])
                    ++bx;
                spans.push_back(Span{0, x0, std::min((left_ + bx + 1) * kBlock, width_) - 1});
            }
            if (spans.empty())
                continue;
            // Every row of a row of blocks has the same spans: one form each.
            const int top = (top_ + by) * kBlock;
            for (int y = top; y < std::min(top + kBlock, height_); ++y)
                area.addRow(y, spans, by);
        }
        return area;
    }

private:
    int width_;
    int height_;
    int left_ = 0;
    int top_ = 0;
    int columns_ = 0;
    int rows_ = 0;
    std::vector<std::uint8_t> blocks_;
};

}  // namespace

void PixelWriter::fill(std::span<const PixelPoint> seeds, std::uint32_t value)
{
    ++writes_;
    const QImage& kept = image_.image();
    const QSize reach = reach_ ? reach_->boundedTo(kept.size()) : kept.size();
    auto changes = [&](const PixelPoint& s) {
        return s.x >= 0 && s.y >= 0 && s.x < reach.width() && s.y < reach.height() &&
               reinterpret_cast<const std::uint32_t*>(kept.constScanLine(s.y))[s.x] != value;
    };
    // A fill that writes nothing leaves the picture, and so its history, alone.
    if (std::none_of(seeds.begin(), seeds.end(), changes))
        return;
    // A picture of one colour is one region: filled whole, its history keeps
    // just the colour it had, as New's does.
    if (image_.plain()) {
        keepReplaced();
        image_.fill(value);
        report(shown_);
        return;
    }
    QImage& image = image_.pixels();
    const PixelPlane plane{reinterpret_cast<std::uint32_t*>(image.bits()), image.bytesPerLine() / 4, reach.width(),
                           reach.height()};
    // The runs' buffers are kept from fill to fill, unless a very large one
    // made them large.
    fillRuns_.clear();
    fillRegions_.clear();
    FloodFill().fillEach(plane, seeds, value, fillRuns_, fillRegions_);
    if (history_)
        history_->filled(image, fillRuns_, fillRegions_, value);
    const FilledBlocks blocks(fillRuns_, image.width(), image.height());
    if (fillRuns_.capacity() > kKeptRuns) {
        fillRuns_ = {};
        fillRegions_ = {};
    }
    report(blocks.changed());
}

}  // namespace kalidor

namespace kalidor {

void PixelWriter::fillReaching(std::span<const PixelPoint> seeds, std::uint32_t value, FillReach reach)
{
    ++writes_;
    const QImage& kept = image_.image();
    const QSize size = reach_ ? reach_->boundedTo(kept.size()) : kept.size();
    const bool any = std::any_of(seeds.begin(), seeds.end(), [&](const PixelPoint& s) {
        return s.x >= 0 && s.y >= 0 && s.x < size.width() && s.y < size.height();
    });
    if (!any)
        return;
    // A picture of one colour is one region without edges.
    if (image_.plain()) {
        if (reinterpret_cast<const std::uint32_t*>(kept.constScanLine(0))[0] == value)
            return;
        keepReplaced();
        image_.fill(value);
        report(shown_);
        return;
    }
    QImage& image = image_.pixels();
    const PixelPlane plane{reinterpret_cast<std::uint32_t*>(image.bits()), image.bytesPerLine() / 4, size.width(),
                           size.height()};
    std::vector<Span> runs;
    std::vector<EdgePixel> edges;
    softFillRegions(plane, seeds, value, reach, runs, edges);
    for (const EdgePixel& p : edges)
        runs.push_back(Span{p.y, p.x, p.x});
    const std::size_t regionRuns = runs.size() - edges.size();
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const Span& s = runs[i];
        if (history_)
            history_->touchRow(image, s.y, s.x0, s.x1);
        if (i < regionRuns)
            fillRun(plane.row(s.y) + s.x0, s.x1 - s.x0 + 1, value);
    }
    for (const EdgePixel& p : edges)
        plane.row(p.y)[p.x] = p.value;
    report(FilledBlocks(runs, image.width(), image.height()).changed());
}

}  // namespace kalidor
