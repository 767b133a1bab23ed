#pragma once
// The segments of one stroke step, handed to the surface together so that a
// step is one drawing call.

#include <vector>

#include "platform/int16.h"
#include "platform/surface.h"

namespace kalidor {

// Runs `collect(segments)` on the emptied `segments` and draws what it
// collected in colour `c`. A step cut short by a 16-bit overflow still draws the
// segments it reached before the overflow, as drawing them one by one would
// have, and then passes the error on.
template <class Collect>
void drawStep(Surface& surface, Colour c, std::vector<Segment>& segments, Collect collect)
{
    segments.clear();
    try {
        collect(segments);
    } catch (const Int16Error&) {
        if (!segments.empty())
            surface.Lines(segments, c);
        throw;
    }
    if (!segments.empty())
        surface.Lines(segments, c);
}

}  // namespace kalidor
