#pragma once
// Copies of one segment on a grid of cells, as a Pattern step draws them.

#include <vector>

namespace kalidor {

struct Segment {
    float x1;
    float y1;
    float x2;
    float y2;
};

// `first` moved by (c * stepX, r * stepY) for columns c = 0 .. columns - 1 and
// rows r = 0 .. rows - 1, taken row by row; with `chess`, only the copies where
// (c + r) % 2 == phase. Coordinates are whole pixels.
struct SegmentGrid {
    Segment first{};
    int stepX = 0;
    int stepY = 0;
    int columns = 0;
    int rows = 0;
    bool chess = false;
    int phase = 0;

    bool has(int column, int row) const { return !chess || ((column + row) & 1) == phase; }
};

// Appends the grid's copies in drawing order.
void expandGrid(const SegmentGrid& grid, std::vector<Segment>& out);

}  // namespace kalidor
