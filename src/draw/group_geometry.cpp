#include "draw/group_geometry.h"

#include <algorithm>
#include <cmath>

#include "draw/lattice_period.h"

namespace kalidor {

namespace {

// An odd width's ends lie on pixel centres, an even one's on pixel corners.
double endOffset(int pen) { return (pen & 1) != 0 ? 0.5 : 0.0; }

// The operation p -> M p + t on places as it acts on the ends of lines whose
// ends lie h beyond their places' pixel corners: e -> M e + t + (M - 1) h.
PointOp onEnds(PointOp op, double h)
{
    op.tx += (op.xx + op.xy - 1) * h;
    op.ty += (op.yx + op.yy - 1) * h;
    return op;
}

struct Box {
    double x0, y0, x1, y1;
};

Box extent(const Segment& s, double pad)
{
    return {std::min(s.x1, s.x2) - pad, std::min(s.y1, s.y2) - pad, std::max(s.x1, s.x2) + pad,
            std::max(s.y1, s.y2) + pad};
}

// Lattice translations (k, j), both ends included.
struct Cells {
    long long k0, k1, j0, j1;
    bool empty() const { return k0 > k1 || j0 > j1; }
};

// The translations whose copy of the box meets the canvas: the rows of cells
// by y (the first vector runs along x), then the columns at the first and the
// last row (the second vector leans one way only, so they bound every row's).
Cells cellsReaching(const Box& b, const CellVectors& c, const GroupCanvas& canvas)
{
    Cells cells{0, -1, static_cast<long long>(std::ceil(-b.y1 / c.by)),
                static_cast<long long>(std::floor((canvas.height - b.y0) / c.by))};
    if (cells.j0 > cells.j1)
        return cells;
    auto first = [&](long long j) { return static_cast<long long>(std::ceil((-b.x1 - j * c.bx) / c.ax)); };
    auto last = [&](long long j) { return static_cast<long long>(std::floor((canvas.width - b.x0 - j * c.bx) / c.ax)); };
    cells.k0 = std::min(first(cells.j0), first(cells.j1));
    cells.k1 = std::max(last(cells.j0), last(cells.j1));
    return cells;
}

Cells joined(const Cells& a, const Cells& b)
{
    if (a.empty())
        return b;
    if (b.empty())
        return a;
    return {std::min(a.k0, b.k0), std::max(a.k1, b.k1), std::min(a.j0, b.j0), std::max(a.j1, b.j1)};
}

// The cell (k, j) that holds the place p.
void cellOf(const CellVectors& c, double px, double py, long long& k, long long& j)
{
    const double det = c.ax * c.by - c.bx * c.ay;
    const double fx = (c.by * px - c.bx * py) / det;
    const double fy = (c.ax * py - c.ay * px) / det;
    k = static_cast<long long>(std::floor(fx));
    j = static_cast<long long>(std::floor(fy));
}

}  // namespace

StrokeStep groupStep(const WallpaperGroup& group, int16 patternX, int16 patternY, bool chess,
                     const Segment& segment, const GroupCanvas& canvas)
{
    StrokeStep step;
    const CellVectors c = latticePeriod(group, patternX, patternY, chess).cell;
    const std::vector<PointOp> ops = pixelOps(group, c);
    if (ops.empty() || c.ax <= 0 || c.by <= 0 || canvas.width <= 0 || canvas.height <= 0)
        return step;
    const double h = endOffset(canvas.pen);
    // Each operation acts on the segment as it lies in the pointer's cell
    // (k0, j0) moved back to cell (0, 0): e -> M (e - T0) + t.
    long long k0 = 0, j0 = 0;
    cellOf(c, segment.x2 + h, segment.y2 + h, k0, j0);
    const double t0x = k0 * c.ax + j0 * c.bx, t0y = k0 * c.ay + j0 * c.by;
    // Beyond where the copy's pixels may reach, by a pixel more than the
    // pixel engine asks of copies it repeats along the rows.
    const double pad = canvas.pen / 2 + 3;
    Cells cells{0, -1, 0, -1};
    for (PointOp& op : step.symmetry.ops = ops) {
        op = onEnds(op, h);
        op.tx -= op.xx * t0x + op.xy * t0y;
        op.ty -= op.yx * t0x + op.yy * t0y;
        cells = joined(cells, cellsReaching(extent(op.place(segment), pad), c, canvas));
    }
    if (cells.empty())
        return step;
    // The lattice's cells count from the first that reaches the canvas.
    const double fromX = cells.k0 * c.ax + cells.j0 * c.bx, fromY = cells.k0 * c.ay + cells.j0 * c.by;
    for (PointOp& op : step.symmetry.ops) {
        op.tx += fromX;
        op.ty += fromY;
    }
    Lattice& l = step.symmetry.lattice;
    l.ax = c.ax;
    l.ay = c.ay;
    l.bx = c.bx;
    l.by = c.by;
    l.columns = static_cast<int>(cells.k1 - cells.k0 + 1);
    l.rows = static_cast<int>(cells.j1 - cells.j0 + 1);
    l.chess = chess;
    l.phase = cellParity(k0 + j0 + cells.k0 + cells.j0, 0);
    l.fillsRows = true;
    step.symmetry.movesPixels = group.lattice != LatticeShape::Hexagonal;
    step.shapes.push_back(segment);
    return step;
}

}  // namespace kalidor
