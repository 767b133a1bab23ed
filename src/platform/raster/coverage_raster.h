#pragma once
// How much of each pixel a smooth shape covers, in four quarters of it, a
// byte each: 0 (none) to 255 (all). Pixel (i, j) is the unit square centred on
// (i, j), so a line between whole points runs through pixel centres as a hard
// line does. Each quarter's value falls as its centre's distance from the
// shape grows, so the largest of two shapes' values is the value of their
// union: a stroke made of many segments is covered as one shape.

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/symmetry.h"

namespace kalidor {

// A segment at its exact place, ends unrounded.
struct ExactSegment {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// A shape's coverage, row by row: each row's values from its first to its
// last covered column, four a pixel (top left, top right, bottom left, bottom
// right), so that a long thin line costs its own pixels, not its box's.
struct Coverage {
    int x0 = 0;  // the box around it
    int y0 = 0;
    int width = 0;
    int height = 0;
    // Each row's first and last covered column (about x0); first > last where
    // the row has none.
    std::vector<int> first;
    std::vector<int> last;
    std::vector<std::size_t> start;  // where row k's first pixel's values begin
    std::vector<std::uint8_t> values;

    bool empty() const { return width <= 0 || height <= 0; }
    // The four values of column i (about x0) of row k, which has it.
    const std::uint8_t* at(int k, int i) const
    {
        return values.data() + start[static_cast<std::size_t>(k)] +
               static_cast<std::size_t>(i - first[static_cast<std::size_t>(k)]) * 4;
    }
};

// Coverage that repeats over the plane every `width` across and `height`
// down, from the origin: a lattice's copies laid into one period.
struct CoverageTile {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> values;  // four a pixel, row by row
    std::vector<std::vector<std::pair<int, int>>> spans;  // each row's covered runs, both ends included

    void reset(int w, int h);
    // `c` moved by (dx, dy), wrapped into the period, each quarter the larger.
    void lay(const Coverage& c, long long dx, long long dy);
    // Finds each row's covered runs, once everything is laid.
    void findSpans();
};

// The pixels within `width` / 2 of the segment (a round-capped line, a disc
// where the ends meet), each quarter by the part of it inside: those wholly
// inside or outside found from the pixel centre's distance, those on the edge
// each as the ramp of its own centre's distance across its width.
// Only the pixels within `limit` (x0, y0, x1, y1, both included) are kept.
void capsuleCoverage(const ExactSegment& s, double width, Coverage& out, const int* limit = nullptr);

// `of` moved by a map of pixels (`PixelMap`): the same values, each at the
// pixel its own goes to, so that a copy made this way is exactly the image.
void movedCoverage(const Coverage& of, const PixelMap& map, Coverage& out);

// A pixel's coverage from its four quarters'.
inline unsigned pixelCover(const std::uint8_t* quarters)
{
    return (static_cast<unsigned>(quarters[0]) + quarters[1] + quarters[2] + quarters[3] + 2) / 4;
}

}  // namespace kalidor
