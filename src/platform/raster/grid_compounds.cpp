#include "platform/raster/grid_compounds.h"

#include <algorithm>

namespace kalidor {

namespace {

// Counts the copies along one axis from the other end, so that the step is
// positive; the first copy becomes the last, which may change its parity.
void reverse(int& step, int count, int& phase)
{
    step = -step;
    phase ^= (count - 1) & 1;
}

// The same copies with positive steps; a zero step stacks copies, so it folds to one.
SegmentGrid normalised(SegmentGrid g)
{
    if (g.stepX < 0) {
        shiftFirst(g, static_cast<long long>(g.columns - 1) * g.stepX, 0);
        reverse(g.stepX, g.columns, g.phase);
    }
    if (g.stepY < 0) {
        shiftFirst(g, 0, static_cast<long long>(g.rows - 1) * g.stepY);
        reverse(g.stepY, g.rows, g.phase);
    }
    // Two stacked copies of different parity mean every row (or column) has one.
    if (g.stepX == 0) {
        if (g.columns > 1) {
            g.columns = 1;
            g.chess = false;
        }
        g.stepX = 1;
    }
    if (g.stepY == 0) {
        if (g.rows > 1) {
            g.rows = 1;
            g.chess = false;
        }
        g.stepY = 1;
    }
    g.phase &= 1;
    return g;
}

// A grid's copies from column `c` and row `r` on.
SegmentGrid rest(SegmentGrid g, int c, int r)
{
    shiftFirst(g, static_cast<long long>(c) * g.stepX, static_cast<long long>(r) * g.stepY);
    g.phase ^= (c + r) & 1;
    g.columns -= c;
    g.rows -= r;
    return g;
}

// Whether copies of `g` that it does not have, up to `columns` by `rows`, would
// reach into the clip.
bool reaches(const SegmentGrid& g, int columns, int rows, int width, const ClipRect& clip)
{
    const long long pad = width / 2 + 1;
    const Segment& f = g.first;
    const long long x0 = static_cast<long long>(std::min(f.x1, f.x2)) - pad;
    const long long x1 = static_cast<long long>(std::max(f.x1, f.x2)) + pad;
    const long long y0 = static_cast<long long>(std::min(f.y1, f.y2)) - pad;
    const long long y1 = static_cast<long long>(std::max(f.y1, f.y2)) + pad;
    auto meets = [&](long long c0, long long c1, long long r0, long long r1) {
        return c0 <= c1 && r0 <= r1 && x0 + c0 * g.stepX <= clip.x1 && x1 + c1 * g.stepX >= clip.x0 &&
               y0 + r0 * g.stepY <= clip.y1 && y1 + r1 * g.stepY >= clip.y0;
    };
    return meets(g.columns, columns - 1, 0, rows - 1) || meets(0, columns - 1, g.rows, rows - 1);
}

}  // namespace

namespace {

struct Left {
    SegmentGrid grid;
    int index;  // in the grids given
};

// Grids with Chess are alike where their cells of one parity coincide.
bool alike(const SegmentGrid& lead, const SegmentGrid& g)
{
    return &lead == &g || (g.chess == lead.chess && (!g.chess || g.phase == lead.phase) && g.stepX == lead.stepX &&
                           g.stepY == lead.stepY);
}

// The grid of the compound led by left[0]: the copies all the grids alike
// have, or the most any has where those the others lack are all unseen.
SegmentGrid compoundGrid(const std::vector<Left>& left, int width, const ClipRect& clip)
{
    const SegmentGrid& lead = left.front().grid;
    SegmentGrid least = lead;
    SegmentGrid most = lead;
    for (const Left& l : left)
        if (alike(lead, l.grid)) {
            least.columns = std::min(least.columns, l.grid.columns);
            least.rows = std::min(least.rows, l.grid.rows);
            most.columns = std::max(most.columns, l.grid.columns);
            most.rows = std::max(most.rows, l.grid.rows);
        }
    // Copies that a shorter grid lacks may be drawn all the same where they
    // fall outside the clip, as the last cells of a pattern do.
    for (const Left& l : left)
        if (alike(lead, l.grid) && reaches(l.grid, most.columns, most.rows, width, clip))
            return least;
    return most;
}

}  // namespace

std::vector<Compound> compounds(std::span<const SegmentGrid> grids, int width, const ClipRect& clip)
{
    std::vector<Left> left;
    for (std::size_t i = 0; i < grids.size(); ++i)
        if (grids[i].columns > 0 && grids[i].rows > 0)
            left.push_back(Left{normalised(grids[i]), static_cast<int>(i)});
    std::vector<int> partOf(grids.size(), -1);  // of the compound being made, by grid
    std::vector<Compound> out;
    while (!left.empty()) {
        Compound c{compoundGrid(left, width, clip), {}};
        std::fill(partOf.begin(), partOf.end(), -1);
        std::vector<Left> others;
        for (const Left& l : left) {
            const SegmentGrid& g = l.grid;
            if (!alike(left.front().grid, g)) {
                others.push_back(l);
                continue;
            }
            // A grid whose copy turns another's over keeps that as a part's turns.
            const int turns = g.mirrors >= 0 && g.mirrors < static_cast<int>(grids.size()) ? partOf[static_cast<std::size_t>(g.mirrors)] : -1;
            partOf[static_cast<std::size_t>(l.index)] = static_cast<int>(c.parts.size());
            c.parts.push_back(CopyPart{g.first, turns, g.moved});
            // What it has beyond the compound's columns and rows is a grid of its own.
            if (g.columns > c.grid.columns) {
                SegmentGrid right = rest(g, c.grid.columns, 0);
                right.rows = c.grid.rows;
                out.push_back(Compound{right, {CopyPart{right.first, -1, right.moved}}});
            }
            if (g.rows > c.grid.rows) {
                const SegmentGrid below = rest(g, 0, c.grid.rows);
                out.push_back(Compound{below, {CopyPart{below.first, -1, below.moved}}});
            }
        }
        out.push_back(std::move(c));
        left = std::move(others);
    }
    return out;
}

}  // namespace kalidor
