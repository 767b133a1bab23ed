#pragma once
// File > Save tile: one period of Pattern's tiling as a picture file, which
// laid edge to edge gives the picture back without a seam.

#include "draw/lattice_period.h"
#include "editor/editor.h"

namespace kalidor {

// Where a tile is cut from: a rectangle of the picture.
struct TileRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const TileRect&, const TileRect&) = default;
};

// The tile of that size nearest the picture's middle whose corner lies a
// whole number of tiles from the picture's corner, so that it starts where a
// cell does. Empty where it is larger than the picture.
TileRect placeTile(TileSize tile, int pictureWidth, int pictureHeight);

// The period of Pattern as it is now set (group, cells, Chess, Mirror).
TileSize patternTile(const Editor& e);

// Greys the entry outside Pattern.
void refreshSaveTile(Editor& e);

void mnuSaveTile_Click(Editor& e);

}  // namespace kalidor
