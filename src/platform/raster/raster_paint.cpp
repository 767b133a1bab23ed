// How a step's copies reach the pixels: each copy drawn in turn where they are
// few, or the union of a lattice of copies in one pass.
#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

#include "platform/raster/copy_shape.h"
#include "platform/raster/grid_raster.h"
#include "platform/raster/pixel_index.h"
#include "platform/raster/pixel_runs.h"
#include "platform/raster/raster_surface.h"
#include "platform/raster/symmetry_grids.h"

namespace kalidor {

namespace {

bool whole(float v) { return v == std::floor(v) && std::abs(v) <= kFar; }
bool whole(const Segment& s) { return whole(s.x1) && whole(s.y1) && whole(s.x2) && whole(s.y2); }

// Whether every copy of the grid lies on whole pixels within reach, where
// moving a segment by whole pixels moves its pixels exactly.
bool onWholePixels(const SegmentGrid& g)
{
    const Segment& f = g.first;
    const double lastX = static_cast<double>(g.columns - 1) * g.stepX;
    const double lastY = static_cast<double>(g.rows - 1) * g.stepY;
    for (const float v : {f.x1, f.x2}) {
        if (!whole(v) || std::abs(v + lastX) > kFar)
            return false;
    }
    for (const float v : {f.y1, f.y2}) {
        if (!whole(v) || std::abs(v + lastY) > kFar)
            return false;
    }
    return true;
}

// About how many copies of the grids fall on a canvas of that size.
long long copiesInView(std::span<const SegmentGrid> grids, int width, int height)
{
    long long copies = 0;
    for (const SegmentGrid& g : grids) {
        const long long columns = std::min<long long>(g.columns, width / std::max(1, std::abs(g.stepX)) + 2);
        const long long rows = std::min<long long>(g.rows, height / std::max(1, std::abs(g.stepY)) + 2);
        copies += std::max<long long>(columns, 0) * std::max<long long>(rows, 0) / (g.chess ? 2 : 1);
    }
    return copies;
}

// Whether the segment, drawn `width` wide, lies wholly within the clip, so that
// its pixels there are all its pixels.
bool within(const Segment& s, int width, const ClipRect& clip)
{
    const double pad = width / 2 + 1;
    return std::min(s.x1, s.x2) - pad >= clip.x0 && std::max(s.x1, s.x2) + pad <= clip.x1 &&
           std::min(s.y1, s.y2) - pad >= clip.y0 && std::max(s.y1, s.y2) + pad <= clip.y1;
}

void clipSpans(std::vector<Span>& spans, const ClipRect& clip)
{
    std::size_t kept = 0;
    for (Span s : spans) {
        s.x0 = std::max(s.x0, clip.x0);
        s.x1 = std::min(s.x1, clip.x1);
        if (s.y >= clip.y0 && s.y <= clip.y1 && s.x0 <= s.x1)
            spans[kept++] = s;
    }
    spans.resize(kept);
}

}  // namespace

void RasterSurface::paintNow(std::span<const Segment> shapes, const Symmetry& symmetry, Colour c)
{
    if (smooth_ && drawMode_ == kCopyPen) {
        paintSmooth(shapes, symmetry, c);
        return;
    }
    // Moved pixels are made by the grids; one cell is a grid of one copy.
    if (symmetry.oneCell() && !symmetry.movesPixels) {
        const Lattice& l = symmetry.lattice;
        ops_.clear();
        for (const PointOp& op : symmetry.ops)
            if (l.has(0, 0) && l.columnsOf(op) > 0 && l.rowsOf(op) > 0)
                ops_.push_back(op);
        paintCopies(shapes, ops_, c);
        return;
    }
    if (repeatingRows(shapes, symmetry, c))
        return;
    grids_.clear();
    if (latticeGrids(shapes, symmetry, drawWidth_, grids_)) {
        GridLines(grids_, c);
        return;
    }
    copies_.clear();
    expandCopies(shapes, symmetry, copies_);
    Lines(copies_, c);
}

void RasterSurface::Lines(std::span<const Segment> segments, Colour c)
{
    static const PointOp identity;
    paintCopies(segments, std::span(&identity, 1), c);
}

void RasterSurface::paintCopies(std::span<const Segment> shapes, std::span<const PointOp> ops, Colour c)
{
    PixelWriter::Call call(picture_.writer(), ink(c));
    const ClipRect cl = clip();
    // A copy that an operation turns over along the axes takes the pixels of
    // the first operation's copy turned over, where those are all on the canvas.
    const bool turning = ops.size() > 1 && drawWidth_ >= 2 && ops.front().axisTurn();
    base_.clear();
    baseFrom_.clear();
    for (std::size_t i = 0; i < ops.size(); ++i) {
        const PointOp& op = ops[i];
        for (std::size_t k = 0; k < shapes.size(); ++k) {
            const Segment g = op.apply(shapes[k]);
            spans_.clear();
            const bool taken = i > 0 && turning && op.axisTurn() && baseFrom_[k] < baseFrom_[k + 1] && whole(g) &&
                               turnedSpans(ops.front().apply(shapes[k]), g, drawWidth_,
                                           std::span(base_).subspan(baseFrom_[k], baseFrom_[k + 1] - baseFrom_[k]),
                                           spans_);
            if (taken)
                clipSpans(spans_, cl);
            else
                segmentSpans(pixelIndex(g.x1), pixelIndex(g.y1), pixelIndex(g.x2), pixelIndex(g.y2), drawWidth_, cl,
                             spans_);
            if (i == 0 && turning) {
                baseFrom_.push_back(base_.size());
                if (whole(g) && within(g, drawWidth_, cl))
                    base_.insert(base_.end(), spans_.begin(), spans_.end());
                if (k + 1 == shapes.size())
                    baseFrom_.push_back(base_.size());
            }
            call.runs(spans_);
        }
    }
}

void RasterSurface::GridLines(std::span<const SegmentGrid> grids, Colour c)
{
    // In copy pen the copies' order and overlaps do not matter, so the union of
    // their pixels is painted once; inverting needs every copy in turn. Copies
    // made by moving pixels have no segments to draw in turn: their union is
    // written once in any mode.
    const bool onWhole = std::all_of(grids.begin(), grids.end(), [](const SegmentGrid& g) { return onWholePixels(g); });
    const bool moved = std::any_of(grids.begin(), grids.end(), [](const SegmentGrid& g) { return g.moved.has_value(); });
    if (!moved && (drawMode_ != kCopyPen || !onWhole)) {
        copies_.clear();
        for (const SegmentGrid& grid : grids)
            expandGrid(grid, copies_);
        Lines(copies_, c);
        return;
    }
    PixelWriter::Call call(picture_.writer(), ink(c),
                           copiesInView(grids, picture_.Width(), picture_.Height()) >
                               static_cast<long long>(ChangedArea::kMostRects));
    call.beginRows();
    gridSpans(grids, drawWidth_, clip(), std::ref(call));
}

bool RasterSurface::repeatingRows(std::span<const Segment> shapes, const Symmetry& symmetry, Colour c)
{
    if (!symmetry.lattice.fillsRows || (drawMode_ != kCopyPen && !symmetry.movesPixels))
        return false;
    std::optional<PixelWriter::Call> call;
    return periodicSpans(shapes, symmetry, drawWidth_, clip(), periodic_, [&](const GridRow& row) {
        if (!call)
            call.emplace(picture_.writer(), ink(c), true);
        (*call)(row);
    });
}

}  // namespace kalidor
