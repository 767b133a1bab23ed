#include "platform/raster/lattice_repeat.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace kalidor {

namespace {

bool whole(double v) { return v == std::floor(v) && std::abs(v) < 1e9; }

}  // namespace

std::optional<QSize> latticeRepeat(const Lattice& l)
{
    if (l.ay != 0 || !whole(l.ax) || !whole(l.by) || l.ax <= 0 || l.by <= 0 || l.endRow != INT_MAX || l.ax > 4096 ||
        l.by > 4096)
        return std::nullopt;
    // The rows of cells repeat straight down after m rows, moved back t cells
    // across; with Chess, only after an even number of cells in all.
    int m = 0, t = 0;
    for (const int rows : {1, 2, 4})
        if (const double cells = -rows * l.bx / l.ax; whole(cells) && m == 0)
            m = rows, t = static_cast<int>(cells);
    if (m == 0)
        return std::nullopt;
    if (l.chess && (m + t) % 2 != 0)
        m *= 2;
    return QSize(static_cast<int>(l.ax) * (l.chess ? 2 : 1), static_cast<int>(l.by) * m);
}

QRect cleanPart(std::span<const Segment> shapes, const Symmetry& symmetry, double width, double slack,
                const QRect& reach)
{
    const Lattice& l = symmetry.lattice;
    if (l.by <= 0 || l.rows <= 0)
        return QRect();
    const double pad = width / 2 + slack;
    // The cells one before the first and one past the last, across and
    // down, reach no further in than these.
    double left = reach.left(), right = reach.right(), top = reach.top(), bottom = reach.bottom();
    for (const PointOp& op : symmetry.ops) {
        if (op.columns >= 0 || op.rows >= 0)
            return QRect();
        for (const Segment& shape : shapes) {
            const PointOp::Ends e = op.ends(shape);
            const double x0 = std::min(e[0], e[2]) - pad, x1 = std::max(e[0], e[2]) + pad;
            const double y0 = std::min(e[1], e[3]) - pad, y1 = std::max(e[1], e[3]) + pad;
            // The rows of cells that reach the rows of `reach`; a slanting
            // lattice's rows lie furthest apart at the first and last of them.
            const int j0 = std::clamp(static_cast<int>(std::floor((reach.top() - y1) / l.by)), 0, l.rows - 1);
            const int j1 = std::min(l.rows - 1, static_cast<int>(std::ceil((reach.bottom() - y0) / l.by)));
            for (const int j : {j0, std::max(j0, j1)}) {
                const double shift = j * l.bx;
                left = std::max(left, std::floor(x1 + shift - l.ax) + 1);
                right = std::min(right, std::ceil(x0 + shift + l.columns * l.ax) - 1);
            }
            top = std::max(top, std::floor(y1 - l.by) + 1);
            bottom = std::min(bottom, std::ceil(y0 + l.rows * l.by) - 1);
        }
    }
    if (left > right || top > bottom)
        return QRect();
    return QRect(QPoint(static_cast<int>(left), static_cast<int>(top)), QPoint(static_cast<int>(right), static_cast<int>(bottom)));
}

}  // namespace kalidor
