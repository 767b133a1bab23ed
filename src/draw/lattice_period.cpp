#include "draw/lattice_period.h"

#include <cmath>

namespace kalidor {

LatticePeriod latticePeriod(const WallpaperGroup& group, int16 patternX, int16 patternY, bool chess, bool mirror)
{
    LatticePeriod period;
    if (&group != &wallpaperGroup(kP1)) {
        period.cell = cellVectors(group.lattice, patternX, patternY);
        period.chess = chess;
        return period;
    }
    const double quilt = mirror ? 2 : 1;
    period.cell = CellVectors{quilt * patternX, 0, 0, quilt * patternY};
    period.chess = chess && !mirror;
    return period;
}

TileSize tileSize(const LatticePeriod& period)
{
    const CellVectors& c = period.cell;
    const double across = std::abs(c.ax), down = std::abs(c.by);
    if (across == 0 || down == 0 || c.ay != 0)
        return {};
    // The first translation straight down: b itself, or 2 b + a where b leans
    // half a cell (the hexagonal lattice).
    int rows = 1, columns = 0;
    if (c.bx != 0) {
        if (std::abs(2 * c.bx) != across)
            return {};
        rows = 2;
        columns = 1;
    }
    const int chessAcross = period.chess ? 2 : 1;
    const int chessDown = period.chess && (rows + columns) % 2 != 0 ? 2 : 1;
    return {static_cast<int>(across) * chessAcross, static_cast<int>(down) * rows * chessDown};
}

}  // namespace kalidor
