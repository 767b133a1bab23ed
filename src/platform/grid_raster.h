#pragma once
// Which pixels the copies of one segment on a grid cover, found without drawing
// every copy: the cost follows the pixels covered, not the number of copies.

#include <functional>
#include <span>

#include "platform/line_raster.h"

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

// Calls `row` for every row of `clip` that the copies cover, top to bottom, with
// that row's spans sorted and apart, so that each covered pixel comes exactly
// once. The pixels are those of `segmentSpans` on every copy.
void gridSpans(const PixelGrid& grid, const ClipRect& clip,
               const std::function<void(std::span<const Span>)>& row);

}  // namespace kalidor
