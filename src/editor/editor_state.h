#pragma once
// All of the editor's state, in one record owned by the main window. Every
// field is zero when the window is created; start-up gives the working values.

#include <array>
#include <vector>

#include "platform/colour.h"
#include "platform/int16.h"

namespace kalidor {

// Values of `Mode`.
constexpr int16 kNormal = 0;
constexpr int16 kCentric = 1;
constexpr int16 kPattern = 2;
constexpr int16 kColourPick = 3;

struct Point16 {
    int16 x = 0;
    int16 y = 0;
    friend bool operator==(const Point16&, const Point16&) = default;
};

struct Cell16 {
    int16 column = 0;
    int16 row = 0;
    friend bool operator==(const Cell16&, const Cell16&) = default;
};

constexpr int kPaletteColumns = 4;
constexpr int kPaletteRows = 15;

struct EditorState {
    int16 CenterX = 0;  // centre of rotation of Centric mode
    int16 CenterY = 0;
    int16 PatternX = 0;  // the pattern point: width and height of a pattern cell
    int16 PatternY = 0;
    int16 CellsX = 0;  // last column and row of the pattern's cell loop
    int16 CellsY = 0;
    int16 Mode = kNormal;
    int16 PrevMode = kNormal;  // the drawing mode colour pick returns to
    // The N end points of a Centric stroke, rows 1..N kept at 0..N-1; no rows
    // until the first Centric set-up.
    std::vector<Point16> SXY;
    float DAlfa = 0;          // angle step of Centric mode, radians
    Point16 PatternSXY;       // last point of a Pattern stroke, relative to its cell
    Cell16 PatternCell;       // cell of the current Pattern stroke, 1-based
    int16 ChessPhase = 0;     // parity of the cells Chess drawing paints
    Point16 LastXY;           // Normal mode's last point
    std::array<std::array<Colour, kPaletteRows>, kPaletteColumns> Colors{};  // [column][row]
    int16 PalSelX = 0;        // the selected swatch
    int16 PalSelY = 0;
};

// The drawing mode in force: in colour pick, the one it returns to.
inline int16 drawingMode(const EditorState& s) { return s.Mode == kColourPick ? s.PrevMode : s.Mode; }

}  // namespace kalidor
