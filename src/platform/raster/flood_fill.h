#pragma once
// Filling a region of a picture: the pixels of one colour joined to a seed up,
// down, left and right. The region is found and written run by run along the
// rows, from a stack of runs still to look beside, kept on the heap: a region of
// any shape (a spiral one pixel wide over a 4K picture) costs memory in
// proportion to its runs at most, never the call stack.

#include <cstddef>
#include <cstdint>
#include <vector>

#include <span>

#include "platform/raster/line_raster.h"
#include "platform/surface.h"

namespace kalidor {

// A picture's pixels, rows `stride` pixels apart.
struct PixelPlane {
    std::uint32_t* bits = nullptr;
    std::ptrdiff_t stride = 0;
    int width = 0;
    int height = 0;

    std::uint32_t* row(int y) const { return bits + y * stride; }
};

// Regions filled, their runs one after another: this one's from run `from` to
// the next one's, over pixels of colour `was`.
struct FilledRegion {
    std::size_t from;
    std::uint32_t was;
};

class FloodFill {
public:
    // Writes `value` over the region of pixel (x, y): every pixel of its colour
    // reached from it through pixels of that colour. Appends the runs written
    // to `runs`, for the caller to keep and repaint. False, writing nothing,
    // where (x, y) lies off the plane or has `value` already.
    bool fill(const PixelPlane& plane, int x, int y, std::uint32_t value, std::vector<Span>& runs);
    // Fills the region of each seed in turn. As `value` is not the colour
    // filled, each region is the one of the plane as it was before: a seed in
    // a region already filled, or of colour `value`, or off the plane, fills
    // nothing. Where many seeds are left after one is filled, the regions of
    // its shape among them are filled at once (region_shape.h).
    void fillEach(const PixelPlane& plane, std::span<const PixelPoint> seeds, std::uint32_t value,
                  std::vector<Span>& runs, std::vector<FilledRegion>& regions);

private:
    // Row `y`'s run from x0 to x1 is written; the row y + dy beside it is still
    // to be looked at.
    struct Pending {
        int y;
        int x0;
        int x1;
        int dy;
    };
    // The runs of the region on the row beside a run written, each written
    // and its own rows beside it put on the stack.
    void fillBeside(const PixelPlane& plane, const Pending& p, std::uint32_t target, std::uint32_t value,
                    std::vector<Span>& runs);
    std::vector<Pending> stack_;  // kept from seed to seed, for its memory
};

}  // namespace kalidor
