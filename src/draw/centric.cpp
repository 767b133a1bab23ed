#include "draw/centric.h"

namespace kalidor {

// Centric strokes are not drawn yet: the mode, its frame and its centre work,
// but a stroke leaves the canvas as it is.

void DefCenterSXY(Editor&, int16, int16) {}

void CenterDrawLines(Editor&, int16, int16, int16) {}

}  // namespace kalidor
