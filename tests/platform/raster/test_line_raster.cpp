// The pixels of segments: one-pixel lines, round-capped wide lines, exactness
// under translation, and agreement with a pixel-by-pixel reference.

#include <cmath>
#include <random>
#include <set>

#include <QTest>

#include "platform/raster/line_raster.h"

using namespace kalidor;

namespace {

using Pixels = std::set<std::pair<int, int>>;  // (x, y)

const ClipRect kWide{-5000, -5000, 5000, 5000};

Pixels pixelsOf(long long x1, long long y1, long long x2, long long y2, int width, ClipRect clip = kWide)
{
    std::vector<Span> spans;
    segmentSpans(x1, y1, x2, y2, width, clip, spans);
    Pixels p;
    for (const Span& s : spans)
        for (int x = s.x0; x <= s.x1; ++x)
            if (!p.insert({x, s.y}).second)
                QTest::qFail("a pixel appears twice", __FILE__, __LINE__);
    return p;
}

Pixels shifted(const Pixels& p, int dx, int dy)
{
    Pixels out;
    for (auto [x, y] : p)
        out.insert({x + dx, y + dy});
    return out;
}

// Distance from the centre of pixel (x, y) to the segment, with the ends where
// the width puts them: on pixel centres for odd widths, on pixel corners for even.
double distance(int x, int y, double x1, double y1, double x2, double y2, int width)
{
    const double o = (width % 2) ? 0.0 : -0.5;
    const double ax = x1 + o, ay = y1 + o, bx = x2 + o, by = y2 + o;
    const double dx = bx - ax, dy = by - ay;
    const double l2 = dx * dx + dy * dy;
    double t = l2 == 0 ? 0 : ((x - ax) * dx + (y - ay) * dy) / l2;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(x - (ax + t * dx), y - (ay + t * dy));
}

}  // namespace

class LineRasterTest : public QObject {
    Q_OBJECT
private slots:
    void thinLinesCoverBothEndsAndNothingElse()
    {
        QCOMPARE(pixelsOf(10, 10, 20, 10, 1).size(), std::size_t(11));
        const Pixels diagonal = pixelsOf(0, 0, 5, 5, 1);
        QCOMPARE(diagonal, (Pixels{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}}));
        QCOMPARE(pixelsOf(7, 3, 7, 3, 1), (Pixels{{7, 3}}));
        // A shallow line has one pixel per column, rows moving by at most one.
        const Pixels shallow = pixelsOf(0, 0, 30, 7, 1);
        QCOMPARE(shallow.size(), std::size_t(31));
        QVERIFY(shallow.count({0, 0}) && shallow.count({30, 7}));
    }

    void wideLinesAreExactlyAsThickAsTheirWidth()
    {
        for (int w : {2, 3, 10, 29, 30}) {
            const Pixels h = pixelsOf(0, 0, 100, 0, w);
            std::set<int> rowsAtMiddle;
            for (auto [x, y] : h)
                if (x == 50)
                    rowsAtMiddle.insert(y);
            QCOMPARE(int(rowsAtMiddle.size()), w);
            const Pixels v = pixelsOf(0, 0, 0, 100, w);
            std::set<int> columnsAtMiddle;
            for (auto [x, y] : v)
                if (y == 50)
                    columnsAtMiddle.insert(x);
            QCOMPARE(int(columnsAtMiddle.size()), w);
        }
    }

    void capsAreRound()
    {
        // A dot of odd width is a disc centred on its pixel, symmetric both ways.
        const Pixels dot = pixelsOf(0, 0, 0, 0, 9);
        for (auto [x, y] : dot) {
            QVERIFY(dot.count({-x, y}) && dot.count({x, -y}) && dot.count({y, x}));
            QVERIFY(std::hypot(x, y) <= 4.5);
        }
        QVERIFY(dot.count({4, 0}) && !dot.count({4, 4}));
        // The end of a thick horizontal line is rounded: its corner pixel is missing.
        const Pixels line = pixelsOf(0, 0, 40, 0, 15);
        QVERIFY(line.count({47, 0}) && !line.count({47, 7}) && line.count({40, 7}));
    }

    void translatingTheEndsTranslatesThePixels()
    {
        std::mt19937 rng(20261208);
        std::uniform_int_distribution<int> coord(-300, 300), shift(-1000, 1000), width(1, 30);
        for (int i = 0; i < 300; ++i) {
            const int x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng), w = width(rng);
            const int dx = shift(rng), dy = shift(rng);
            QCOMPARE(pixelsOf(x1 + dx, y1 + dy, x2 + dx, y2 + dy, w), shifted(pixelsOf(x1, y1, x2, y2, w), dx, dy));
        }
    }

    void widePixelsAreThoseWithinHalfTheWidth()
    {
        std::mt19937 rng(7);
        std::uniform_int_distribution<int> coord(-60, 60), width(2, 30);
        for (int i = 0; i < 200; ++i) {
            const int x1 = coord(rng), y1 = coord(rng), x2 = coord(rng), y2 = coord(rng), w = width(rng);
            const Pixels got = pixelsOf(x1, y1, x2, y2, w);
            for (int y = -100; y <= 100; ++y)
                for (int x = -100; x <= 100; ++x) {
                    const double d = distance(x, y, x1, y1, x2, y2, w);
                    if (d < w / 2.0 - 1e-9)
                        QVERIFY2(got.count({x, y}), "a pixel well inside the line is missing");
                    if (d > w / 2.0 + 1e-9)
                        QVERIFY2(!got.count({x, y}), "a pixel outside the line is drawn");
                }
        }
    }

    void clippingKeepsOnlyThePixelsInside()
    {
        const ClipRect clip{0, 0, 99, 49};
        for (int w : {1, 12}) {
            const Pixels all = pixelsOf(-500, -300, 700, 400, w);
            const Pixels inside = pixelsOf(-500, -300, 700, 400, w, clip);
            Pixels expected;
            for (auto [x, y] : all)
                if (x >= 0 && x <= 99 && y >= 0 && y <= 49)
                    expected.insert({x, y});
            QCOMPARE(inside, expected);
            QVERIFY(!inside.empty());
        }
        QVERIFY(pixelsOf(-30000, 5, -20000, 5, 30, clip).empty());
    }

    void mergedSpansCountEveryPixelOnce()
    {
        std::vector<Span> spans{{3, 5, 9}, {1, 0, 2}, {3, 8, 12}, {3, 13, 14}, {3, 20, 21}};
        mergeSpans(spans);
        QCOMPARE(spans.size(), std::size_t(3));
        QCOMPARE(spans[0].y, 1);
        QCOMPARE(spans[1].x0, 5);
        QCOMPARE(spans[1].x1, 14);
        QCOMPARE(spans[2].x0, 20);
    }
};

QTEST_APPLESS_MAIN(LineRasterTest)
#include "test_line_raster.moc"
