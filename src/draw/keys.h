#pragma once
// Keys pressed anywhere in the window, seen before the control with the focus.

#include "editor/editor.h"

namespace kalidor {

void Form_KeyDown(Editor& e, int16 keyCode, int16 shift);

}  // namespace kalidor
