#pragma once
// The rows of grids whose copies run along x past both sides of the canvas,
// as a wallpaper group's do: every row is then one pattern of pixels repeated
// every step of the grids (every other step with chess), so a row is found
// from the copies of the few grid rows that cross it, not copy by copy, and a
// step costs about what filling the rows it covers does, however small the cells.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "platform/raster/grid_raster.h"
#include "platform/raster/segment_grid.h"
#include "platform/symmetry.h"

namespace kalidor {

// What the rows are made in, kept from call to call.
struct PeriodicScratch {
    std::vector<std::uint64_t> rings;  // each row's pattern, a bit a place in the period
    std::vector<int> full;             // rows covered from edge to edge, as counts to sum
    std::vector<std::uint8_t> touched;
    std::vector<Span> spans;
};

// Calls `row` for every row of `clip` that the symmetry's copies of the
// shapes, drawn `width` wide, cover, top to bottom, with the spans the
// symmetry's grids would give (see symmetry_grids.h); rows with the same
// pattern share a `form`. False, calling nothing, unless the lattice fills
// the rows, its first vector is a whole step along x, and every copy that
// reaches the clip's rows has its neighbours before the first cell and after
// the last beyond the clip's sides; and false where the step is over 64
// pixels (32 with chess) and the copies are few and short enough for the
// grids (grid_raster.h) to be faster.
bool periodicSpans(std::span<const Segment> shapes, const Symmetry& symmetry, int width, const ClipRect& clip,
                   PeriodicScratch& scratch, const std::function<void(const GridRow&)>& row);

}  // namespace kalidor
