#pragma once
// A fill that reaches past the exact colour: a tolerance for slightly varied
// colours, and the soft edges of smooth lines painted again over the new
// colour, so that no ring of the old colour stays between fill and line.
// Everything is found on the picture as it is, then written by the caller.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/document.h"
#include "platform/raster/flood_fill.h"

namespace kalidor {

// A pixel of a soft edge and what it becomes.
struct EdgePixel {
    int x;
    int y;
    std::uint32_t value;
};

// The regions of the seeds (each the pixels within the tolerance of its
// seed's colour, joined up, down, left and right; a seed in a region already
// found adds nothing) as runs, and with soft edges, the edge pixels around
// them with their new values.
void softFillRegions(const PixelPlane& plane, std::span<const PixelPoint> seeds, std::uint32_t value,
                     FillReach reach, std::vector<Span>& runs, std::vector<EdgePixel>& edges);

// Where `pixel` is `region` blended with another colour `other` (within
// `slack` a channel), the same blend over `value`; otherwise nothing.
bool reblend(std::uint32_t pixel, std::uint32_t region, std::uint32_t other, std::uint32_t value, int slack,
             std::uint32_t& out);

}  // namespace kalidor
