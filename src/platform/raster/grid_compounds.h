#pragma once
// Grids that step alike, as the four grids of a mirrored pattern do, made one
// grid whose copy is all their segments.

#include <span>
#include <vector>

#include "platform/raster/copy_shape.h"
#include "platform/raster/line_raster.h"
#include "platform/raster/segment_grid.h"

namespace kalidor {

// One grid whose copy is made of several segments.
struct Compound {
    SegmentGrid grid;
    std::vector<CopyPart> parts;
};

// The grids, those that step alike made one grid of their copies together (the
// cells of a mirrored pattern are four such grids), so that a row is made once
// for all of them instead of once each and then joined. What one grid has
// beyond the others' columns or rows stays a grid of its own. A grid that
// `mirrors` another keeps that as its part's `turns` where both are parts of
// one compound. Every grid returned has positive steps.
std::vector<Compound> compounds(std::span<const SegmentGrid> grids, int width, const ClipRect& clip);

}  // namespace kalidor
