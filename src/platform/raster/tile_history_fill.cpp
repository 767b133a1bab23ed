// What the history keeps of a fill: the runs it filled, where the step began
// by filling, else the tiles they lie in as they were before.
#include <algorithm>
#include <limits>

#include "platform/raster/kept_image.h"
#include "platform/raster/tile_history.h"
#include "platform/raster/tile_pixels.h"

namespace kalidor {

namespace {

// Runs are kept in 16 bits a coordinate.
constexpr int kLargestRunPicture = std::numeric_limits<std::uint16_t>::max() + 1;

// The tiles of a picture, a flag each, row of tiles by row of tiles.
class TileFlags {
public:
    TileFlags(const QImage& image, int side)
        : columns_((image.width() + side - 1) / side), side_(side),
          flags_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>((image.height() + side - 1) / side),
                 kNone)
    {
    }
    static constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
    std::size_t& at(int tx, int ty) { return flags_[static_cast<std::size_t>(ty) * columns_ + tx]; }
    // Every tile flagged, as rectangles of the picture.
    void rects(const QImage& image, std::vector<QRect>& out) const
    {
        for (std::size_t i = 0; i < flags_.size(); ++i)
            if (flags_[i] != kNone)
                out.push_back(QRect(static_cast<int>(i % columns_) * side_, static_cast<int>(i / columns_) * side_,
                                    side_, side_) &
                              image.rect());
    }

private:
    std::size_t columns_;
    int side_;
    std::vector<std::size_t> flags_;
};

// The runs of region i of a fill.
std::span<const Span> regionRuns(std::span<const Span> runs, std::span<const FilledRegion> regions, std::size_t i)
{
    const std::size_t end = i + 1 < regions.size() ? regions[i + 1].from : runs.size();
    return runs.subspan(regions[i].from, end - regions[i].from);
}

}  // namespace

void TileHistory::filled(const QImage& image, std::span<const Span> runs, std::span<const FilledRegion> regions,
                         std::uint32_t colour)
{
    if (!open_)
        begin();
    if (runs.empty() || wholeKept())
        return;
    const bool fillsOnly = current_.tiles.empty() && current_.inverted.empty();
    if (!fillsOnly || image.width() > kLargestRunPicture || image.height() > kLargestRunPicture) {
        keepFilledTiles(image, runs, regions);
        return;
    }
    const std::size_t first = current_.runs.size();
    current_.runs.resize(first + runs.size());
    FilledRun* packed = current_.runs.data() + first;
    for (const Span& s : runs)
        *packed++ = {static_cast<std::uint16_t>(s.y), static_cast<std::uint16_t>(s.x0), static_cast<std::uint16_t>(s.x1)};
    // Regions filled alike one after another make one group.
    for (const FilledRegion& region : regions)
        if (current_.fills.empty() || current_.fills.back().was != region.was || current_.fills.back().colour != colour) {
            current_.fills.push_back({first + region.from, region.was, colour});
            current_.bytes += sizeof(FillGroup);
        }
    current_.bytes += runs.size() * sizeof(FilledRun);
}

void TileHistory::keepFilledTiles(const QImage& image, std::span<const Span> runs, std::span<const FilledRegion> regions)
{
    // The tiles not kept yet, copied as they are now: each run's pixels in
    // them then take their region's colour before.
    TileFlags fresh(image, kTileSide);
    for (const Span& s : runs) {
        const int ty = s.y / kTileSide;
        for (int tx = s.x0 / kTileSide; tx <= s.x1 / kTileSide; ++tx) {
            if (isTouched(tx, ty))
                continue;
            markTouched(tx, ty);
            const QRect rect = QRect(tx * kTileSide, ty * kTileSide, kTileSide, kTileSide) & image.rect();
            fresh.at(tx, ty) = current_.tiles.size();
            current_.tiles.push_back(Tile{rect, copyOf(image, rect), 0});
        }
    }
    for (std::size_t i = 0; i < regions.size(); ++i)
        for (const Span& s : regionRuns(runs, regions, i)) {
            const int ty = s.y / kTileSide;
            for (int tx = s.x0 / kTileSide; tx <= s.x1 / kTileSide; ++tx) {
                const std::size_t t = fresh.at(tx, ty);
                if (t == TileFlags::kNone)
                    continue;
                Tile& tile = current_.tiles[t];
                const int from = std::max(s.x0, tile.rect.left()), to = std::min(s.x1, tile.rect.right());
                auto* row = tile.pixels.data() + static_cast<std::size_t>(s.y - tile.rect.top()) * tile.rect.width();
                std::fill(row + (from - tile.rect.left()), row + (to - tile.rect.left()) + 1, regions[i].was);
            }
        }
    // A tile of one colour keeps just the colour, as any tile kept does.
    std::vector<QRect> kept;
    fresh.rects(image, kept);
    for (const QRect& r : kept) {
        Tile& tile = current_.tiles[fresh.at(r.left() / kTileSide, r.top() / kTileSide)];
        tile.plain = tile.pixels.front();
        if (std::all_of(tile.pixels.begin(), tile.pixels.end(), [&](std::uint32_t p) { return p == tile.plain; }))
            tile.pixels = {};
        current_.bytes += tile.pixels.size() * sizeof(std::uint32_t) + sizeof(Tile);
    }
}

void TileHistory::refill(QImage& image, const Step& step, bool forward, std::vector<QRect>& changed) const
{
    if (step.fills.empty())
        return;
    TileFlags touched(image, kTileSide);
    const PixelRows rows(image);
    const std::size_t groups = step.fills.size();
    for (std::size_t k = 0; k < groups; ++k) {
        const std::size_t g = forward ? k : groups - 1 - k;
        const FillGroup& group = step.fills[g];
        const std::size_t end = g + 1 < groups ? step.fills[g + 1].from : step.runs.size();
        const std::uint32_t colour = forward ? group.colour : group.was;
        for (std::size_t i = group.from; i < end; ++i) {
            const FilledRun& r = step.runs[i];
            if (r.y >= image.height() || r.x1 >= image.width())
                continue;  // the picture never shrinks: never so
            fillRun(rows[r.y] + r.x0, r.x1 - r.x0 + 1, colour);
            for (int tx = r.x0 / kTileSide; tx <= r.x1 / kTileSide; ++tx)
                touched.at(tx, r.y / kTileSide) = 0;
        }
    }
    touched.rects(image, changed);
}

}  // namespace kalidor
