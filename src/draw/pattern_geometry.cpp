#include "draw/pattern_geometry.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <utility>

#include "draw/lattice_period.h"

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

// Origin of the cell at loop index i along one axis: (i - 1) * cell.
long long origin(int i, int16 cell) { return static_cast<long long>(i - 1) * cell; }

bool inRange(long long v) { return v >= INT16_MIN && v <= INT16_MAX; }

// Whether the 16-bit arithmetic of the cell at loop index i, holding a segment
// from `from` to `to` along this axis, stays in range.
bool fits(int i, int16 cell, int16 from, int16 to)
{
    const long long o = origin(i, cell);
    return inRange(o) && inRange(o + from) && inRange(o + to);
}

// The overflow of the cell at (row, column), raised by the same checked 16-bit
// arithmetic that drawing the cell by itself would do.
Int16Error cellOverflow(const CopySettings& s, int row, int column, Point16 from, Point16 to)
{
    try {
        const int16 ox = i16::mul(i16::fromInt(column - 1), s.patternX);
        i16::add(ox, from.x);
        const int16 oy = i16::mul(i16::fromInt(row - 1), s.patternY);
        i16::add(oy, from.y);
        i16::add(ox, to.x);
        i16::add(oy, to.y);
    } catch (const Int16Error& error) {
        return error;
    }
    return Int16Error("16-bit overflow in a pattern cell");
}

// The first cell, in drawing order, that leaves 16 bits, among the cells a
// step draws: its row and column, or rows as the row where none does. Along
// each axis the arithmetic is linear, so a column fails in every row and a row
// in every column.
std::pair<int, int> firstFailing(const CopySettings& s, const Lattice& l, Point16 from, Point16 to)
{
    std::array<int, 2> badColumn{l.columns, l.columns};  // first failing column of each parity
    int anyBadColumn = l.columns;
    for (int c = l.columns - 1; c >= 0; --c) {
        if (!fits(c, s.patternX, from.x, to.x)) {
            badColumn[static_cast<std::size_t>(c & 1)] = c;
            anyBadColumn = c;
        }
    }
    for (int r = 0; r < l.rows; ++r) {
        const int first = l.chess ? cellParity(l.phase, r) : 0;
        if (first >= l.columns)
            continue;
        const bool rowFits = fits(r, s.patternY, from.y, to.y);
        const int bad = l.chess ? badColumn[static_cast<std::size_t>(first)] : anyBadColumn;
        if (rowFits && bad >= l.columns)
            continue;
        return {r, rowFits ? bad : first};
    }
    return {l.rows, 0};
}

// The step's segment in every cell of the loop (rows 0..CellsY by columns
// 0..CellsX): the first cell's segment on the lattice of cells, cut short
// before the first cell that leaves 16 bits.
StrokeStep cellLattice(const CopySettings& s, Point16 from, Point16 to)
{
    StrokeStep step;
    if (s.cells.column < 0 || s.cells.row < 0)
        return step;
    const long long ox = origin(0, s.patternX);
    const long long oy = origin(0, s.patternY);
    step.shapes.push_back({static_cast<float>(ox + from.x), static_cast<float>(oy + from.y),
                           static_cast<float>(ox + to.x), static_cast<float>(oy + to.y)});
    const LatticePeriod period = latticePeriod(wallpaperGroup(kP1), s.patternX, s.patternY, s.chess);
    Lattice& l = step.symmetry.lattice;
    l.ax = period.cell.ax;
    l.by = period.cell.by;
    l.columns = s.cells.column + 1;
    l.rows = s.cells.row + 1;
    l.chess = period.chess;
    l.phase = s.chessPhase;
    const auto [row, column] = firstFailing(s, l, from, to);
    if (row < l.rows) {
        l.endRow = row;
        l.endColumn = column;
        step.overflow = cellOverflow(s, row, column, from, to);
    }
    return step;
}

// Along one axis, where the end `v` of the copy in the cell at loop index i
// lies with Mirror: cells with k = i - 1 odd turn it over within the cell,
// 2 * bx + cell - (bx + v), which is the next cell's origin less v.
bool turnsOver(int i) { return (i - 1) % 2 != 0; }

long long mirroredEnd(int i, int16 cell, int16 v) { return turnsOver(i) ? origin(i + 1, cell) - v : origin(i, cell) + v; }

bool mirroredFits(int i, int16 cell, int16 from, int16 to)
{
    return inRange(origin(i, cell)) && inRange(mirroredEnd(i, cell, from)) && inRange(mirroredEnd(i, cell, to));
}

Segment mirroredSegment(const CopySettings& s, int column, int row, Point16 from, Point16 to)
{
    return {static_cast<float>(mirroredEnd(column, s.patternX, from.x)),
            static_cast<float>(mirroredEnd(row, s.patternY, from.y)),
            static_cast<float>(mirroredEnd(column, s.patternX, to.x)),
            static_cast<float>(mirroredEnd(row, s.patternY, to.y))};
}

// The mirrored cells one by one, in the loop's order, up to the first that
// leaves 16 bits.
StrokeStep mirroredOneByOne(const CopySettings& s, Point16 from, Point16 to)
{
    StrokeStep step;
    for (int r = 0; r <= s.cells.row; ++r)
        for (int c = 0; c <= s.cells.column; ++c) {
            if (s.chess && cellParity(c, r) != s.chessPhase)
                continue;
            if (!mirroredFits(c, s.patternX, from.x, to.x) || !mirroredFits(r, s.patternY, from.y, to.y)) {
                step.overflow = Int16Error("16-bit overflow in a mirrored pattern cell");
                return step;
            }
            step.shapes.push_back(mirroredSegment(s, c, r, from, to));
        }
    return step;
}

// The mirrored cells as a lattice of two cells by two, each of the four a
// turning of the segment within its cell and the offset of that cell: with
// Chess only the two whose cells are drawn. Where a cell leaves 16 bits, the
// cells before it go one by one.
StrokeStep mirroredCells(const CopySettings& s, Point16 from, Point16 to)
{
    const int columns = s.cells.column + 1;
    const int rows = s.cells.row + 1;
    if (columns <= 0 || rows <= 0)
        return {};
    // Among the cells of one parity each end moves by the same amount from
    // cell to cell, so the first and last two cells of an axis decide for all.
    auto allFit = [](int count, int16 cell, int16 a, int16 b) {
        for (const int i : {0, 1, count - 2, count - 1})
            if (i >= 0 && !mirroredFits(i, cell, a, b))
                return false;
        return true;
    };
    if (!allFit(columns, s.patternX, from.x, to.x) || !allFit(rows, s.patternY, from.y, to.y))
        return mirroredOneByOne(s, from, to);
    StrokeStep step;
    step.shapes.push_back({static_cast<float>(from.x), static_cast<float>(from.y), static_cast<float>(to.x),
                           static_cast<float>(to.y)});
    const LatticePeriod period = latticePeriod(wallpaperGroup(kP1), s.patternX, s.patternY, s.chess, true);
    Lattice& l = step.symmetry.lattice;
    l.ax = period.cell.ax;
    l.by = period.cell.by;
    l.columns = (columns + 1) / 2;
    l.rows = (rows + 1) / 2;
    step.symmetry.ops.clear();
    for (int r0 = 0; r0 < 2 && r0 < rows; ++r0)
        for (int c0 = 0; c0 < 2 && c0 < columns; ++c0) {
            if (s.chess && cellParity(c0, r0) != s.chessPhase)
                continue;
            PointOp op;
            op.xx = turnsOver(c0) ? -1 : 1;
            op.yy = turnsOver(r0) ? -1 : 1;
            op.tx = static_cast<double>(turnsOver(c0) ? origin(c0 + 1, s.patternX) : origin(c0, s.patternX));
            op.ty = static_cast<double>(turnsOver(r0) ? origin(r0 + 1, s.patternY) : origin(r0, s.patternY));
            op.columns = (columns - c0 + 1) / 2;
            op.rows = (rows - r0 + 1) / 2;
            step.symmetry.ops.push_back(op);
        }
    return step;
}

}  // namespace

Cell16 patternLoop(float canvasWidth, float canvasHeight, int16 patternX, int16 patternY)
{
    return Cell16{lastCell(canvasWidth, patternX), lastCell(canvasHeight, patternY)};
}

Cell16 patternCell(int16 patternX, int16 patternY, int16 x, int16 y)
{
    return Cell16{cellIndex(x, patternX), cellIndex(y, patternY)};
}

int16 chessPhaseOf(Cell16 cell) { return static_cast<int16>(cellParity(i16::add(cell.column, cell.row), 0)); }

void patternStart(EditorState& s, float canvasWidth, float canvasHeight, int16 x, int16 y)
{
    if (noGrid(s))
        return;
    const Cell16 loop = patternLoop(canvasWidth, canvasHeight, s.PatternX, s.PatternY);
    s.CellsX = loop.column;
    s.CellsY = loop.row;
    s.PatternCell = patternCell(s.PatternX, s.PatternY, x, y);
    s.ChessPhase = chessPhaseOf(s.PatternCell);
    s.PatternSXY = Point16{i16::mod(x, s.PatternX), i16::mod(y, s.PatternY)};
}

StrokeStep patternCopies(const CopySettings& c, const Segment& segment)
{
    if (c.patternX == 0 || c.patternY == 0)
        return {};
    if (c.group != kP1)
        return groupStep(wallpaperGroup(c.group), c.patternX, c.patternY, c.chess, segment, c.canvas);
    // The segment in its end's cell, as the loop numbers cells: its ends whole
    // pixels, as a stroke's are.
    const int16 x = i16::fromInt(std::lround(segment.x2)), y = i16::fromInt(std::lround(segment.y2));
    const Point16 to{i16::mod(x, c.patternX), i16::mod(y, c.patternY)};
    const Point16 from{i16::fromInt(std::lround(segment.x1) - (x - to.x)),
                       i16::fromInt(std::lround(segment.y1) - (y - to.y))};
    return c.mirror ? mirroredCells(c, from, to) : cellLattice(c, from, to);
}

StrokeStep patternStep(EditorState& s, bool chess, bool mirror, int16 x, int16 y, int group,
                       const GroupCanvas& canvas)
{
    if (noGrid(s))
        return {};
    const int16 nc = cellIndex(x, s.PatternX);
    const int16 nr = cellIndex(y, s.PatternY);
    followCell(nc, s.PatternCell.column, s.PatternSXY.x, s.PatternX, s.ChessPhase);
    followCell(nr, s.PatternCell.row, s.PatternSXY.y, s.PatternY, s.ChessPhase);
    s.PatternCell = Cell16{nc, nr};
    const Point16 to{i16::mod(x, s.PatternX), i16::mod(y, s.PatternY)};
    CopySettings c;
    c.mode = kPattern;
    c.patternX = s.PatternX;
    c.patternY = s.PatternY;
    c.cells = Cell16{s.CellsX, s.CellsY};
    c.chess = chess;
    c.chessPhase = s.ChessPhase;
    c.mirror = mirror;
    c.group = group;
    c.canvas = canvas;
    // The segment p1 draws in the pointer's own cell, which ends at the pointer.
    const Segment own{static_cast<float>(x - to.x + s.PatternSXY.x), static_cast<float>(y - to.y + s.PatternSXY.y),
                      static_cast<float>(x), static_cast<float>(y)};
    StrokeStep step = copiesOf(c, own);
    // A p1 step cut short by 16 bits keeps the stroke's point where it was.
    if (group != kP1 || !step.overflow)
        s.PatternSXY = to;
    return step;
}

}  // namespace kalidor
