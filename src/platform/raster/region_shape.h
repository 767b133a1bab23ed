#pragma once
// Regions of one shape. The images of a press in a lattice of cells mostly lie
// in regions that are the same region moved, one a cell: the shape of the
// first, found by filling it, is then looked for at all the others at once,
// row by row across them, which reads the picture in its own order instead of
// region by region, and written where it is found whole.

#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "platform/raster/flood_fill.h"
#include "platform/surface.h"

namespace kalidor {

class RegionShape {
public:
    // The shape of the region whose runs these are, about its seed (x, y);
    // none for a region too large to be worth looking for elsewhere.
    static std::optional<RegionShape> of(std::span<const Span> runs, int x, int y);

    // Writes `value` over the region of each seed whose region in `plane` is
    // this shape moved there: every pixel of the shape of colour `target`,
    // and no pixel beside it. Appends the runs written; other seeds are left
    // as they are.
    void fillWhereFound(const PixelPlane& plane, std::span<const PixelPoint> seeds, std::uint32_t target,
                        std::uint32_t value, std::vector<Span>& runs) const;

private:
    using Pieces = std::vector<std::pair<int, int>>;  // from x, to x, about the seed
    struct Row {
        int dy;         // about the seed
        Pieces inside;  // the region's runs
        Pieces beside;  // the pixels next to the region, above, below or along the row
        // The same four pixels at a time, from x `from` about the seed on: a
        // bit a pixel that must be of the region's colour, and a bit a pixel
        // that must not be.
        int from = 0;
        std::vector<std::uint8_t> in;
        std::vector<std::uint8_t> out;
    };
    static void makeMasks(Row& row);
    static bool fits(const PixelPlane& plane, const Row& row, PixelPoint at, std::uint32_t target);
    // Of places on one row of the plane, in order, those where the row fits.
    static void keepFitting(const PixelPlane& plane, const Row& row, std::uint32_t target,
                            std::vector<PixelPoint>& places);
    std::vector<Row> rows_;
};

}  // namespace kalidor
