#pragma once
// The palette of 4 x 15 swatches.

#include "app/editor.h"

namespace kalidor {

// Fills the palette: 56 random colours and the fixed bottom row.
void FillPalette(Editor& e);

}  // namespace kalidor
