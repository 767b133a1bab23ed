#pragma once
// A segment between two points of the canvas, as the drawing logic hands it to
// the surface.

namespace kalidor {

struct Segment {
    float x1;
    float y1;
    float x2;
    float y2;
};

}  // namespace kalidor
