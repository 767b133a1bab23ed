// A step's copies with soft edges. Each copy is the step's shape at the
// copy's exact place: where the copy's operation maps pixels onto pixels (a
// mirror along an axis or a diagonal, a quarter or half turn, a shift by whole
// pixels), it is the shape's own coverage moved, so the picture is exactly as
// symmetric as the operations in every colour value; elsewhere it is the
// shape drawn at its mapped place, the part off whole pixels rounded to a
// quarter pixel so that a lattice's copies share a few drawings moved by
// whole pixels. A lattice of many copies over the whole canvas is laid into
// one period first, then repeated.
#include <climits>
#include <cmath>

#include "platform/raster/lattice_repeat.h"
#include "platform/raster/raster_surface.h"
#include "platform/raster/smooth_drawings.h"

namespace kalidor {

namespace {

bool whole(double v) { return v == std::floor(v) && std::abs(v) < 1e9; }

// Whether the operation maps pixel centres onto pixel centres, and how.
std::optional<PixelMap> pixelsOf(const PointOp& op)
{
    if (!op.permutesAxes() || !whole(op.tx) || !whole(op.ty))
        return std::nullopt;
    return PixelMap{static_cast<int>(op.xx), static_cast<int>(op.xy), static_cast<int>(op.yx),
                    static_cast<int>(op.yy), static_cast<long long>(op.tx), static_cast<long long>(op.ty)};
}

// The pixels a map takes into the rectangle: the rectangle mapped back.
QRect cameFrom(const PixelMap& m, const QRect& r)
{
    // The inverse of an axis permutation is its transpose.
    const PixelMap back{m.xx, m.yx, m.xy, m.yy, 0, 0};
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    for (const QPoint p : {r.topLeft(), r.bottomRight()}) {
        const long long qx = p.x() - m.ox, qy = p.y() - m.oy;
        const auto x = static_cast<int>(back.xx * qx + back.xy * qy), y = static_cast<int>(back.yx * qx + back.yy * qy);
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace

const Coverage& SmoothDrawings::at(std::size_t op, std::size_t shape, int px, int py, const PointOp::Ends& placed,
                                   double width, const int* limit)
{
    for (const Drawn& d : drawn)
        if (d.op == op && d.shape == shape && d.phaseX == px && d.phaseY == py)
            return d.coverage;
    drawn.push_back(Drawn{op, shape, px, py, {}});
    const double dx = static_cast<double>(px) / kPhases, dy = static_cast<double>(py) / kPhases;
    capsuleCoverage({placed[0] + dx, placed[1] + dy, placed[2] + dx, placed[3] + dy}, width, drawn.back().coverage,
                    limit);
    return drawn.back().coverage;
}

void RasterSurface::SetSmooth(bool smooth)
{
    smooth_ = smooth;
    stroke_ = SmoothStroke();  // a stroke's shape ends here
}

void RasterSurface::paintSmooth(std::span<const Segment> shapes, const Symmetry& symmetry, Colour c)
{
    PixelWriter& writer = picture_.writer();
    const QImage& kept = picture_.kept();
    // Anything else written since the stroke last drew (or a new size) starts
    // a new shape: what the stroke found there is no longer under it.
    if (stroke_.leftAt != static_cast<long long>(writer.writes()) || stroke_.width() != kept.width() ||
        stroke_.height() != kept.height())
        stroke_.start(kept.width(), kept.height());
    if (!smoothScratch_)
        smoothScratch_ = std::make_unique<SmoothDrawings>();
    SmoothDrawings& s = *smoothScratch_;
    s.drawn.clear();
    const ClipRect cl = clip();
    const QRect reach(QPoint(cl.x0, cl.y0), QPoint(cl.x1, cl.y1));
    {
        PixelWriter::Call call(writer, ink(c), !symmetry.oneCell());
        if (symmetry.oneCell())
            smoothCopies(shapes, symmetry, reach, call, true);
        else if (!smoothPeriod(shapes, symmetry, reach, call))
            smoothCopies(shapes, symmetry, reach, call, false);
    }
    stroke_.leftAt = static_cast<long long>(writer.writes());
}

const Coverage& RasterSurface::smoothDrawing(std::size_t o, std::size_t k, const Segment& shape, const PointOp& op,
                                             int px, int py, const QRect* limit)
{
    SmoothDrawings& s = *smoothScratch_;
    const double width = drawWidth_;
    const QRect around = limit ? limit->adjusted(-2, -2, 2, 2) : QRect();
    if (const std::optional<PixelMap> map = pixelsOf(op); map && px == 0 && py == 0) {
        // Only what some operation takes within the limit is drawn: the
        // shape's own drawing serves them all.
        const QRect from = limit ? ownLimit_ : QRect();
        const int bounds[4] = {from.left(), from.top(), from.right(), from.bottom()};
        const Coverage& own = s.at(SIZE_MAX, k, 0, 0, {shape.x1, shape.y1, shape.x2, shape.y2}, width,
                                   limit ? bounds : nullptr);
        if (*map == PixelMap{})
            return own;
        // Moved once a step, kept as this operation's drawing at no phase.
        for (const SmoothDrawings::Drawn& d : s.drawn)
            if (d.op == o && d.shape == k && d.phaseX == 0 && d.phaseY == 0)
                return d.coverage;
        s.drawn.push_back(SmoothDrawings::Drawn{o, k, 0, 0, {}});
        movedCoverage(own, *map, s.drawn.back().coverage);
        return s.drawn.back().coverage;
    }
    const int bounds[4] = {around.left(), around.top(), around.right(), around.bottom()};
    return s.at(o, k, px, py, op.ends(shape), width, limit ? bounds : nullptr);  // exact, unrounded
}

void RasterSurface::smoothCopies(std::span<const Segment> shapes, const Symmetry& symmetry, const QRect& reach,
                                 PixelWriter::Call& call, bool oneCell)
{
    ownLimit_ = QRect();
    for (const PointOp& op : symmetry.ops)
        if (const std::optional<PixelMap> map = pixelsOf(op))
            ownLimit_ |= cameFrom(*map, reach.adjusted(-2, -2, 2, 2));
    for (std::size_t o = 0; o < symmetry.ops.size(); ++o) {
        const PointOp& op = symmetry.ops[o];
        const bool pixels = pixelsOf(op).has_value();
        for (std::size_t k = 0; k < shapes.size(); ++k) {
            const Coverage* moved = nullptr;  // the operation's pixels, made at the first whole move
            forEachCell(symmetry.lattice, op, [&](int, int, double dx, double dy) {
                if (pixels && whole(dx) && whole(dy)) {
                    if (!moved)
                        moved = &smoothDrawing(o, k, shapes[k], op, 0, 0, oneCell ? &reach : nullptr);
                    call.coverage(*moved, static_cast<int>(dx), static_cast<int>(dy), stroke_, reach);
                    return;
                }
                // The move split into whole pixels and a phase.
                const double qx = std::round(dx * kPhases), qy = std::round(dy * kPhases);
                const double ix = std::floor(qx / kPhases), iy = std::floor(qy / kPhases);
                const int px = static_cast<int>(qx - ix * kPhases), py = static_cast<int>(qy - iy * kPhases);
                const Coverage& drawn = smoothDrawing(o, k, shapes[k], op, px, py, oneCell ? &reach : nullptr);
                call.coverage(drawn, static_cast<int>(ix), static_cast<int>(iy), stroke_, reach);
            });
        }
    }
}

bool RasterSurface::latticeCoversReach(std::span<const Segment> shapes, const Symmetry& symmetry, const QRect& reach)
{
    const Lattice& l = symmetry.lattice;
    const int ax = static_cast<int>(l.ax), by = static_cast<int>(l.by);
    for (std::size_t o = 0; o < symmetry.ops.size(); ++o) {
        const PointOp& op = symmetry.ops[o];
        if (op.columns >= 0 || op.rows >= 0)
            return false;
        for (std::size_t k = 0; k < shapes.size(); ++k) {
            const Coverage& d = smoothDrawing(o, k, shapes[k], op, 0, 0, nullptr);
            // Every copy the endless lattice would put on the canvas is one
            // of its cells: none before the first or past the last of a row.
            // Within the soft fringe of the pen, a copy the lattice leaves out
            // (it keeps those whose line reaches the canvas) may be laid too,
            // and a cell at the ends of a hexagonal lattice's slanting rows.
            const int slack = drawWidth_ / 2 + 3 + (l.bx != 0 ? ax : 0);
            for (const int j : {0, l.rows - 1}) {
                const double shift = j * l.bx;
                if (d.x0 + d.width - 1 + shift - ax >= reach.left() + slack ||
                    d.x0 + shift + double(l.columns) * ax <= reach.right() - slack)
                    return false;
            }
            if (d.y0 + d.height - 1 - by >= reach.top() + slack ||
                d.y0 + static_cast<long long>(l.rows) * by <= reach.bottom() - slack)
                return false;
        }
    }
    return true;
}

bool RasterSurface::smoothPeriod(std::span<const Segment> shapes, const Symmetry& symmetry, const QRect& reach,
                                 PixelWriter::Call& call)
{
    const Lattice& l = symmetry.lattice;
    const std::optional<QSize> repeat = latticeRepeat(l);
    if (!repeat)
        return false;
    const int ax = static_cast<int>(l.ax), by = static_cast<int>(l.by);
    const int across = l.chess ? 2 : 1, m = repeat->height() / by;
    SmoothDrawings& s = *smoothScratch_;
    if (!latticeCoversReach(shapes, symmetry, reach))
        return false;
    // Worth it beyond a few cells: a stroke's later steps lay only what they add.
    const long long cells = std::min<long long>(l.columns, reach.width() / ax + 2) *
                            std::min<long long>(l.rows, reach.height() / by + 2) / across;
    if (cells < 16)
        return false;
    s.tile.reset(ax * across, by * m);
    for (std::size_t o = 0; o < symmetry.ops.size(); ++o)
        for (std::size_t k = 0; k < shapes.size(); ++k)
            for (int j = 0; j < m; ++j)
                for (int i = 0; i < across; ++i) {
                    if (l.chess && cellParity(i, j) != (l.phase & 1))
                        continue;
                    const double dx = i * l.ax + j * l.bx, dy = j * l.by;
                    const double qx = std::round(dx * kPhases), ix = std::floor(qx / kPhases);
                    const int px = static_cast<int>(qx - ix * kPhases);
                    const Coverage& d = smoothDrawing(o, k, shapes[k], symmetry.ops[o], px, 0, nullptr);
                    s.tile.lay(d, static_cast<long long>(ix), static_cast<long long>(dy));
                }
    // Only what this step adds to the stroke's own period is laid again.
    stroke_.addToPeriod(s.tile, reach);
    s.tile.findSpans();
    call.coverage(s.tile, stroke_, reach);
    return true;
}

}  // namespace kalidor
