#include "draw/press_images.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "draw/centric_geometry.h"
#include "draw/pattern_geometry.h"

namespace kalidor {

namespace {

bool drawsCopies(const StrokeStep& step)
{
    return !step.shapes.empty() && !step.symmetry.ops.empty() && !step.symmetry.lattice.empty();
}

int wholePixel(double v)
{
    constexpr double kLimit = std::numeric_limits<int>::max() / 2;
    v = std::clamp(v, -kLimit, kLimit);
    const double whole = std::floor(v);  // as the copies' ends mostly are
    return static_cast<int>(whole == v ? whole : i16::roundHalfEven(v));
}

void appendEnds(const StrokeStep& step, std::vector<PixelPoint>& out)
{
    if (!drawsCopies(step))
        return;
    forEachCopy(step.shapes, step.symmetry,
                [&](const Segment& c) { out.push_back({wholePixel(c.x2), wholePixel(c.y2)}); });
}

// The point that the copy of `op` in cell (k, j) takes to p: p with the cell's
// move and the operation undone, to whole pixels; none where the operation
// cannot be undone.
std::optional<Segment> pointTakenTo(const PointOp& op, const Lattice& l, int k, int j, PixelPoint p)
{
    const double det = op.xx * op.yy - op.xy * op.yx;
    if (det == 0)
        return std::nullopt;
    double dx = 0, dy = 0;
    l.move(k, j, dx, dy);
    const double u = p.x - dx - op.tx;
    const double v = p.y - dy - op.ty;
    const auto x = static_cast<float>(wholePixel((op.yy * u - op.xy * v) / det));
    const auto y = static_cast<float>(wholePixel((op.xx * v - op.yx * u) / det));
    return Segment{x, y, x, y};
}

// The step's copies taken again through p, where it has one shape: its shape
// becomes the point that the copy nearest p takes to p. The copies are the
// symmetry's, so a copy of the picture's symmetry through any image of p
// gives the same images.
std::optional<StrokeStep> throughPoint(const StrokeStep& step, PixelPoint p)
{
    if (step.shapes.size() != 1 || !drawsCopies(step))
        return std::nullopt;
    const Lattice& l = step.symmetry.lattice;
    const PointOp* nearest = nullptr;
    int nearestK = 0, nearestJ = 0;
    double best = std::numeric_limits<double>::infinity();
    for (const PointOp& op : step.symmetry.ops) {
        const Segment s = op.apply(step.shapes.front());
        forEachCell(l, op, [&](int k, int j, double dx, double dy) {
            const double ex = s.x2 + dx - p.x, ey = s.y2 + dy - p.y;
            if (ex * ex + ey * ey < best) {
                best = ex * ex + ey * ey;
                nearest = &op;
                nearestK = k;
                nearestJ = j;
            }
        });
    }
    if (!nearest)
        return std::nullopt;
    const std::optional<Segment> shape = pointTakenTo(*nearest, l, nearestK, nearestJ, p);
    if (!shape)
        return std::nullopt;
    StrokeStep again = step;
    again.shapes.assign(1, *shape);
    return again;
}

}  // namespace

std::vector<PixelPoint> pressImages(CopySettings c, float canvasWidth, float canvasHeight, int16 x, int16 y)
{
    const PixelPoint p{x, y};
    std::vector<PixelPoint> images{p};
    if (c.mode != kCentric && c.mode != kPattern)
        return images;  // Normal has no copies
    try {
        if (c.mode == kPattern && c.patternX != 0 && c.patternY != 0) {
            c.cells = patternLoop(canvasWidth, canvasHeight, c.patternX, c.patternY);
            c.chessPhase = chessPhaseOf(patternCell(c.patternX, c.patternY, x, y));
        }
        c.canvas.pen = 1;  // pixel centres: the images of a line one pixel wide's ends
        const auto at = static_cast<float>(x), down = static_cast<float>(y);
        const StrokeStep step = copiesOf(c, Segment{at, down, at, down});
        // A turn that leaves 16 bits leaves the point alone, as a stroke
        // started there could not be set up.
        if (step.overflow && c.mode == kCentric && step.shapes.size() < static_cast<std::size_t>(std::max<int16>(c.n, 0)))
            return images;
        appendEnds(step, images);
        if (std::find(images.begin() + 1, images.end(), p) == images.end())
            if (const std::optional<StrokeStep> again = throughPoint(step, p)) {
                images.resize(1);
                appendEnds(*again, images);
            }
    } catch (const Int16Error&) {
        images.resize(1);  // the press point is always the user's
    }
    return images;
}

std::vector<PixelPoint> pressImages(const EditorState& s, const ImageSettings& m, int16 x, int16 y)
{
    CopySettings c;
    c.mode = m.mode;
    c.centre = Point16{s.CenterX, s.CenterY};
    c.n = m.n;
    c.turn = static_cast<float>(static_cast<double>(kFullTurn) / m.n);
    c.mirror = m.mirror;
    c.mirrorAngle = m.mirrorAngle;
    c.patternX = s.PatternX;
    c.patternY = s.PatternY;
    c.chess = m.chess;
    c.group = m.group;
    c.canvas = GroupCanvas{m.keptWidth, m.keptHeight, 1};
    return pressImages(c, m.canvasWidth, m.canvasHeight, x, y);
}

std::vector<PixelPoint> pressImages(const Editor& e, int16 x, int16 y)
{
    return pressImages(modeSettings(e), e.ui.pb->Width(), e.ui.pb->Height(), x, y);
}

}  // namespace kalidor
