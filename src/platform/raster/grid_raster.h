#pragma once
// Which pixels the copies of one segment on a grid cover, found without drawing
// every copy: the cost follows the pixels covered, not the number of copies.

#include <functional>
#include <span>

#include "platform/raster/line_raster.h"

namespace kalidor {

// Copies of one segment, in whole pixels: the first copy's ends moved by
// (c * stepX, r * stepY) for c in 0 .. columns - 1 and r in 0 .. rows - 1; with
// `chess`, only the copies where (c + r) % 2 == phase.
struct PixelGrid {
    long long x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    int width = 1;
    long long stepX = 0, stepY = 0;
    int columns = 0;
    int rows = 0;
    bool chess = false;
    int phase = 0;
};

// One covered row: its spans sorted and apart, so that each covered pixel comes
// exactly once (the spans' own `y` is not set). Rows of the same `form` (0 or
// more) have the same spans; a form of -1 is a row of its own.
struct GridRow {
    int y;
    int form;
    std::span<const Span> spans;
};

// Calls `row` for every row of `clip` that the copies cover, top to bottom. The
// pixels are those of `segmentSpans` on every copy.
void gridSpans(const PixelGrid& grid, const ClipRect& clip, const std::function<void(const GridRow&)>& row);

}  // namespace kalidor
