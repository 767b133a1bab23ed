#pragma once
// Pattern drawing: every stroke repeated in every cell of the grid.

#include "app/editor.h"

namespace kalidor {

// Sets up a Pattern stroke at (x, y).
void DefPatternSXY(Editor& e, int16 x, int16 y);
// One step of a Pattern stroke to (x, y), in the colour of well `button`.
void PatternDrawLines(Editor& e, int16 x, int16 y, int16 button);

}  // namespace kalidor
