#include "draw/pattern.h"

#include <array>
#include <cstdint>

namespace kalidor {

namespace {

// Cells of width or height 0 have no grid: nothing is set up or drawn while the
// pattern point sits on the canvas's left or top edge.
bool noGrid(const EditorState& s) { return s.PatternX == 0 || s.PatternY == 0; }

// The last index of the cell loop along a canvas side of outer length `length`.
int16 lastCell(float length, int16 cell)
{
    return i16::fromInt(static_cast<long long>(i16::round32(length)) / cell + 1);
}

// 1-based cell index of a position; truncating division, so index 1 reaches
// from -(cell - 1) to cell - 1.
int16 cellIndex(int16 v, int16 cell) { return i16::add(i16::div(v, cell), 1); }

int16 parity(int16 column, int16 row) { return static_cast<int16>(i16::add(column, row) & 1); }

// Moving into another cell shifts the stored point by one cell the other way
// and flips the phase once, however many cells the move jumped.
void followCell(int16 newIndex, int16& index, int16& offset, int16 cell, int16& phase)
{
    if (newIndex > index)
        offset = i16::sub(offset, cell);
    else if (newIndex < index)
        offset = i16::add(offset, cell);
    else
        return;
    phase = static_cast<int16>(1 - phase);
}

// Origin of cell `index` along one axis: (index - 1) * cell.
int16 cellOrigin(int index, int16 cell) { return i16::mul(i16::fromInt(index - 1), cell); }

// One axis of the cell loop: cells 0 .. last, each holding the segment from
// `from` to `to` measured from its origin.
struct Axis {
    int16 cell;
    int16 from;
    int16 to;
    int last;

    long long origin(int i) const { return static_cast<long long>(i - 1) * cell; }
    // Whether the 16-bit arithmetic of cell i stays in range.
    bool fits(int i) const
    {
        const long long o = origin(i);
        return inRange(o) && inRange(o + from) && inRange(o + to);
    }
    static bool inRange(long long v) { return v >= INT16_MIN && v <= INT16_MAX; }
};

// The step's segment in cell (row, column), computed as checked 16-bit
// arithmetic; throws where the cell leaves 16 bits.
Segment cellSegment(const Axis& ax, const Axis& ay, int row, int column)
{
    const int16 ox = cellOrigin(column, ax.cell);
    const int16 x1 = i16::add(ox, ax.from);
    const int16 oy = cellOrigin(row, ay.cell);
    const int16 y1 = i16::add(oy, ay.from);
    const int16 x2 = i16::add(ox, ax.to);
    const int16 y2 = i16::add(oy, ay.to);
    return {static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2), static_cast<float>(y2)};
}

// Draws the step's segment in every cell of the loop (rows 0..CellsY by
// columns 0..CellsX) as one grid. A cell whose arithmetic leaves 16 bits stops
// the step there: the cells before it are drawn, as one by one, and the error
// is passed on.
void drawGrid(Editor& e, Colour colour, Point16 from, Point16 to)
{
    const EditorState& s = e.st;
    const Axis ax{s.PatternX, from.x, to.x, s.CellsX};
    const Axis ay{s.PatternY, from.y, to.y, s.CellsY};
    if (ax.last < 0 || ay.last < 0)
        return;
    const bool chess = e.ui.cbChess.Value() != 0;
    SegmentGrid grid;
    grid.first = {static_cast<float>(ax.origin(0) + ax.from), static_cast<float>(ay.origin(0) + ay.from),
                  static_cast<float>(ax.origin(0) + ax.to), static_cast<float>(ay.origin(0) + ay.to)};
    grid.stepX = ax.cell;
    grid.stepY = ay.cell;
    grid.columns = ax.last + 1;
    grid.chess = chess;
    grid.phase = s.ChessPhase;

    // The first cell, in drawing order, that leaves 16 bits. Along each axis the
    // arithmetic is linear, so a column fails in every row and a row in every column.
    std::array<int, 2> badColumn{grid.columns, grid.columns};  // first failing column of each parity
    int anyBadColumn = grid.columns;
    for (int c = grid.columns - 1; c >= 0; --c) {
        if (!ax.fits(c)) {
            badColumn[static_cast<std::size_t>(c & 1)] = c;
            anyBadColumn = c;
        }
    }
    int failRow = ay.last + 1;
    int failColumn = 0;
    for (int r = 0; r <= ay.last; ++r) {
        const int first = chess ? ((grid.phase ^ r) & 1) : 0;  // the row's first drawn column
        if (first >= grid.columns)
            continue;
        const int bad = chess ? badColumn[static_cast<std::size_t>(first)] : anyBadColumn;
        if (!ay.fits(r) || bad < grid.columns) {
            failRow = r;
            failColumn = ay.fits(r) ? bad : first;
            break;
        }
    }

    grid.rows = failRow;
    if (failRow > ay.last) {
        e.ui.pb->GridLines(grid, colour);
        return;
    }
    if (grid.rows > 0)
        e.ui.pb->GridLines(grid, colour);
    // The failing row up to the failing cell.
    SegmentGrid part = grid;
    part.rows = 1;
    part.columns = failColumn;
    part.phase = grid.phase ^ (failRow & 1);
    const float dy = static_cast<float>(static_cast<long long>(failRow) * ay.cell);
    part.first.y1 += dy;
    part.first.y2 += dy;
    if (part.columns > 0)
        e.ui.pb->GridLines(part, colour);
    cellSegment(ax, ay, failRow, failColumn);  // throws the cell's own overflow
}

}  // namespace

void DefPatternSXY(Editor& e, int16 x, int16 y)
{
    EditorState& s = e.st;
    if (noGrid(s))
        return;
    s.CellsX = lastCell(e.ui.pb->Width(), s.PatternX);
    s.CellsY = lastCell(e.ui.pb->Height(), s.PatternY);
    s.PatternCell = Cell16{cellIndex(x, s.PatternX), cellIndex(y, s.PatternY)};
    s.ChessPhase = parity(s.PatternCell.column, s.PatternCell.row);
    s.PatternSXY = Point16{i16::mod(x, s.PatternX), i16::mod(y, s.PatternY)};
}

void PatternDrawLines(Editor& e, int16 x, int16 y, int16 button)
{
    EditorState& s = e.st;
    const Well* well = wellAt(e, button);
    if (noGrid(s) || !well)
        return;  // no grid, or a button with no well: the step is skipped
    const int16 nc = cellIndex(x, s.PatternX);
    const int16 nr = cellIndex(y, s.PatternY);
    followCell(nc, s.PatternCell.column, s.PatternSXY.x, s.PatternX, s.ChessPhase);
    followCell(nr, s.PatternCell.row, s.PatternSXY.y, s.PatternY, s.ChessPhase);
    s.PatternCell = Cell16{nc, nr};
    const Point16 to{i16::mod(x, s.PatternX), i16::mod(y, s.PatternY)};

    drawGrid(e, well->BackColor(), s.PatternSXY, to);
    s.PatternSXY = to;
}

}  // namespace kalidor
