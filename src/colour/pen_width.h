#pragma once
// The pen width: the slider sets the canvas's pen, and a black bar beside
// "Width" is as thick as the pen is wide.

#include "editor/editor.h"

namespace kalidor {

// The pen-width slider moved.
void slDrawWidth_Scroll(Editor& e);

}  // namespace kalidor
