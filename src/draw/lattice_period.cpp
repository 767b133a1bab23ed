#include "draw/lattice_period.h"

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

}  // namespace kalidor
