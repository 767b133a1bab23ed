#pragma once
// A symmetry's copies as the grids the pixel engine fills: one grid for each
// operation's shape, laid over the lattice.

#include <span>
#include <vector>

#include "platform/raster/segment_grid.h"
#include "platform/symmetry.h"

namespace kalidor {

// Appends the grids, in the symmetry's drawing order, each operation's grid
// naming the first operation's grid of the same shape where it turns that one
// over, or, where the symmetry moves pixels, the pixels it moves for lines
// `width` wide; false, appending nothing, where the lattice's first vector
// does not step along the x axis by whole pixels (its copies are then drawn
// one by one).
bool latticeGrids(std::span<const Segment> shapes, const Symmetry& symmetry, int width, std::vector<SegmentGrid>& out);

}  // namespace kalidor
