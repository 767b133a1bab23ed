#include "platform/raster/smooth_stroke.h"

#include <algorithm>

namespace kalidor {

void SmoothStroke::start(int width, int height)
{
    for (const std::size_t i : used_)
        spare_.push_back(std::move(tiles_[i]));
    used_.clear();
    // A few tiles are kept for the next stroke; a large stroke's are let go.
    if (spare_.size() > 256)
        spare_.resize(256);
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    columns_ = (std::max(width, 0) + kSide - 1) / kSide;
    rows_ = (std::max(height, 0) + kSide - 1) / kSide;
    tiles_.clear();
    tiles_.resize(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_));
    leftAt = -1;
    period_ = CoverageTile();
    periodReach_ = QRect();
}

void SmoothStroke::addToPeriod(CoverageTile& step, const QRect& reach)
{
    if (period_.width != step.width || period_.height != step.height || periodReach_ != reach) {
        period_ = step;
        periodReach_ = reach;
        return;
    }
    // A quarter that adds nothing leaves the pixel's four as they are; one
    // that adds keeps the pixel in the step.
    for (std::size_t i = 0; i < step.values.size(); i += 4) {
        bool more = false;
        for (std::size_t q = i; q < i + 4; ++q)
            if (step.values[q] > period_.values[q]) {
                period_.values[q] = step.values[q];
                more = true;
            }
        if (!more)
            std::fill_n(step.values.begin() + static_cast<std::ptrdiff_t>(i), 4, std::uint8_t{0});
    }
}

SmoothStroke::Tile& SmoothStroke::tile(const QImage& image, int tx, int ty)
{
    const std::size_t i = static_cast<std::size_t>(ty) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(tx);
    if (tiles_[i])
        return *tiles_[i];
    std::unique_ptr<Tile> t;
    if (spare_.empty()) {
        t = std::make_unique<Tile>();
    } else {
        t = std::move(spare_.back());
        spare_.pop_back();
        t->cover.fill(0);
    }
    const int x0 = tx * kSide, y0 = ty * kSide;
    const int w = std::min(kSide, image.width() - x0), h = std::min(kSide, image.height() - y0);
    for (int y = 0; y < h; ++y) {
        const auto* from = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y0 + y)) + x0;
        std::copy(from, from + w, t->under.begin() + y * kSide);
    }
    used_.push_back(i);
    tiles_[i] = std::move(t);
    return *tiles_[i];
}

}  // namespace kalidor
