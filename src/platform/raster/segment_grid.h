#pragma once
// Copies of one segment on a grid of cells: what the pixel engine fills. A
// symmetry's copies become a few such grids, one for each of its operations'
// shapes, laid over its lattice.

#include <optional>
#include <vector>

#include "platform/symmetry.h"

namespace kalidor {

// A copy that is the pixels of another segment, drawn where it is, moved by a
// map of pixels (an operation of a symmetry that moves pixels).
struct PixelMove {
    Segment source{};
    PixelMap map;
};

// `first` moved by (c * stepX, r * stepY) for columns c = 0 .. columns - 1 and
// rows r = 0 .. rows - 1, taken row by row; with `chess`, only the copies whose
// cell parity is `phase`. Coordinates are whole pixels.
struct SegmentGrid {
    Segment first{};
    int stepX = 0;
    int stepY = 0;
    int columns = 0;
    int rows = 0;
    bool chess = false;
    int phase = 0;
    // Where this grid's copy is the copy of an earlier grid of the same list
    // turned over along an axis or both (as an operation of its symmetry
    // says): that grid's index, whose pixels it may take turned over instead
    // of being drawn again; -1 where it is drawn.
    int mirrors = -1;
    // Where the copy is made by moving pixels: `first` is then only its
    // extent, whole pixels within one of the moved pixels' place.
    std::optional<PixelMove> moved;

    bool has(int column, int row) const { return !chess || cellParity(column, row) == (phase & 1); }
    // The first column of `row` that holds a copy, and the distance to the next.
    int firstColumn(int row) const { return chess ? cellParity(phase, row) : 0; }
    int columnStride() const { return chess ? 2 : 1; }
};

// Appends the grid's copies in drawing order.
void expandGrid(const SegmentGrid& grid, std::vector<Segment>& out);

// Moves the grid's first copy, moved pixels and all, by whole pixels.
void shiftFirst(SegmentGrid& grid, long long dx, long long dy);

}  // namespace kalidor
