#pragma once
// The palette of 4 x 15 swatches: 56 random colours above a fixed row of black,
// white and two greys. A press on a swatch loads it into a colour well and moves
// the black selection frame to it.

#include "editor/editor.h"
#include "colour/random.h"
#include "platform/events.h"

namespace kalidor {

// Pitch of the swatch grid in palette pixels; a swatch is 18 x 18 inside a
// one-pixel grid line.
constexpr int16 kSwatchPitch = 19;

// Fills the palette: seeds the generator from the time of day, paints rows
// 0..13 with random colours and row 14 with the fixed ones. The selection
// frame, `PalSelX`/`PalSelY` and the wells are left as they are.
void FillPalette(Editor& e);

// Stores `colour` as swatch (col, row) and paints the swatch.
void AddColor(Editor& e, int16 col, int16 row, Colour colour);

// A random colour: three draws for red, green and blue, in that order.
Colour randomColour(RandomGenerator& random);

// A mouse press on the palette, X and Y in palette pixels.
void pbPal_MouseDown(Editor& e, const MouseArgs& m);

}  // namespace kalidor
