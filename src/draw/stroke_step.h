#pragma once
// One step of a stroke as every mode's geometry gives it: the shapes, where
// their copies go, and how far its 16-bit arithmetic got.

#include <optional>
#include <vector>

#include "platform/int16.h"
#include "platform/surface.h"
#include "platform/symmetry.h"

namespace kalidor {

struct StrokeStep {
    std::vector<Segment> shapes;
    Symmetry symmetry;
    // Where a copy's 16-bit arithmetic left its range, the step holds the
    // copies before it, as drawing copy by copy would have drawn them, and
    // this is the error to pass on once they are drawn.
    std::optional<Int16Error> overflow;
};

// Draws the step's copies in colour `c` in one call, then passes its overflow on.
void paintStep(Surface& surface, const StrokeStep& step, Colour c);

}  // namespace kalidor
