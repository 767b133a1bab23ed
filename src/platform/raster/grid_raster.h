#pragma once
// Which pixels the copies of one segment on a grid cover, found without drawing
// every copy: the cost follows the pixels covered, not the number of copies.

#include <functional>
#include <span>

#include "platform/raster/line_raster.h"
#include "platform/raster/segment_grid.h"

namespace kalidor {

// One covered row: its spans sorted and apart, so that each covered pixel comes
// exactly once (the spans' own `y` is not set). Rows of the same `form` (0 or
// more) have the same spans; a form of -1 is a row of its own.
struct GridRow {
    int y;
    int form;
    std::span<const Span> spans;
};

// Calls `row` for every row of `clip` that the grids' copies, drawn `width`
// pixels wide, cover, top to bottom, each pixel once however many grids cover
// it. The pixels are those of `segmentSpans` on every copy. The copies' ends
// must be whole pixels of at most 2^20 or so, where a float holds every step of
// a grid exactly.
void gridSpans(std::span<const SegmentGrid> grids, int width, const ClipRect& clip,
               const std::function<void(const GridRow&)>& row);

}  // namespace kalidor
