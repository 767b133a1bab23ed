#pragma once
// The colour wells: a click on one opens the colour dialog at its colour.

#include "editor/editor.h"

namespace kalidor {

// A click on well `index` (1..3): the dialog's confirmed colour becomes the
// well's; a cancelled dialog leaves the well as it was.
void pbColor_Click(Editor& e, int16 index);

}  // namespace kalidor
