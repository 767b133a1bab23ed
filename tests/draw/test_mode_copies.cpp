// The copies of a segment under the drawing mode, from settings alone: Centric's
// turns at their exact places and rounded to whole pixels, the guides drawn
// from them, and the lattice period that a Pattern step's picture repeats by.

#include <QTest>

#include <cmath>
#include <random>

#include "draw/centric_geometry.h"
#include "draw/lattice_period.h"
#include "draw/mode_copies.h"
#include "draw/pattern_geometry.h"
#include "draw/symmetry_options.h"
#include "platform/raster/raster_surface.h"

using namespace kalidor;

namespace {

constexpr Colour kInk = 0x203040;

double angleOf(double x, double y) { return std::atan2(y, x); }

// The smallest turn from a to b, either way.
double turnBetween(double a, double b) { return std::abs(std::remainder(b - a, 2 * M_PI)); }

// Whether the picture is the same at p and p + (dx, dy) wherever both lie in
// the part of the canvas `inside`.
bool repeats(const QImage& im, int dx, int dy, const QRect& inside, QString& where)
{
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (inside.contains(x + dx, y + dy) && im.pixel(x, y) != im.pixel(x + dx, y + dy)) {
                where = QString("(%1, %2) and (%3, %4)").arg(x).arg(y).arg(x + dx).arg(y + dy);
                return false;
            }
    return true;
}

}  // namespace

class ModeCopiesTest : public QObject {
    Q_OBJECT
private slots:
    void centricCopiesAreTheTurnsExactlyOrToTheNearestPixel()
    {
        std::mt19937 random(33);
        auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
        for (int round = 0; round < 200; ++round) {
            CopySettings c;
            c.mode = kCentric;
            c.centre = Point16{static_cast<int16>(any(-500, 2000)), static_cast<int16>(any(-500, 2000))};
            c.n = static_cast<int16>(any(1, 16));
            c.turn = static_cast<float>(static_cast<double>(kFullTurn) / c.n);
            c.mirror = any(0, 1) == 1;
            c.mirrorAngle = any(0, 179);
            const Segment s{float(any(-800, 3000)), float(any(-800, 3000)), float(any(-800, 3000)), float(any(-800, 3000))};
            const StrokeStep exact = copiesOf(c, s, Places::Exact);
            const StrokeStep whole = copiesOf(c, s);
            QCOMPARE(exact.shapes.size(), std::size_t(c.n));
            QCOMPARE(whole.shapes.size(), std::size_t(c.n));
            QCOMPARE(exact.symmetry.ops.size(), std::size_t(c.mirror ? 2 : 1));
            QCOMPARE(whole.symmetry.ops.size(), exact.symmetry.ops.size());
            const double r = std::hypot(s.x2 - c.centre.x, s.y2 - c.centre.y);
            const double a = angleOf(s.x2 - c.centre.x, s.y2 - c.centre.y);
            for (int i = 0; i < c.n; ++i) {
                const Segment& e = exact.shapes[static_cast<std::size_t>(i)];
                const Segment& w = whole.shapes[static_cast<std::size_t>(i)];
                const double ex = e.x2 - c.centre.x, ey = e.y2 - c.centre.y;
                // On the circle, i n-ths of a turn on, clockwise on screen.
                QVERIFY(std::abs(std::hypot(ex, ey) - r) < 1e-3 * std::max(1.0, r));
                if (r > 1)
                    QVERIFY2(turnBetween(angleOf(ex, ey), a + 2 * M_PI * i / c.n) < 1e-5,
                             qPrintable(QString("round %1 copy %2").arg(round).arg(i)));
                // Whole pixels, each within half a pixel along each axis of its
                // exact place, and the angle's steps in single precision.
                QCOMPARE(w.x2, std::round(w.x2));
                QVERIFY2(std::abs(w.x2 - e.x2) <= 0.55 && std::abs(w.y2 - e.y2) <= 0.55 &&
                             std::abs(w.x1 - e.x1) <= 0.55 && std::abs(w.y1 - e.y1) <= 0.55,
                         qPrintable(QString("round %1 copy %2: (%3, %4) for (%5, %6)")
                                        .arg(round).arg(i).arg(w.x2).arg(w.y2).arg(e.x2).arg(e.y2)));
            }
        }
    }

    void aStrokeContinuesFromWhereItsCopiesStand()
    {
        CopySettings c;
        c.mode = kCentric;
        c.centre = Point16{100, 100};
        c.n = 4;
        c.turn = static_cast<float>(static_cast<double>(kFullTurn) / 4);
        const std::vector<Point16> starts{{1, 2}, {3, 4}, {5, 6}};
        c.starts = &starts;
        const StrokeStep step = copiesOf(c, Segment{0, 0, 150, 100});
        // As many copies as the stroke has points, each from its own.
        QCOMPARE(step.shapes.size(), std::size_t{3});
        QCOMPARE(step.shapes[1].x1, 3.0f);
        QCOMPARE(step.shapes[1].y1, 4.0f);
        QCOMPARE(step.shapes[1].x2, 100.0f);
        QCOMPARE(step.shapes[1].y2, 150.0f);
        // Past 16 bits: the copies before the first that leaves the range.
        c.starts = nullptr;
        c.centre = Point16{32000, 0};
        const StrokeStep cut = copiesOf(c, Segment{31000, 0, 31000, 0});  // the half turn is at x = 33000
        QVERIFY(cut.overflow);
        QCOMPARE(cut.shapes.size(), std::size_t{2});
    }

    void theGuidesAreTheTurnsOfTheRayUpAndTheLatticesCellEdges()
    {
        CopySettings c;
        c.mode = kCentric;
        c.centre = Point16{120, 90};
        for (const int16 n : {int16(1), int16(5), int16(16)}) {
            c.n = n;
            const std::vector<Segment> rays = symmetryGuides(c, 300, 200);
            QCOMPARE(rays.size(), std::size_t(n));
            for (int i = 0; i < n; ++i) {
                const Segment& g = rays[static_cast<std::size_t>(i)];
                QCOMPARE(g.x1, 120.0f);
                QCOMPARE(g.y1, 90.0f);
                // i n-ths of a turn clockwise from straight up.
                QVERIFY(turnBetween(angleOf(g.x2 - g.x1, g.y2 - g.y1), -M_PI / 2 + 2 * M_PI * i / n) < 1e-6);
                QVERIFY(std::hypot(g.x2 - g.x1, g.y2 - g.y1) > 300);  // to the canvas's edge and past it
            }
        }
        c.mode = kPattern;
        c.patternX = 70;
        c.patternY = 45;
        const std::vector<Segment> grid = symmetryGuides(c, 300, 200);
        QCOMPARE(grid.size(), std::size_t{5 + 5});  // x = 0, 70 ... 280 and y = 0, 45 ... 180
        QCOMPARE(grid[4].x1, 280.0f);
        QCOMPARE(grid[9].y1, 180.0f);
    }

    void aPatternStepsPictureRepeatsByItsLatticePeriod()
    {
        // Steps within one cell, the copies far from the loop's ends: inside
        // the canvas, every translation of the period gives the same pixels.
        struct Case {
            const char* group;
            bool chess;
            bool mirror;
        };
        const Case cases[] = {{"p1", false, false}, {"p1", true, false}, {"p1", false, true}, {"p1", true, true},
                              {"pmm", false, false}, {"cmm", true, false}, {"p4m", false, false}, {"p4g", true, false}};
        std::mt19937 random(36);
        auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
        for (const Case& k : cases) {
            const int group = groupIndex(k.group);
            const int16 px = 24, py = group == groupIndex("p4m") || group == groupIndex("p4g") ? 24 : 16;
            RasterSurface s(260, 200, 0, kWhite);
            s.SetDrawWidth(3);
            EditorState st;
            st.PatternX = px;
            st.PatternY = py;
            const GroupCanvas canvas{260, 200, 3};
            int16 x = 4 * px + 6, y = 4 * py + 5;
            patternStart(st, 260, 200, x, y);
            for (int i = 0; i < 4; ++i) {
                x = static_cast<int16>(4 * px + any(3, px - 4));
                y = static_cast<int16>(4 * py + any(3, py - 4));
                paintStep(s, patternStep(st, k.chess, k.mirror, x, y, group, canvas), kInk);
            }
            const LatticePeriod period = latticePeriod(wallpaperGroup(group), px, py, k.chess, k.mirror);
            const int ax = static_cast<int>(period.cell.ax), by = static_cast<int>(period.cell.by);
            QCOMPARE(period.cell.ay, 0.0);
            QCOMPARE(period.cell.bx, 0.0);
            const QRect inside(2 * px, 2 * py, 260 - 4 * px, 200 - 4 * py);
            int inked = 0;
            for (int y = inside.top(); y <= inside.bottom(); ++y)
                for (int x = inside.left(); x <= inside.right(); ++x)
                    inked += s.Point(x, y) == static_cast<std::int32_t>(kInk);
            QVERIFY(inked > inside.width() * inside.height() / 100);  // a step's copies all over
            QString where;
            if (period.chess) {
                // Every other cell: a step along a diagonal, or two along an axis.
                QVERIFY2(repeats(s.backing(), ax, by, inside, where), qPrintable(QString(k.group) + " " + where));
                QVERIFY2(repeats(s.backing(), 2 * ax, 0, inside, where), qPrintable(QString(k.group) + " " + where));
                QVERIFY(!repeats(s.backing(), ax, 0, inside, where));
            } else {
                QVERIFY2(repeats(s.backing(), ax, 0, inside, where), qPrintable(QString(k.group) + " " + where));
                QVERIFY2(repeats(s.backing(), 0, by, inside, where), qPrintable(QString(k.group) + " " + where));
            }
            // Mirror's quilt repeats only by two cells.
            if (k.mirror)
                QVERIFY(!repeats(s.backing(), px, 0, inside, where));
        }
    }
};

QTEST_GUILESS_MAIN(ModeCopiesTest)
#include "test_mode_copies.moc"
