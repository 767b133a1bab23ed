#include "draw/pattern.h"

#include "draw/step_segments.h"

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

    drawStep(*e.ui.pb, well->BackColor(), [&](std::vector<Segment>& segments) {
        // Plain int counters: the loop runs up to CellsY and CellsX inclusive,
        // which may be the largest int16.
        for (int r = 0; r <= s.CellsY; ++r) {
            for (int c = 0; c <= s.CellsX; ++c) {
                // "Chess" is read for every cell, as drawing it one by one would.
                if (e.ui.cbChess.Value() != 0 && ((r + c) & 1) != s.ChessPhase)
                    continue;
                const int16 ox = cellOrigin(c, s.PatternX);
                const int16 x1 = i16::add(ox, s.PatternSXY.x);
                const int16 oy = cellOrigin(r, s.PatternY);
                const int16 y1 = i16::add(oy, s.PatternSXY.y);
                segments.push_back({static_cast<float>(x1), static_cast<float>(y1),
                                    static_cast<float>(i16::add(ox, to.x)), static_cast<float>(i16::add(oy, to.y))});
            }
        }
    });
    s.PatternSXY = to;
}

}  // namespace kalidor
