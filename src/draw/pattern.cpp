#include "draw/pattern.h"

namespace kalidor {

// Pattern strokes are not drawn yet: the mode, its frame and its pattern point
// work, but a stroke leaves the canvas as it is.

void DefPatternSXY(Editor&, int16, int16) {}

void PatternDrawLines(Editor&, int16, int16, int16) {}

}  // namespace kalidor
