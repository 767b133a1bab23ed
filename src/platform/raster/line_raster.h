#pragma once
// Which pixels a segment covers. Pure pixel geometry, shared by every surface.

#include <vector>

namespace kalidor {

// A run of covered pixels on one row, both ends included.
struct Span {
    int y;
    int x0;
    int x1;
};

// Pixels that may be touched, both ends included.
struct ClipRect {
    int x0;
    int y0;
    int x1;
    int y1;
};

// Appends the pixels of the segment between two whole-pixel end points.
// Width 1 gives a one-pixel line with both end pixels; a greater width gives a
// round-capped line: every pixel whose centre lies within width/2 of the segment.
// The pixels depend only on the difference of the end points, so translating a
// segment by whole pixels translates its pixels exactly.
void segmentSpans(long long x1, long long y1, long long x2, long long y2, int width,
                  const ClipRect& clip, std::vector<Span>& out);

// Sorts spans by row and joins those that overlap or touch, so that every pixel
// appears once (an inverting draw must touch each pixel exactly once).
void mergeSpans(std::vector<Span>& spans);

// The same for spans made of runs already sorted, each beginning at an index
// of `starts` (ascending, the first 0): the runs are merged, not sorted again.
// `starts` is used up.
void mergeSortedRuns(std::vector<Span>& spans, std::vector<std::size_t>& starts);

}  // namespace kalidor
