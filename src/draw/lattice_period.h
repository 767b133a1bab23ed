#pragma once
// The translations that repeat what a Pattern step draws: the lattice its
// copies are laid on. The steps lay their copies on it and the guides draw
// its cells, so both always show the same period.

#include "draw/wallpaper_groups.h"

namespace kalidor {

struct LatticePeriod {
    // Cells at k a + j b.
    CellVectors cell;
    // With Chess only every other cell is drawn: of the lattice's
    // translations, only those with k + j even repeat the picture.
    bool chess = false;
};

// The lattice of Pattern under `group` for the pattern point (PX, PY). Under
// p1 the cells are (PX, 0) and (0, PY), signs and all, and with Mirror a
// quilt's block of two cells by two, (2 PX, 0) and (0, 2 PY), whose four
// turnings repeat as a whole, Chess inside the block; under any other group
// the group's own cells (cellVectors), Mirror having no effect.
LatticePeriod latticePeriod(const WallpaperGroup& group, int16 patternX, int16 patternY, bool chess,
                            bool mirror = false);

// The smallest rectangle of whole pixels that repeats the lattice's picture:
// laid edge to edge, copies of any such rectangle cut from the picture give
// the picture back. A hexagonal lattice repeats every cell across and every
// two rows of cells down (its row step being whole); with Chess the
// translations that repeat are every other one, twice the rectangle each
// way. 0 x 0 where a side of the cells is 0.
struct TileSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const TileSize&, const TileSize&) = default;
};
TileSize tileSize(const LatticePeriod& period);

}  // namespace kalidor
