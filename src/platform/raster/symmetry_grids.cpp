#include "platform/raster/symmetry_grids.h"

#include <algorithm>
#include <cmath>

namespace kalidor {

namespace {

bool fitsInt(double v) { return std::abs(v) < (1 << 30); }

// The grid's cells before the lattice's end, as drawn row by row: the rows
// before the end's row, then that row up to the end's column.
void cutAtEnd(const SegmentGrid& g, const Lattice& l, std::vector<SegmentGrid>& out)
{
    if (l.endRow >= g.rows) {
        out.push_back(g);
        return;
    }
    SegmentGrid before = g;
    before.rows = std::max(l.endRow, 0);
    SegmentGrid part = g;
    part.rows = 1;
    part.columns = std::min(l.endColumn, g.columns);
    part.phase = g.phase ^ (l.endRow & 1);
    shiftFirst(part, 0, static_cast<long long>(l.endRow) * g.stepY);
    for (const SegmentGrid& piece : {before, part})
        if (piece.rows > 0 && piece.columns > 0)
            out.push_back(piece);
}

}  // namespace

namespace {

Segment rounded(const Segment& s)
{
    auto r = [](float v) { return std::floor(v + 0.5f); };
    return {r(s.x1), r(s.y1), r(s.x2), r(s.y2)};
}

// The first copy of the operation's grid: drawn from its mapped ends, or where
// the symmetry moves pixels, the shape's own pixels moved.
void firstCopy(SegmentGrid& g, const PointOp& op, const Segment& shape, const Symmetry& symmetry, int width)
{
    if (!symmetry.movesPixels || !op.permutesAxes()) {
        g.first = op.apply(shape);
        return;
    }
    g.first = rounded(op.apply(shape));
    const PixelMap map = pixelMap(op, width);
    if (map != PixelMap{})
        g.moved = PixelMove{shape, map};
}

// A lattice along the axes: each operation's shape one grid over all the cells.
void axisGrids(std::span<const Segment> shapes, const Symmetry& symmetry, int width, std::vector<SegmentGrid>& out)
{
    const Lattice& l = symmetry.lattice;
    const std::size_t first = out.size();
    const PointOp& lead = symmetry.ops.front();
    const bool cut = l.endRow < std::max(l.rows, 1);
    for (const PointOp& op : symmetry.ops)
        for (std::size_t k = 0; k < shapes.size(); ++k) {
            SegmentGrid g;
            firstCopy(g, op, shapes[k], symmetry, width);
            g.stepX = static_cast<int>(l.ax);
            g.stepY = static_cast<int>(l.by);
            g.columns = l.columnsOf(op);
            g.rows = l.rowsOf(op);
            g.chess = l.chess;
            g.phase = l.phase;
            // The first operation's grids come first, one for each shape.
            if (&op != &lead && !cut && !g.moved && op.axisTurn() && lead.axisTurn())
                g.mirrors = static_cast<int>(first + k);
            cutAtEnd(g, l, out);
        }
}

// A lattice whose second vector is not along the y axis by whole pixels (a
// hexagonal one): each row of cells a grid of its own, whose first copy is
// placed exactly and rounded; the rest of the row is that copy moved on by
// whole steps.
void rowGrids(std::span<const Segment> shapes, const Symmetry& symmetry, std::vector<SegmentGrid>& out)
{
    const Lattice& l = symmetry.lattice;
    for (const PointOp& op : symmetry.ops)
        for (const Segment& shape : shapes) {
            for (int j = 0; j < l.rowsOf(op) && j <= l.endRow; ++j) {
                double dx = 0, dy = 0;
                l.move(0, j, dx, dy);
                SegmentGrid g;
                g.first = op.place(shape, dx, dy);
                g.stepX = static_cast<int>(l.ax);
                g.stepY = 1;
                g.columns = j == l.endRow ? std::min(l.endColumn, l.columnsOf(op)) : l.columnsOf(op);
                g.rows = 1;
                g.chess = l.chess;
                g.phase = l.phase ^ (j & 1);
                if (g.columns > 0)
                    out.push_back(g);
            }
        }
}

}  // namespace

bool latticeGrids(std::span<const Segment> shapes, const Symmetry& symmetry, int width, std::vector<SegmentGrid>& out)
{
    const Lattice& l = symmetry.lattice;
    if (l.endRow < 0 || symmetry.ops.empty())
        return false;
    if (l.axisAligned() && fitsInt(l.ax) && fitsInt(l.by)) {
        axisGrids(shapes, symmetry, width, out);
        return true;
    }
    if (l.ay == 0 && l.ax == std::floor(l.ax) && fitsInt(l.ax) && fitsInt(l.bx) && fitsInt(l.by)) {
        rowGrids(shapes, symmetry, out);
        return true;
    }
    return false;
}

}  // namespace kalidor
