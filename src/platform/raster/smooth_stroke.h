#pragma once
// A smooth stroke as one shape: for every pixel it has reached, the largest
// coverage of each quarter by any of its segments or copies so far and the pixel as it was
// before the stroke, so that the pixel is always that one blended with the ink
// by that coverage. Overlaps (every joint between two moves, copies over each
// other) then never darken: they are the same shape, not one drawn over another.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include <QImage>
#include <QRect>

#include "platform/raster/coverage_raster.h"

namespace kalidor {

class SmoothStroke {
public:
    static constexpr int kSide = 64;
    struct Tile {
        std::array<std::uint8_t, kSide * kSide * 4> cover{};  // four quarters a pixel (coverage_raster.h)
        std::array<std::uint32_t, kSide * kSide> under{};
    };

    // A new stroke over a picture of that size: nothing covered yet.
    void start(int width, int height);
    bool started() const { return columns_ > 0; }
    // The pixels it can reach: the picture as it was at the start.
    int width() const { return width_; }
    int height() const { return height_; }
    // The tile (tx, ty), taken from `image` where the stroke first reaches it.
    Tile& tile(const QImage& image, int tx, int ty);
    // Leaves in `step` only what it adds to the period the stroke laid over
    // `reach` so far, and adds it; the whole of `step` where the stroke laid
    // none of that size over that reach.
    void addToPeriod(CoverageTile& step, const QRect& reach);
    // The state of the picture the stroke last left, for the surface to see
    // whether anything else wrote since (then a new stroke starts).
    long long leftAt = -1;

private:
    int width_ = 0;
    int height_ = 0;
    int columns_ = 0;
    int rows_ = 0;
    std::vector<std::unique_ptr<Tile>> tiles_;
    std::vector<std::size_t> used_;
    std::vector<std::unique_ptr<Tile>> spare_;
    CoverageTile period_;
    QRect periodReach_;
};

// The pixel `under` with the ink over it by `cover` of 255, channel by channel.
inline std::uint32_t blendOver(std::uint32_t under, std::uint32_t ink, unsigned cover)
{
    const unsigned rest = 255 - cover;
    std::uint32_t out = 0xFF000000u;
    for (const int shift : {0, 8, 16}) {
        const unsigned u = under >> shift & 0xFF, i = ink >> shift & 0xFF;
        out |= ((u * rest + i * cover + 127) / 255) << shift;
    }
    return out;
}

}  // namespace kalidor
