#pragma once

#include "editor/editor.h"

namespace kalidor {

// Start-up, once, when the window is first shown at its laid-out size, focused
// or not: centre in the middle of the canvas, pattern point at (200, 200), the
// options frames aligned, the palette filled.
void Form_Activate(Editor& e);

}  // namespace kalidor
