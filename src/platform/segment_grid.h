#pragma once
// Copies of one segment on a grid of cells, as a Pattern step draws them: the
// one grid type that the drawing logic hands over and the pixel engine fills.

#include <vector>

namespace kalidor {

struct Segment {
    float x1;
    float y1;
    float x2;
    float y2;
};

// The Chess rule: the parity of a cell's column plus row. Negative sums keep
// their low bit, so -1 has parity 1.
constexpr int cellParity(long long column, long long row) { return static_cast<int>((column + row) & 1); }

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

    bool has(int column, int row) const { return !chess || cellParity(column, row) == (phase & 1); }
    // The first column of `row` that holds a copy, and the distance to the next.
    int firstColumn(int row) const { return chess ? cellParity(phase, row) : 0; }
    int columnStride() const { return chess ? 2 : 1; }
};

// Appends the grid's copies in drawing order.
void expandGrid(const SegmentGrid& grid, std::vector<Segment>& out);

}  // namespace kalidor
