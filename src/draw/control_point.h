#pragma once
// The control point of the symmetric modes: the centre in Centric mode, the
// pattern point otherwise, shown by the marker and in status panel 3.

#include "app/editor.h"

namespace kalidor {

// Sets the active control point to (x, y), shows it in panel 3 ("C: x,y" or
// "P: x,y") and puts the marker's middle pixel on it.
void ChangeCPXY(Editor& e, int16 x, int16 y);

}  // namespace kalidor
