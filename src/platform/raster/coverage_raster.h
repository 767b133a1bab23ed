#pragma once
// How much of each pixel a smooth shape covers, in four quarters of it, a
// byte each: 0 (none) to 255 (all). Pixel (i, j) is the unit square centred on
// (i, j), so a line between whole points runs through pixel centres as a hard
// line does. Each quarter's value falls as its centre's distance from the
// shape grows, so the largest of two shapes' values is the value of their
// union: a stroke made of many segments is covered as one shape.

#include <cstdint>
#include <vector>

#include "platform/symmetry.h"

namespace kalidor {

// A segment at its exact place, ends unrounded.
struct ExactSegment {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// A shape's coverage over the box around it.
struct Coverage {
    int x0 = 0;
    int y0 = 0;
    int width = 0;
    int height = 0;
    // Row by row, four a pixel: top left, top right, bottom left, bottom right.
    std::vector<std::uint8_t> values;
    // Each row's first and last column (about x0) with coverage; first > last
    // where the row has none.
    std::vector<int> first;
    std::vector<int> last;

    bool empty() const { return width <= 0 || height <= 0; }
    const std::uint8_t* row(int k) const { return values.data() + static_cast<std::size_t>(k) * width * 4; }
};

// The pixels within `width` / 2 of the segment (a round-capped line, a disc
// where the ends meet), each quarter by the part of it inside: those wholly
// inside or outside found from the pixel centre's distance, those on the edge
// each as the ramp of its own centre's distance across its width.
void capsuleCoverage(const ExactSegment& s, double width, Coverage& out);

// `of` moved by a map of pixels (`PixelMap`): the same values, each at the
// pixel its own goes to, so that a copy made this way is exactly the image.
void movedCoverage(const Coverage& of, const PixelMap& map, Coverage& out);

// A pixel's coverage from its four quarters'.
inline unsigned pixelCover(const std::uint8_t* quarters)
{
    return (static_cast<unsigned>(quarters[0]) + quarters[1] + quarters[2] + quarters[3] + 2) / 4;
}

}  // namespace kalidor
