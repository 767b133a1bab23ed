#pragma once
// The commands that act on the picture as a whole paint all of it, the part a
// smaller canvas no longer shows included: it shows again when the canvas grows,
// and must not come back unchanged.

#include "platform/surface.h"

namespace kalidor {

// A box filled with `c` over the whole picture, in the surface's drawing mode.
void fillWholePicture(Surface& pb, Colour c);

}  // namespace kalidor
