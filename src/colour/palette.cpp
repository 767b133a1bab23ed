#include "colour/palette.h"

namespace kalidor {

// The palette is not filled yet: it shows its background until the palette
// itself is built.
void FillPalette(Editor&) {}

}  // namespace kalidor
