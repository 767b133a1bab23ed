// Pattern under the 17 wallpaper groups: random strokes on random cells,
// judged against the groups' definitions written out here independently: the
// picture is invariant under every operation (pixel for pixel where the cells'
// sides are even and the lattice square or rectangular, within a pixel
// otherwise), is not invariant under what the group lacks, and every copy lies
// within half a pixel of an exact image of the stroke.

#include <QTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <unordered_map>

#include "draw/group_guides.h"
#include "draw/lattice_period.h"
#include "draw/pattern_geometry.h"
#include "picture/save_tile.h"
#include "platform/raster/raster_surface.h"

using namespace kalidor;

namespace {

constexpr Colour kInk = 0x203040;

// An operation on fractional coordinates, translations in halves.
struct Frac {
    int xx, xy, yx, yy, hx, hy;
};

// The group's operations with the centring, written from its table row.
std::vector<Frac> fracOps(const WallpaperGroup& g)
{
    std::vector<Frac> out;
    for (const GroupOp& o : g.ops)
        out.push_back({o.xx, o.xy, o.yx, o.yy, o.hx, o.hy});
    if (g.lattice == LatticeShape::Centred)
        for (const GroupOp& o : g.ops)
            out.push_back({o.xx, o.xy, o.yx, o.yy, o.hx + 1, o.hy + 1});
    return out;
}

// Fractional coordinates and canvas places, both ways.
struct Basis {
    double ax, ay, bx, by;
    explicit Basis(const CellVectors& c) : ax(c.ax), ay(c.ay), bx(c.bx), by(c.by) {}
    void toFrac(double px, double py, double& x, double& y) const
    {
        const double det = ax * by - bx * ay;
        x = (by * px - bx * py) / det;
        y = (ax * py - ay * px) / det;
    }
    // The place of p under the operation and then the translation (k, j).
    void map(const Frac& f, double k, double j, double px, double py, double& ox, double& oy) const
    {
        double x = 0, y = 0;
        toFrac(px, py, x, y);
        const double nx = f.xx * x + f.xy * y + f.hx / 2.0 + k, ny = f.yx * x + f.yy * y + f.hy / 2.0 + j;
        ox = ax * nx + bx * ny;
        oy = ay * nx + by * ny;
    }
};

struct Case {
    int group;
    int16 px, py;
    int pen;
    bool chess;
    int w = 150, h = 130;
    bool smooth = false;
};

struct Drawn {
    QImage image;
    std::vector<Segment> copies;  // the steps' copies as the symmetry names them
    std::vector<std::size_t> from{0};  // where each step's copies begin
    std::vector<Segment> own;     // each step's own segment
    bool samePixels = false;      // repeated rows and grids painted alike
    bool owedSame = false;        // drawn in a small view, the rest owed: the same, undone whole
};

bool ink(const QImage& im, long long x, long long y)
{
    return (im.pixel(static_cast<int>(x), static_cast<int>(y)) & 0xFFFFFF) != 0xFFFFFF;
}

// A stroke of random steps under the case's group, as Pattern draws it.
Drawn draw(const Case& c, std::mt19937& random, int steps)
{
    auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    // The rows found as repeated patterns, and the same copies on grids.
    RasterSurface s(c.w, c.h, 0, kWhite), grids(c.w, c.h, 0, kWhite), owing(c.w, c.h, 0, kWhite);
    for (RasterSurface* each : {&s, &grids, &owing}) {
        each->SetDrawWidth(static_cast<int16>(c.pen));
        each->SetSmooth(c.smooth);
    }
    // A view of a part of the picture, reaching past its edge now and then;
    // half way through the stroke a pixel read draws what is owed.
    owing.keepHistory();
    owing.BeginStep();
    owing.setLive(QRect(any(-20, c.w - 20), any(-20, c.h - 20), any(10, c.w / 3), any(10, c.h / 3)));
    EditorState st;
    st.PatternX = c.px;
    st.PatternY = c.py;
    int16 x = static_cast<int16>(any(0, c.w - 1)), y = static_cast<int16>(any(0, c.h - 1));
    patternStart(st, static_cast<float>(c.w), static_cast<float>(c.h), x, y);
    Drawn d;
    const GroupCanvas canvas{c.w, c.h, c.pen};
    bool movedViewSame = true;
    for (int i = 0; i < steps; ++i) {
        x = static_cast<int16>(std::clamp(x + any(-25, 25), 0, c.w - 1));
        y = static_cast<int16>(std::clamp(y + any(-25, 25), 0, c.h - 1));
        // The own segment: the one of p1's copies that ends at the pointer.
        EditorState p1 = st;
        std::vector<Segment> plain;
        const StrokeStep p1Step = patternStep(p1, false, false, x, y);
        expandCopies(p1Step.shapes, p1Step.symmetry, plain);
        const auto own = std::find_if(plain.begin(), plain.end(), [&](const Segment& q) { return q.x2 == x && q.y2 == y; });
        if (own == plain.end())
            qFatal("no p1 copy ends at the pointer");
        d.own.push_back(*own);
        const StrokeStep step = patternStep(st, c.chess, false, x, y, c.group, canvas);
        expandCopies(step.shapes, step.symmetry, d.copies);
        d.from.push_back(d.copies.size());
        paintStep(s, step, kInk);
        paintStep(owing, step, kInk);
        if (i == steps / 2)
            (void)owing.Point(0, 0);
        if (i == steps / 3) {  // a pan: the new view shows the stroke so far, and later steps owe around it
            const QRect view(c.w / 2, c.h / 4, c.w / 3, c.h / 3);
            owing.setLive(view);
            movedViewSame = owing.backing().copy(view) == s.backing().copy(view);
        }
        StrokeStep onGrids = step;
        onGrids.symmetry.lattice.fillsRows = false;
        paintStep(grids, onGrids, kInk);
    }
    d.image = s.backing().copy();
    d.samePixels = s.backing() == grids.backing();
    owing.EndStep();
    d.owedSame = movedViewSame && owing.backing() == s.backing();
    owing.Undo();
    d.owedSame = d.owedSame && owing.backing() == RasterSurface(c.w, c.h, 0, kWhite).backing();
    owing.Redo();
    d.owedSame = d.owedSame && owing.backing() == s.backing();
    if (!d.owedSame && std::getenv("SHOW_BAD")) {
        s.backing().save("/tmp/rows.png");
        owing.backing().save("/tmp/owing.png");
    }
    if (!d.samePixels && std::getenv("SHOW_BAD")) {
        s.backing().save("/tmp/rows.png");
        grids.backing().save("/tmp/grids.png");
    }
    return d;
}

// Pixels whose image under a map of places lands on the canvas on a pixel of
// another colour (`near`: inked pixels whose image has no ink on that pixel or
// its eight neighbours); `margin` keeps away from the canvas's edges.
long long mismatches(const QImage& im, const std::function<void(double, double, double&, double&)>& f, bool near,
                     int margin, long long* inked = nullptr)
{
    long long bad = 0, seen = 0;
    for (int j = 0; j < im.height(); ++j)
        for (int i = 0; i < im.width(); ++i) {
            double x = 0, y = 0;
            f(i + 0.5, j + 0.5, x, y);
            if (x < margin || y < margin || x > im.width() - margin || y > im.height() - margin)
                continue;
            const bool here = ink(im, i, j);
            if (!near) {
                seen += here;
                bad += here != ink(im, static_cast<long long>(std::floor(x)), static_cast<long long>(std::floor(y)));
                continue;
            }
            if (!here)
                continue;
            ++seen;
            // The pixel the image falls on, or one of its eight neighbours.
            const auto u0 = static_cast<long long>(std::floor(x)), v0 = static_cast<long long>(std::floor(y));
            bool found = false;
            for (long long v = v0 - 1; v <= v0 + 1 && !found; ++v)
                for (long long u = u0 - 1; u <= u0 + 1 && !found; ++u)
                    found = u >= 0 && v >= 0 && u < im.width() && v < im.height() && ink(im, u, v);
            bad += !found;
            if (!found && std::getenv("SHOW_BAD"))
                qDebug("bad %d,%d -> %.2f,%.2f", i, j, x, y);
        }
    if (inked)
        *inked = seen;
    return bad;
}

bool exact(const Case& c)
{
    const LatticeShape l = wallpaperGroup(c.group).lattice;
    const bool even = c.px % 2 == 0 && (l == LatticeShape::Square || c.py % 2 == 0);
    return l != LatticeShape::Hexagonal && even;
}

QString describe(const Case& c)
{
    return QString("%1 cells %2x%3 pen %4%5").arg(QString::fromLatin1(wallpaperGroup(c.group).name.data(),
                                                                   static_cast<int>(wallpaperGroup(c.group).name.size())))
        .arg(c.px).arg(c.py).arg(c.pen).arg(c.chess ? " chess" : "");
}

// Every operation of the group, with the translations a, b (and with Chess
// only translations of even k + j), maps the picture onto itself.
void checkInvariant(const Case& c, const Drawn& d)
{
    const WallpaperGroup& g = wallpaperGroup(c.group);
    const Basis basis(cellVectors(g.lattice, c.px, c.py));
    const bool near = !exact(c);
    std::vector<std::array<int, 2>> moves = {{0, 0}, {1, 0}, {0, 1}};
    if (c.chess)
        moves = {{1, 1}, {1, -1}, {2, 0}};
    for (const Frac& f : fracOps(g))
        for (const auto& m : moves) {
            if (c.chess && (f.xx != 1 || f.yy != 1 || f.xy != 0 || f.hx != 0 || f.hy != 0))
                continue;  // under Chess only the lattice's even shifts are sure to keep it
            long long inked = 0;
            const long long bad = mismatches(
                d.image, [&](double x, double y, double& ox, double& oy) { basis.map(f, m[0], m[1], x, y, ox, oy); },
                near, 2, &inked);
            // Rounding ends to whole pixels moves a thin line's steps by a
            // pixel here and there: one pixel in several hundred may land
            // two pixels from its image.
            const long long allowed = near ? 1 + inked / 200 : 0;
            QVERIFY2(bad <= allowed, qPrintable(describe(c) + QString(": op (%1 %2 %3 %4 +%5/2 +%6/2) move %7,%8: %9 of %10")
                                                             .arg(f.xx).arg(f.xy).arg(f.yx).arg(f.yy).arg(f.hx).arg(f.hy)
                                                             .arg(m[0]).arg(m[1]).arg(bad).arg(inked)));
        }
}

// With smooth lines, every operation and translation maps each pixel onto one
// of exactly its value in every channel. A line's end lies at its place less
// half a pixel for odd widths, at it for even ones, as the copies' ends do.
void checkSmoothInvariant(const Case& c, const Drawn& d)
{
    QVERIFY2(d.owedSame, qPrintable(describe(c)));
    const WallpaperGroup& g = wallpaperGroup(c.group);
    const Basis basis(cellVectors(g.lattice, c.px, c.py));
    const double h = c.pen % 2 != 0 ? 0.5 : 0.0;
    const int margin = c.pen + 3;
    for (const Frac& f : fracOps(g)) {
        // The translation that keeps the canvas's middle nearest itself, so
        // that most of the canvas has its image on the canvas.
        double fx = 0, fy = 0;
        basis.toFrac(d.image.width() / 2.0, d.image.height() / 2.0, fx, fy);
        const int k0 = static_cast<int>(std::lround(fx - (f.xx * fx + f.xy * fy + f.hx / 2.0)));
        const int j0 = static_cast<int>(std::lround(fy - (f.yx * fx + f.yy * fy + f.hy / 2.0)));
        for (const auto& m : std::vector<std::array<int, 2>>{{k0, j0}, {k0 + 1, j0}, {k0, j0 + 1}}) {
            long long bad = 0, inked = 0;
            for (int j = 0; j < d.image.height(); ++j)
                for (int i = 0; i < d.image.width(); ++i) {
                    double x = 0, y = 0;
                    basis.map(f, m[0], m[1], i + h, j + h, x, y);
                    x -= h, y -= h;
                    if (x < margin || y < margin || x > d.image.width() - margin || y > d.image.height() - margin)
                        continue;
                    const QRgb here = d.image.pixel(i, j);
                    inked += (here & 0xFFFFFF) != 0xFFFFFF;
                    bad += std::abs(x - std::round(x)) > 1e-6 || std::abs(y - std::round(y)) > 1e-6 ||
                           here != d.image.pixel(static_cast<int>(std::round(x)), static_cast<int>(std::round(y)));
                }
            QVERIFY2(inked > 0 && bad == 0, qPrintable(describe(c) + QString(" smooth: op (%1 %2 %3 %4) move %5,%6: %7 of %8")
                                                                  .arg(f.xx).arg(f.xy).arg(f.yx).arg(f.yy).arg(m[0]).arg(m[1])
                                                                  .arg(bad).arg(inked)));
        }
    }
}

// With smooth lines, a dot's every copy has its ink's centroid within a
// quarter pixel of the copy's exact place, where no other copy is near.
void checkSmoothPlaces(const Case& c)
{
    int checked = 0;
    const int reach = c.pen / 2 + 3;  // the window that holds a dot's whole ink
    // Dots at a few places: some lie near a mirror, whose copies touch.
    for (int n = 0; n < 10; ++n) {
        RasterSurface s(c.w, c.h, 0, kWhite);
        s.SetDrawWidth(static_cast<int16>(c.pen));
        s.SetSmooth(true);
        EditorState st;
        st.PatternX = c.px;
        st.PatternY = c.py;
        const int16 x = static_cast<int16>(c.w / 2 + 7 * n), y = static_cast<int16>(c.h / 2 - 11 * n % 37);
        patternStart(st, static_cast<float>(c.w), static_cast<float>(c.h), x, y);
        const StrokeStep step = patternStep(st, c.chess, false, x, y, c.group, GroupCanvas{c.w, c.h, c.pen});
        paintStep(s, step, kInk);
        std::vector<QPointF> places;
        for (const PointOp& op : step.symmetry.ops)
            forEachCell(step.symmetry.lattice, op, [&](int, int, double dx, double dy) {
                const PointOp::Ends e = op.ends(step.shapes.front());
                places.push_back(QPointF(e[0] + dx, e[1] + dy));
            });
        for (const QPointF& p : places) {
            const bool alone = std::count_if(places.begin(), places.end(), [&](const QPointF& q) {
                return std::hypot(q.x() - p.x(), q.y() - p.y()) < 2 * reach + 2;
            }) == 1;
            if (!alone || p.x() < reach + 2 || p.y() < reach + 2 || p.x() > c.w - reach - 2 || p.y() > c.h - reach - 2)
                continue;
            double sx = 0, sy = 0, sum = 0;
            for (int j = static_cast<int>(p.y()) - reach; j <= static_cast<int>(p.y()) + reach; ++j)
                for (int i = static_cast<int>(p.x()) - reach; i <= static_cast<int>(p.x()) + reach; ++i) {
                    const double v = 255 - qBlue(s.backing().pixel(i, j));
                    sx += v * i, sy += v * j, sum += v;
                }
            ++checked;
            QVERIFY2(sum > 0 && std::hypot(sx / sum - p.x(), sy / sum - p.y()) <= 0.25,
                     qPrintable(describe(c) + QString(" smooth: copy at %1,%2 drawn about %3,%4").arg(p.x()).arg(p.y())
                                                  .arg(sx / sum).arg(sy / sum)));
        }
    }
    QVERIFY2(checked >= 3, qPrintable(describe(c) + QString(" smooth: %1 copies alone").arg(checked)));
}

// Whether the group has the operation, up to its lattice's translations.
bool has(const WallpaperGroup& g, const Frac& f)
{
    const std::vector<Frac> ops = fracOps(g);
    return std::any_of(ops.begin(), ops.end(), [&](const Frac& o) {
        return o.xx == f.xx && o.xy == f.xy && o.yx == f.yx && o.yy == f.yy && (o.hx - f.hx) % 2 == 0 &&
               (o.hy - f.hy) % 2 == 0;
    });
}

// No operation of the lattice's family that the group lacks (a mirror, a
// turn, a glide, a shift by half a cell) maps the picture onto itself: pg is
// not pm, pgg not pmg, p4 not p4m.
void checkLacks(const Case& c, const Drawn& d)
{
    const WallpaperGroup& g = wallpaperGroup(c.group);
    const Basis basis(cellVectors(g.lattice, c.px, c.py));
    std::vector<std::array<int, 4>> matrices;
    for (int k = 0; k < kGroupCount; ++k)
        if (const WallpaperGroup& other = wallpaperGroup(k); (other.lattice == LatticeShape::Hexagonal) == (g.lattice == LatticeShape::Hexagonal) &&
                                                              (other.lattice == LatticeShape::Square) <= (g.lattice == LatticeShape::Square))
            for (const GroupOp& o : other.ops)
                if (std::find(matrices.begin(), matrices.end(), std::array{o.xx, o.xy, o.yx, o.yy}) == matrices.end())
                    matrices.push_back({o.xx, o.xy, o.yx, o.yy});
    for (const auto& m : matrices)
        for (int hx = 0; hx < 2; ++hx)
            for (int hy = 0; hy < 2; ++hy) {
                const Frac f{m[0], m[1], m[2], m[3], hx, hy};
                if (has(g, f))
                    continue;
                // With the translation that keeps the canvas's middle in place.
                double mx = 0, my = 0, ix = 0, iy = 0;
                basis.map(f, 0, 0, c.w / 2.0, c.h / 2.0, ix, iy);
                basis.toFrac(c.w / 2.0 - ix, c.h / 2.0 - iy, mx, my);
                const double k = std::round(mx), j = std::round(my);
                long long inked = 0;
                const long long bad = mismatches(
                    d.image, [&](double x, double y, double& ox, double& oy) { basis.map(f, k, j, x, y, ox, oy); }, !exact(c),
                    2, &inked);
                QVERIFY2(bad >= std::max<long long>(10, inked / 200), qPrintable(describe(c) + QString(": kept by (%1 %2 %3 %4 +%5/2 +%6/2): %7 of %8")
                                                                      .arg(f.xx).arg(f.xy).arg(f.yx).arg(f.yy).arg(hx).arg(hy)
                                                                      .arg(bad).arg(inked)));
            }
}

// Every copy is an image of its step's own segment under the group, within
// half a pixel at each end, with Chess only at translations that keep the own
// cell's parity; and every such image that reaches the canvas is a copy.
void checkCopies(const Case& c, const Drawn& d)
{
    const WallpaperGroup& g = wallpaperGroup(c.group);
    const Basis basis(cellVectors(g.lattice, c.px, c.py));
    const double half = (c.pen & 1) ? 0.5 : 0.0;
    const double pad = c.pen / 2.0;
    auto close = [](double a, double b) { return std::abs(a - b) <= 0.5 + 1e-6; };
    for (std::size_t s = 0; s < d.own.size(); ++s) {
        const Segment& own = d.own[s];
        double fx = 0, fy = 0;
        basis.toFrac(own.x2 + half, own.y2 + half, fx, fy);
        const auto k0 = static_cast<int>(std::floor(fx)), j0 = static_cast<int>(std::floor(fy));
        const std::span<const Segment> copies(d.copies.data() + d.from[s], d.from[s + 1] - d.from[s]);
        std::vector<bool> matched(copies.size(), false);
        // The copies by the pixel their first end rounds to.
        std::unordered_map<long long, std::vector<std::size_t>> at;
        auto key = [](long long x, long long y) { return (x << 32) ^ (y & 0xFFFFFFFF); };
        for (std::size_t i = 0; i < copies.size(); ++i)
            at[key(std::lround(copies[i].x1), std::lround(copies[i].y1))].push_back(i);
        // Only translations that bring the image near the canvas need trying.
        double lo[2] = {1e9, 1e9}, hi[2] = {-1e9, -1e9};
        for (const double cx : {0.0, double(c.w)})
            for (const double cy : {0.0, double(c.h)}) {
                double u = 0, v = 0;
                basis.toFrac(cx, cy, u, v);
                lo[0] = std::min(lo[0], u), hi[0] = std::max(hi[0], u), lo[1] = std::min(lo[1], v), hi[1] = std::max(hi[1], v);
            }
        const int margin = 2 + static_cast<int>((pad + std::hypot(own.x2 - own.x1, own.y2 - own.y1)) / std::min<int>(c.px, c.py));
        for (const Frac& f : fracOps(g)) {
            double u = 0, v = 0;
            basis.map(f, 0, 0, own.x2 + half, own.y2 + half, u, v);
            basis.toFrac(u, v, u, v);
            for (int j = int(std::floor(lo[1] - v)) - margin; j <= int(std::ceil(hi[1] - v)) + margin; ++j)
                for (int k = int(std::floor(lo[0] - u)) - margin; k <= int(std::ceil(hi[0] - u)) + margin; ++k) {
                    const int moved = f.xx * k0 + f.xy * j0 + f.yx * k0 + f.yy * j0 + k + j;  // parity of F (k0, j0) + (k, j)
                    if (c.chess && ((moved - k0 - j0) & 1) != 0)
                        continue;
                    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
                    basis.map(f, k, j, own.x1 + half, own.y1 + half, x1, y1);
                    basis.map(f, k, j, own.x2 + half, own.y2 + half, x2, y2);
                    x1 -= half, y1 -= half, x2 -= half, y2 -= half;
                    bool found = false;
                    for (const long long u : {std::floor(x1), std::ceil(x1)})
                        for (const long long v : {std::floor(y1), std::ceil(y1)}) {
                            const auto there = at.find(key(u, v));
                            if (there == at.end())
                                continue;
                            for (const std::size_t i : there->second) {
                                const Segment& q = copies[i];
                                if (close(q.x1, x1) && close(q.y1, y1) && close(q.x2, x2) && close(q.y2, y2))
                                    matched[i] = found = true;
                            }
                        }
                    const bool reaches = std::max(x1, x2) + pad >= 0 && std::min(x1, x2) - pad < c.w &&
                                         std::max(y1, y2) + pad >= 0 && std::min(y1, y2) - pad < c.h;
                    QVERIFY2(found || !reaches, qPrintable(describe(c) + QString(": step %1: image at cell %2,%3 not drawn")
                                                                             .arg(s).arg(k).arg(j)));
                }
        }
        // Copies beyond the canvas may stand for cells other operations need.
        std::size_t lost = 0;
        for (std::size_t i = 0; i < copies.size(); ++i) {
            const Segment& q = copies[i];
            lost += !matched[i] && std::max(q.x1, q.x2) + pad >= 0 && std::min(q.x1, q.x2) - pad < c.w &&
                    std::max(q.y1, q.y2) + pad >= 0 && std::min(q.y1, q.y2) - pad < c.h;
        }
        QVERIFY2(lost == 0, qPrintable(describe(c) + QString(": step %1: %2 copies are no image").arg(s).arg(lost)));
    }
}

// The tile Save tile cuts, laid edge to edge over the picture, gives it back
// pixel for pixel over the 3 x 3 tiles about it (p1's loop of cells leaves
// its last column and row short, so there a cell's margin is left out).
void checkTile(const Case& c, const Drawn& d)
{
    QVERIFY2(d.owedSame, qPrintable(describe(c)));
    const TileSize size = tileSize(latticePeriod(wallpaperGroup(c.group), c.px, c.py, c.chess));
    const TileRect t = placeTile(size, c.w, c.h);
    QVERIFY2(t.width > 0, qPrintable(describe(c)));
    const QImage tile = d.image.copy(t.x, t.y, t.width, t.height);
    const int margin = c.group == kP1 ? std::max<int>(c.px, c.py) + 30 : 0;
    long long bad = 0, seen = 0;
    for (int y = std::max(0, t.y - t.height); y < std::min(c.h - margin, t.y + 2 * t.height); ++y)
        for (int x = std::max(0, t.x - t.width); x < std::min(c.w - margin, t.x + 2 * t.width); ++x) {
            const int u = ((x - t.x) % t.width + t.width) % t.width, v = ((y - t.y) % t.height + t.height) % t.height;
            ++seen;
            bad += d.image.pixel(x, y) != tile.pixel(u, v);
        }
    QVERIFY2(seen > 0 && bad == 0, qPrintable(describe(c) + QString(": tile %1x%2 at %3,%4: %5 of %6 pixels differ")
                                                             .arg(t.width).arg(t.height).arg(t.x).arg(t.y).arg(bad).arg(seen)));
}

}  // namespace

class WallpaperGroupsTest : public QObject {
    Q_OBJECT
private slots:
    void everyGroupKeepsItsOperations()
    {
        std::mt19937 random(29);
        auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
        for (int group = 0; group < kGroupCount; ++group)
            for (int n = 0; n < (std::getenv("MANY") ? 60 : 6); ++n) {
                Case c{group, static_cast<int16>(any(8, 60)), static_cast<int16>(any(8, 60)), n % 3 == 0 ? 1 : any(2, 9),
                       n == 5};
                if (n < 3) {  // even sides, where the square and rectangular groups are exact
                    c.px = static_cast<int16>(c.px & ~1);
                    c.py = static_cast<int16>(c.py & ~1);
                }
                const Drawn d = draw(c, random, 6);
                if (std::getenv("SAVE_CASE") && describe(c) == std::getenv("SAVE_CASE")) {
                    d.image.save("/tmp/case.png");
                    for (const Segment& s : d.own) qDebug("own %g,%g %g,%g", s.x1, s.y1, s.x2, s.y2);
                }
                QVERIFY2(d.samePixels, qPrintable(describe(c)));
                QVERIFY2(d.owedSame, qPrintable(describe(c)));
                if (group == kP1)
                    continue;  // p1 keeps its cell loop, seams and all
                checkInvariant(c, d);
                checkCopies(c, d);
                if (n < 2) {
                    // A few thin lines on large cells, which no other operation keeps.
                    c.px = static_cast<int16>(std::max<int>(c.px, 36));
                    c.py = static_cast<int16>(std::max<int>(c.py, 36));
                    c.pen = n + 1;
                    checkLacks(c, draw(c, random, 3));
                }
            }
    }

    void smoothLinesKeepEveryGroupExactOrWithinAQuarterPixel()
    {
        std::mt19937 random(53);
        for (int group = 0; group < kGroupCount; ++group) {
            const bool hexagonal = wallpaperGroup(group).lattice == LatticeShape::Hexagonal;
            for (const int pen : {1, 4, 9}) {
                if (!hexagonal) {
                    const Case c{group, 40, 34, pen, false, 160, 150, true};
                    checkSmoothInvariant(c, draw(c, random, 5));
                }
                // Odd sides and the hexagonal lattices: no pixel map, exact places.
                checkSmoothPlaces(Case{group, 121, 95, pen, false, 400, 360, true});
            }
        }
    }

    void aSavedTileRepeatsThePictureUnderEveryGroup()
    {
        // Odd sides too: half-pixel places round alike in every period.
        std::mt19937 random(41);
        auto side = [&](int odd) { return static_cast<int16>(2 * std::uniform_int_distribution<int>(6, 30)(random) + odd); };
        for (int group = 0; group < kGroupCount; ++group)
            for (const bool chess : {false, true})
                for (const int odd : {0, 1}) {
                    Case c{group, side(odd), side(odd), 1 + group % 4, chess, 420, 440};
                    checkTile(c, draw(c, random, 8));
                }
    }

    void tilesAreOnePeriodAndCutFromTheMiddle()
    {
        auto size = [](const char* group, int px, int py, bool chess = false, bool mirror = false) {
            return tileSize(latticePeriod(wallpaperGroup(groupIndex(group)), static_cast<int16>(px),
                                          static_cast<int16>(py), chess, mirror));
        };
        QCOMPARE(size("p1", 200, 150), (TileSize{200, 150}));
        QCOMPARE(size("p1", -200, 150), (TileSize{200, 150}));
        QCOMPARE(size("p1", 200, 150, false, true), (TileSize{400, 300}));  // Mirror's quilt
        QCOMPARE(size("p1", 200, 150, true), (TileSize{400, 300}));
        QCOMPARE(size("pmg", 40, 30), (TileSize{40, 30}));
        QCOMPARE(size("cmm", 40, 30, true), (TileSize{80, 60}));
        QCOMPARE(size("p4m", 40, 30), (TileSize{40, 40}));
        // Hexagonal: a cell across, two rows of whole height down.
        QCOMPARE(size("p6m", 100, 7), (TileSize{100, 2 * 87}));
        QCOMPARE(size("p3", 100, 7, true), (TileSize{200, 4 * 87}));
        QCOMPARE(size("p1", 0, 150), TileSize{});
        // At a whole number of tiles from the corner, nearest the middle.
        QCOMPARE(placeTile({200, 150}, 1000, 700), (TileRect{400, 300, 200, 150}));
        QCOMPARE(placeTile({300, 150}, 1000, 400), (TileRect{300, 150, 300, 150}));
        QCOMPARE(placeTile({600, 150}, 1000, 150), (TileRect{0, 0, 600, 150}));
        QCOMPARE(placeTile({1001, 150}, 1000, 700), TileRect{});
    }

    void guidesShowMirrorsAndTurnCentres()
    {
        // Cells of 40 on a 200 x 160 canvas: what lies on the line x = 20 and
        // how many points the mark at a place has.
        auto guides = [](const char* name) {
            return groupGuides(wallpaperGroup(groupIndex(name)), 40, 40, 200, 160);
        };
        auto vertical = [](const std::vector<Segment>& g, float x) {
            return std::any_of(g.begin(), g.end(), [&](const Segment& s) {
                return s.x1 == x && s.x2 == x && std::abs(s.y2 - s.y1) >= 160;
            });
        };
        auto points = [](const std::vector<Segment>& g, float x, float y) {
            return std::count_if(g.begin(), g.end(), [&](const Segment& s) {
                return std::abs(s.x1 - x) < 1e-3 && std::abs(s.y1 - y) < 1e-3 && std::hypot(s.x2 - x, s.y2 - y) < 10;
            });
        };
        // Cell edges everywhere; a mirror half way across the cell in pm, a
        // glide there in pg, which is no mirror.
        QVERIFY(vertical(guides("pm"), 40) && vertical(guides("pm"), 20));
        QVERIFY(vertical(guides("pg"), 40) && !vertical(guides("pg"), 20));
        QVERIFY(!vertical(guides("p1"), 20));
        // Turn centres: quarter turns at the corners and middles of p4's cells,
        // half turns at the middles of its sides; sixths at p6's lattice points.
        QCOMPARE(points(guides("p4"), 40, 40), 4);
        QCOMPARE(points(guides("p4"), 60, 60), 4);
        QCOMPARE(points(guides("p4"), 60, 40), 2);
        QCOMPARE(points(guides("p6"), 40, 0), 6);
        QCOMPARE(points(guides("pm"), 20, 20), 0);
        // p4m mirrors along the diagonals, p4 has none.
        auto diagonal = [](const std::vector<Segment>& g) {
            return std::any_of(g.begin(), g.end(), [](const Segment& s) {
                return std::abs(std::abs(s.x2 - s.x1) - std::abs(s.y2 - s.y1)) < 1e-3 && std::abs(s.x2 - s.x1) > 50;
            });
        };
        QVERIFY(diagonal(guides("p4m")));
        QVERIFY(!diagonal(guides("p4")));
        // None over cells too small to see the picture through.
        QVERIFY(groupGuides(wallpaperGroup(groupIndex("p6m")), 3, 3, 200, 160).empty());
    }
};

QTEST_GUILESS_MAIN(WallpaperGroupsTest)
#include "test_wallpaper_groups.moc"
