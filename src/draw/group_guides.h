#pragma once
// The guides of a wallpaper group over a canvas: the edges of its cells, its
// mirror lines, and small marks of 2, 3, 4 or 6 points on its turn centres.

#include <vector>

#include "draw/wallpaper_groups.h"
#include "platform/segment.h"

namespace kalidor {

// In canvas pixels, for cells of the pattern point's sides on a canvas of
// `width` x `height`: none where the cells are under 4 pixels, and no marks
// where they are under 32 (the guides would hide the picture).
std::vector<Segment> groupGuides(const WallpaperGroup& group, int16 patternX, int16 patternY, float width,
                                 float height);

}  // namespace kalidor
