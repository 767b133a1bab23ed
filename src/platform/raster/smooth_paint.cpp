// A step's copies with soft edges. Each copy is the step's shape at the
// copy's exact place: where the copy's operation maps pixels onto pixels (a
// mirror along an axis or a diagonal, a quarter or half turn, a shift by whole
// pixels), it is the shape's own coverage moved, so the picture is exactly as
// symmetric as the operations in every colour value; elsewhere it is the
// shape drawn at its mapped place, the part off whole pixels rounded to a
// quarter pixel so that a lattice's copies share a few drawings moved by
// whole pixels.
#include <cmath>

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

}  // namespace

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
    s.shapes.assign(shapes.size(), Coverage{});
    const ClipRect cl = clip();
    const QRect reach(QPoint(cl.x0, cl.y0), QPoint(cl.x1, cl.y1));
    const double width = drawWidth_;
    {
        PixelWriter::Call call(writer, ink(c), !symmetry.oneCell());
        for (std::size_t o = 0; o < symmetry.ops.size(); ++o) {
            const PointOp& op = symmetry.ops[o];
            const std::optional<PixelMap> map = pixelsOf(op);
            for (std::size_t k = 0; k < shapes.size(); ++k) {
                const PointOp::Ends placed = op.ends(shapes[k]);  // exact, unrounded
                const Coverage* moved = nullptr;
                if (map) {
                    if (s.shapes[k].empty())
                        capsuleCoverage({shapes[k].x1, shapes[k].y1, shapes[k].x2, shapes[k].y2}, width, s.shapes[k]);
                    if (*map == PixelMap{}) {
                        moved = &s.shapes[k];
                    } else {
                        movedCoverage(s.shapes[k], *map, s.moved);
                        moved = &s.moved;
                    }
                }
                forEachCell(symmetry.lattice, op, [&](int, int, double dx, double dy) {
                    if (moved && whole(dx) && whole(dy)) {
                        call.coverage(*moved, static_cast<int>(dx), static_cast<int>(dy), stroke_, reach);
                        return;
                    }
                    // The move split into whole pixels and a phase.
                    const double qx = std::round(dx * kPhases), qy = std::round(dy * kPhases);
                    const double ix = std::floor(qx / kPhases), iy = std::floor(qy / kPhases);
                    const int px = static_cast<int>(qx - ix * kPhases), py = static_cast<int>(qy - iy * kPhases);
                    const Coverage& drawn = s.at(o, k, px, py, placed, width);
                    call.coverage(drawn, static_cast<int>(ix), static_cast<int>(iy), stroke_, reach);
                });
            }
        }
    }
    stroke_.leftAt = static_cast<long long>(writer.writes());
}

}  // namespace kalidor
