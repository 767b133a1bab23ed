#pragma once
// Which pixels a segment covers. Pure pixel geometry, shared by every surface.

#include <algorithm>
#include <cstddef>
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

// Joins the neighbours of sorted intervals in place, where `joins(kept, next)`
// takes `next` into `kept` (true) or leaves them apart (false); returns how many
// are left, at the front.
template <class T, class Joins>
std::size_t joinNeighbours(T* first, T* last, Joins joins)
{
    if (first == last)
        return 0;
    T* kept = first;
    for (T* a = first + 1; a < last; ++a)
        if (!joins(*kept, *a))
            *++kept = *a;
    return static_cast<std::size_t>(kept - first + 1);
}

// Takes b, which begins no earlier than a, into a where they overlap or touch on one row.
inline bool takeTouching(Span& a, const Span& b)
{
    if (b.y != a.y || b.x0 > a.x1 + 1)
        return false;
    a.x1 = std::max(a.x1, b.x1);
    return true;
}

// Sorts spans by row and joins those that overlap or touch, so that every pixel
// appears once (an inverting draw must touch each pixel exactly once).
void mergeSpans(std::vector<Span>& spans);

// The same for spans made of runs already sorted, each beginning at an index
// of `starts` (ascending, the first 0): the runs are merged, not sorted again.
// `starts` is used up.
void mergeSortedRuns(std::vector<Span>& spans, std::vector<std::size_t>& starts);

}  // namespace kalidor
