// A grid of copies drawn at once must give exactly the pixels of drawing every
// copy on its own, and report every pixel it changed.

#include <random>

#include <QImage>
#include <QRegion>
#include <QTest>

#include "platform/raster/copy_shape.h"
#include "platform/raster/raster_surface.h"

using namespace kalidor;

namespace {

constexpr Colour kInk = 0x3060C0;

struct Drawn {
    QImage image;
    QRegion reported;
};

// The grid drawn by the surface in one call.
Drawn atOnce(int w, int h, int width, std::span<const SegmentGrid> g, int16 mode = kCopyPen)
{
    RasterSurface s(w + 4, h + 4, 2, kWhite);
    Drawn d;
    s.setChangedHandler([&](const QRegion& r) { d.reported += r; });
    s.SetDrawWidth(static_cast<int16>(width));
    s.SetDrawMode(mode);
    s.GridLines(g, kInk);
    d.image = s.backing();
    return d;
}

// The grid drawn copy by copy, as separate lines.
QImage oneByOne(int w, int h, int width, std::span<const SegmentGrid> grids, int16 mode = kCopyPen)
{
    RasterSurface s(w + 4, h + 4, 2, kWhite);
    s.SetDrawWidth(static_cast<int16>(width));
    s.SetDrawMode(mode);
    std::vector<Segment> copies;
    for (const SegmentGrid& g : grids)
        expandGrid(g, copies);
    for (const Segment& c : copies)
        s.Line(c.x1, c.y1, c.x2, c.y2, kInk);
    return s.backing();
}

// Empty when the two agree and every changed pixel was reported.
QString difference(int w, int h, int width, std::span<const SegmentGrid> g)
{
    const Drawn fast = atOnce(w, h, width, g);
    const QImage slow = oneByOne(w, h, width, g);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (fast.image.pixel(x, y) != slow.pixel(x, y))
                return QString("pixel (%1, %2) differs").arg(x).arg(y);
            if (slow.pixel(x, y) != qRgb(255, 255, 255) && !fast.reported.contains(QPoint(x, y)))
                return QString("pixel (%1, %2) changed unreported").arg(x).arg(y);
        }
    return {};
}

QString describe(int w, int h, int width, const SegmentGrid& g)
{
    const Segment& f = g.first;
    return QString("canvas %1x%2 width %3 first (%4,%5)-(%6,%7) step %8,%9 grid %10x%11 chess %12 phase %13")
        .arg(w).arg(h).arg(width).arg(f.x1).arg(f.y1).arg(f.x2).arg(f.y2).arg(g.stepX).arg(g.stepY)
        .arg(g.columns).arg(g.rows).arg(g.chess).arg(g.phase);
}

}  // namespace

class GridRasterTest : public QObject {
    Q_OBJECT
private slots:
    void patternGridsMatchDrawingEveryCopy()
    {
        // Grids as a Pattern step makes them: the first copy one cell up and left
        // of the canvas, the loop reaching past the far edges, the segment's ends
        // anywhere within two cells of its cell's origin.
        std::mt19937 random(20261208);
        auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
        for (int n = 0; n < 400; ++n) {
            const int w = any(1, 160) * 2 + 1;
            const int h = any(1, 120) * 2 + 1;
            const int cw = (n % 8 == 0 ? any(1, 4) : any(1, 250)) * (any(0, 5) == 0 ? -1 : 1);
            const int ch = (n % 8 == 1 ? any(1, 4) : any(1, 250)) * (any(0, 5) == 0 ? -1 : 1);
            const int width = any(0, 3) == 0 ? 1 : any(1, 30);
            SegmentGrid g;
            const int ax = std::abs(cw), ay = std::abs(ch);
            g.first = {float(-cw + any(-2 * ax, 2 * ax)), float(-ch + any(-2 * ay, 2 * ay)),
                       float(-cw + any(-2 * ax, 2 * ax)), float(-ch + any(-2 * ay, 2 * ay))};
            g.stepX = cw;
            g.stepY = ch;
            g.columns = std::max(1, (w + 4) / ax + 2);
            g.rows = std::max(1, (h + 4) / ay + 2);
            g.chess = any(0, 1) == 1;
            g.phase = any(0, 1);
            const QString d = difference(w, h, width, {&g, 1});
            QVERIFY2(d.isEmpty(), qPrintable(describe(w, h, width, g) + ": " + d));
        }
    }

    void anyGridMatchesDrawingEveryCopy()
    {
        // Steps of zero, steps smaller than the shape, grids partly or wholly off
        // the canvas, single rows and columns.
        std::mt19937 random(77);
        auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
        for (int n = 0; n < 300; ++n) {
            const int w = any(1, 200), h = any(1, 200);
            const int width = any(1, 30);
            SegmentGrid g;
            g.first = {float(any(-300, 300)), float(any(-300, 300)), float(any(-300, 300)), float(any(-300, 300))};
            g.stepX = any(-40, 40);
            g.stepY = any(-40, 40);
            g.columns = any(1, 30);
            g.rows = any(1, 30);
            g.chess = any(0, 1) == 1;
            g.phase = any(0, 1);
            const QString d = difference(w, h, width, {&g, 1});
            QVERIFY2(d.isEmpty(), qPrintable(describe(w, h, width, g) + ": " + d));
        }
    }

    void gridsThatStepAlikeMatchDrawingEveryCopy()
    {
        // Several grids of one step with different counts, as the parities of
        // mirrored cells are: the copies one grid lacks may fall inside the
        // canvas or outside it.
        std::mt19937 random(2026);
        auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
        int twins = 0;
        for (int n = 0; n < 400; ++n) {
            const int w = any(1, 120), h = any(1, 120);
            const int width = any(1, 20);
            const int sx = any(1, 30) * (any(0, 4) == 0 ? -1 : 1), sy = any(1, 30) * (any(0, 4) == 0 ? -1 : 1);
            std::vector<SegmentGrid> grids(static_cast<std::size_t>(any(2, 4)));
            for (SegmentGrid& g : grids) {
                g.first = {float(any(-40, 60)), float(any(-40, 60)), float(any(-40, 60)), float(any(-40, 60))};
                g.stepX = sx;
                g.stepY = sy;
                g.columns = any(1, 12);
                g.rows = any(1, 12);
                g.chess = any(0, 5) == 0;
            }
            if (n % 2 == 0) {
                // The four of a mirrored pattern: one segment turned over left
                // to right, top to bottom and both, so that rows of the copies
                // repeat in reverse, the copies often taller than a step.
                grids.resize(4);
                const Segment f = grids[0].first;
                const float kx = float(any(0, 60)), ky = float(any(0, 60));
                grids[1].first = {kx - f.x1, f.y1, kx - f.x2, f.y2};
                grids[2].first = {f.x1, ky - f.y1, f.x2, ky - f.y2};
                grids[3].first = {kx - f.x1, ky - f.y1, kx - f.x2, ky - f.y2};
                for (std::size_t i = 1; i < 4; ++i)
                    grids[i].mirrors = 0;  // as a symmetry's operations name them
                // Now and then one more, about a step below: a row and its twin
                // may then be reached by different numbers of grid rows.
                if (n % 4 == 2)
                    grids.push_back(SegmentGrid{{f.x1 + float(any(-5, 5)), f.y1 + float(std::abs(sy) + any(-6, 6)),
                                                 f.x2, f.y2 + float(std::abs(sy) + any(-6, 6))}});
                for (SegmentGrid& g : grids) {
                    g.stepX = sx;
                    g.stepY = sy;
                    g.columns = grids[0].columns;
                    g.rows = grids[0].rows;
                    g.chess = false;
                }
                // A row named the twin of another has the same spans.
                std::vector<CopyPart> firsts;
                for (const SegmentGrid& g : grids)
                    firsts.push_back(CopyPart{g.first, g.mirrors});
                const CopyShape shape(firsts, width);
                for (long long k = shape.top(); k <= shape.bottom(); k = shape.nextRow(k + 1)) {
                    const auto a = shape.row(k), b = shape.row(shape.twin(k));
                    QVERIFY(shape.twin(k) <= k);
                    QVERIFY2(std::equal(a.begin(), a.end(), b.begin(), b.end(),
                                        [](const Span& p, const Span& q) { return p.x0 == q.x0 && p.x1 == q.x1; }),
                             qPrintable(QString("case %1: row %2 and its twin %3").arg(n).arg(k).arg(shape.twin(k))));
                    twins += shape.twin(k) < k;
                }
            }
            const QString d = difference(w, h, width, grids);
            QVERIFY2(d.isEmpty(), qPrintable(QString("case %1: ").arg(n) + describe(w, h, width, grids.front()) + ": " + d));
        }
        QVERIFY(twins > 100);  // the mirrored rows were found, not just never wrong
        // Rows 21 to 25 of the copy are rows 4 to 0 turned over, but the grid
        // row below reaches the places of rows 0 to 4 with its rows 30 to 34.
        std::vector<SegmentGrid> grids(3);
        grids[0].first = {10, 1, 30, 3};
        grids[1].first = {10, 24, 30, 22};
        grids[2].first = {45, 31, 65, 33};
        for (SegmentGrid& g : grids) {
            g.stepX = 40;
            g.stepY = 30;
            g.columns = 2;
            g.rows = 6;
        }
        const QString d = difference(80, 200, 3, grids);
        QVERIFY2(d.isEmpty(), qPrintable(d));
    }

    void aSymmetrysCopiesPaintedAtOnceMatchDrawingEachInTurn()
    {
        // Shapes under operations that turn them over along the axes or shift
        // them, each with its own share of the lattice, on one cell or many,
        // cut short at a random cell: Paint gives the pixels of drawing every
        // copy it names with Line, in copy pen and inverting.
        std::mt19937 random(20261209);
        auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
        for (int n = 0; n < 600; ++n) {
            const int w = any(1, 140), h = any(1, 110);
            const int width = any(0, 3) == 0 ? 1 : any(2, 24);
            std::vector<Segment> shapes(static_cast<std::size_t>(any(1, 3)));
            for (Segment& s : shapes)
                s = {float(any(-30, 90)), float(any(-30, 90)), float(any(-30, 90)), float(any(-30, 90))};
            Symmetry sym;
            sym.ops.clear();
            for (int i = any(1, 4); i > 0; --i) {
                PointOp op;
                op.xx = any(0, 1) ? -1 : 1;
                op.yy = any(0, 1) ? -1 : 1;
                op.tx = any(-20, 120);
                op.ty = any(-20, 120);
                op.columns = any(0, 2) == 0 ? -1 : any(0, 8);
                op.rows = any(0, 2) == 0 ? -1 : any(0, 8);
                sym.ops.push_back(op);
            }
            Lattice& l = sym.lattice;
            if (n % 4 != 0) {
                l.ax = any(1, 40) * (any(0, 4) == 0 ? -1 : 1);
                l.by = any(1, 40) * (any(0, 4) == 0 ? -1 : 1);
                l.columns = any(1, 8);
                l.rows = any(1, 8);
                l.chess = any(0, 3) == 0;
                l.phase = any(0, 1);
                if (any(0, 3) == 0) {
                    l.endRow = any(0, l.rows);
                    l.endColumn = any(0, l.columns);
                }
                if (n % 7 == 1) {
                    // Hexagonal: b off the axis and off whole pixels, and a
                    // turn of 60 degrees, whose shapes round to whole pixels.
                    l.ax = any(2, 30) * 2;
                    l.bx = -l.ax / 2 + any(0, 1) * 0.5;
                    l.by = l.ax * 0.8660254;
                    PointOp turn;
                    turn.xx = turn.yy = 0.5;
                    turn.xy = -0.8660254;
                    turn.yx = 0.8660254;
                    turn.tx = any(0, 40) + 0.25;
                    sym.ops.push_back(turn);
                }
            }
            std::vector<Segment> copies;
            expandCopies(shapes, sym, copies);
            for (const int16 mode : {kCopyPen, kInvertPen}) {
                if (mode == kInvertPen && n % 5 != 0)
                    continue;
                RasterSurface atOnce(w, h, 0, kWhite), single(w, h, 0, kWhite);
                for (RasterSurface* s : {&atOnce, &single}) {
                    s->SetDrawWidth(static_cast<int16>(width));
                    s->SetDrawMode(mode);
                }
                atOnce.Paint(shapes, sym, kInk);
                for (const Segment& c : copies)
                    single.Line(c.x1, c.y1, c.x2, c.y2, kInk);
                QVERIFY2(atOnce.backing() == single.backing(),
                         qPrintable(QString("case %1: %2 copies of %3 shapes under %4 operations, width %5, mode %6")
                                        .arg(n).arg(copies.size()).arg(shapes.size()).arg(sym.ops.size()).arg(width).arg(mode)));
            }
        }
    }

    void invertingDrawsEveryCopyInTurn()
    {
        // Overlapping copies invert twice; only copy pen may paint the union.
        SegmentGrid g;
        g.first = {0, 0, 12, 3};
        g.stepX = 5;
        g.stepY = 7;
        g.columns = 6;
        g.rows = 4;
        QCOMPARE(atOnce(61, 41, 3, {&g, 1}, kInvertPen).image, oneByOne(61, 41, 3, {&g, 1}, kInvertPen));
    }

    void aSmallStrokeOnBigCellsRepaintsAroundItsCopiesOnly()
    {
        SegmentGrid g;
        g.first = {-195, -190, -188, -186};
        g.stepX = 200;
        g.stepY = 200;
        g.columns = 11;
        g.rows = 7;
        auto areaOf = [](const QRegion& r) {
            qint64 area = 0;
            for (const QRect& piece : r)
                area += qint64(piece.width()) * piece.height();
            return area;
        };
        // 10 copies of about 12 x 9 pixels on the canvas: a rectangle or so
        // each, not a band across the canvas.
        SegmentGrid two = g;
        two.rows = 2;
        const Drawn few = atOnce(1920, 300, 5, {&two, 1});
        QVERIFY(few.reported.rectCount() >= 10 && few.reported.rectCount() <= 32);
        QVERIFY2(areaOf(few.reported) <= 10 * 64 * 12, qPrintable(QString::number(areaOf(few.reported))));
        // 60 copies: one band per row of cells, still not the canvas.
        const Drawn many = atOnce(1920, 1080, 5, {&g, 1});
        QVERIFY(many.reported.rectCount() <= 12);
        QVERIFY(areaOf(many.reported) < 1920 * 1080 / 10);
        QVERIFY(many.reported.contains(QPoint(1805, 810)));
    }
};

QTEST_GUILESS_MAIN(GridRasterTest)
#include "test_grid_raster.moc"
