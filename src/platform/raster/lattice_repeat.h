#pragma once
// Where a lattice's copies repeat by whole pixels: the least rectangle whose
// moves across and down map the lattice's cells (and their Chess parity) onto
// its cells, and whether the lattice's cells are all the copies the endless
// lattice would put on a part of the picture, so that the picture's copies
// there repeat by that rectangle.

#include <optional>
#include <span>

#include <QRect>
#include <QSize>

#include "platform/symmetry.h"

namespace kalidor {

// The repeat of a lattice whose first step is across by whole pixels and whose
// rows of cells come back straight down after 1, 2 or 4 rows (a hexagonal
// lattice: 2), doubled where Chess needs it; none elsewhere, or where the
// lattice is cut short.
std::optional<QSize> latticeRepeat(const Lattice& l);

// The part of `reach` where no cell before the first or past the last of a
// row or column would put pixels of a copy (of a row of cells, those that
// reach the rows of `reach`), for copies no further from their
// shape's exact place than `slack` beyond half the width: there the lattice's
// copies are the endless lattice's, which repeat. Empty where an operation
// takes fewer cells than the lattice has.
QRect cleanPart(std::span<const Segment> shapes, const Symmetry& symmetry, double width, double slack,
                const QRect& reach);

}  // namespace kalidor
