// Centric drawing: the angle and radius arithmetic to the bit, the worked
// example segment for segment, and what a stroke does with N and the centre.

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <random>

#include <QSlider>

#include "draw/centric.h"
#include "platform/raster/raster_surface.h"
#include "support/recorded_window.h"

using namespace kalidor;
using test::DrawnSegment;
using Segments = std::vector<DrawnSegment>;

namespace {

std::uint32_t bits(float f) { return std::bit_cast<std::uint32_t>(f); }
#define COMPARE_EXACT(actual, expected) QCOMPARE(bits(actual), bits(expected))

struct Centric : test::RecordedWindow {
    Centric(int16 cx, int16 cy, int n)
    {
        choose(kCentric);
        e.st.CenterX = cx;
        e.st.CenterY = cy;
        e.ui.slN.slider()->setValue(n);
    }
    std::vector<Point16> rows() const { return e.st.SXY; }
};

}  // namespace

class CentricTest : public QObject {
    Q_OBJECT
private slots:
    void anglesAboutTheCentre()
    {
        EditorState s;
        s.CenterX = 100;
        s.CenterY = 100;
        COMPARE_EXACT(DefAlfa(s, 100, 40), 4.712388f);   // straight above
        COMPARE_EXACT(DefAlfa(s, 100, 100), 4.712388f);  // the centre itself
        COMPARE_EXACT(DefAlfa(s, 100, 160), 1.570796f);  // straight below
        COMPARE_EXACT(DefAlfa(s, 30, 100), 3.141592f);   // left, on the horizontal
        COMPARE_EXACT(DefAlfa(s, 150, 150), 0.7853982f);
        COMPARE_EXACT(DefAlfa(s, 50, 50), 3.9269903f);
        COMPARE_EXACT(DefAlfa(s, 160, 110), 0.16514868f);
    }

    void theAngleStepIsTheSingleQuotientOfTheFullTurn()
    {
        // The geometry alone, no window.
        EditorState s;
        s.CenterX = 100;
        s.CenterY = 100;
        const std::pair<int16, float> cases[] = {{3, 2.0943947f}, {5, 1.2566369f}, {6, 1.0471973f}, {16, 0.3926990f}};
        for (auto [n, step] : cases) {
            centricStart(s, n, 150, 100);
            COMPARE_EXACT(s.DAlfa, step);
            QCOMPARE(s.SXY.size(), std::size_t(n));
            QCOMPARE(s.SXY[0], (Point16{150, 100}));
        }
    }

    void theWorkedExampleSegmentForSegment()
    {
        Centric w(100, 100, 4);
        w.press(150, 100, Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(w.rows(), (std::vector<Point16>{{150, 100}, {100, 150}, {50, 100}, {100, 50}}));
        COMPARE_EXACT(w.e.st.DAlfa, 1.570796f);
        QCOMPARE(w.pb.calls, 0);  // a press alone draws nothing
        w.move(160, 110, Qt::LeftButton);
        QCOMPARE(w.pb.segments, (Segments{{150, 100, 160, 110, 0, 1},
                                          {100, 150, 90, 160, 0, 1},
                                          {50, 100, 40, 90, 0, 1},
                                          {100, 50, 110, 40, 0, 1}}));
        QCOMPARE(w.pb.calls, 1);  // the whole step in one drawing call
        QCOMPARE(w.rows(), (std::vector<Point16>{{160, 110}, {90, 160}, {40, 90}, {110, 40}}));
        // The copies are on the canvas, and the centre's own pixel is not.
        QCOMPARE(w.e.ui.pb->Point(40, 90), 0);
        QCOMPARE(w.e.ui.pb->Point(105, 45), 0);
        QCOMPARE(w.e.ui.pb->Point(100, 100), 0xFFFFFF);
    }

    void oneAndTwoCopies()
    {
        Centric one(100, 100, 1);
        one.press(10, 20, Qt::LeftButton, Qt::LeftButton);
        one.move(30.4, 39.6, Qt::LeftButton);  // a freehand stroke rounded to whole pixels
        QCOMPARE(one.pb.segments, (Segments{{10, 20, 30, 40, 0, 1}}));

        Centric two(100, 100, 2);
        two.press(150, 100, Qt::RightButton, Qt::RightButton);
        two.move(160, 110, Qt::RightButton);  // and its reflection through the centre
        QCOMPARE(two.pb.segments, (Segments{{150, 100, 160, 110, 0xFFFFFF, 1}, {50, 100, 40, 90, 0xFFFFFF, 1}}));
    }

    void aPressOnTheCentreStartsEveryCopyThere()
    {
        Centric w(100, 100, 4);
        w.press(100, 100, Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(w.rows(), (std::vector<Point16>(4, Point16{100, 100})));
        w.move(120, 100, Qt::LeftButton);
        QCOMPARE(w.pb.segments, (Segments{{100, 100, 120, 100, 0, 1},
                                          {100, 100, 100, 120, 0, 1},
                                          {100, 100, 80, 100, 0, 1},
                                          {100, 100, 100, 80, 0, 1}}));
    }

    void aNewNCountsFromTheNextStroke()
    {
        Centric w(100, 100, 4);
        w.press(150, 100, Qt::LeftButton, Qt::LeftButton);
        w.e.ui.slN.slider()->setValue(8);
        QCOMPARE(w.e.ui.lN.Caption(), std::string("8"));  // the label follows at once
        w.move(160, 110, Qt::LeftButton);
        QCOMPARE(w.pb.segments.size(), std::size_t(4));  // only the rows that exist
        w.e.ui.slN.slider()->setValue(2);
        w.move(170, 110, Qt::LeftButton);  // fewer: the first rows, with the old step
        QCOMPARE(w.pb.segments.size(), std::size_t(6));
        QCOMPARE(w.pb.segments[5], (DrawnSegment{90, 160, 90, 170, 0, 1}));  // a quarter turn on
        w.press(150, 100, Qt::LeftButton, Qt::LeftButton);
        QCOMPARE(w.rows().size(), std::size_t(2));
    }

    void stepsThatCannotDrawChangeNothing()
    {
        // Before any set-up since start there are no points to draw from.
        Centric w(100, 100, 5);
        w.move(120, 100, Qt::LeftButton);
        QCOMPARE(w.pb.calls, 0);
        QVERIFY(w.rows().empty());
        // The middle button has no well.
        w.press(150, 100, Qt::MiddleButton, Qt::MiddleButton);
        const auto before = w.rows();
        w.move(160, 110, Qt::MiddleButton);
        w.move(160, 120, Qt::LeftButton | Qt::MiddleButton);
        QCOMPARE(w.pb.calls, 0);
        QCOMPARE(w.rows(), before);
    }

    void aStepThatOverflowsKeepsWhatItDrew()
    {
        Centric w(-100, 0, 2);
        DefCenterSXY(w.e, -90, 0);
        QCOMPARE(w.rows(), (std::vector<Point16>{{-90, 0}, {-110, 0}}));
        // The reflection of x = 32600 would be -32800: the pointer's own copy is
        // drawn and stored, then the event stops.
        QVERIFY_THROWS_EXCEPTION(Int16Error, CenterDrawLines(w.e, 32600, 0, 1));
        QCOMPARE(w.pb.segments, (Segments{{-90, 0, 32600, 0, 0, 1}}));
        QCOMPARE(w.rows(), (std::vector<Point16>{{32600, 0}, {-110, 0}}));
    }

    void aMirroredStepIsEveryCopyAndItsMirrorImageUpToAnOverflow()
    {
        // Random centres, N and strokes, some near the 16-bit limits: the
        // step's copies are its N rounded turns from the stored points, then
        // each across the centre's vertical, as far as 2 CenterX - x stays in
        // 16 bits; the stored points are the turns' ends, never mirrored.
        std::mt19937 random(20261209);
        auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
        int cut = 0;
        for (int n = 0; n < 2000; ++n) {
            // Near the limits the turns stay in range and the mirror images may not.
            const int most = n % 3 == 0 ? 32000 : 2000;
            EditorState s;
            s.CenterX = int16(any(-most, most));
            s.CenterY = int16(any(-most, most));
            const auto copies = int16(any(1, 16));
            const auto x = int16(s.CenterX + any(-500, 500)), y = int16(s.CenterY + any(-500, 500));
            centricStart(s, copies, int16(s.CenterX + any(-500, 500)), int16(s.CenterY + any(-500, 500)));
            const std::vector<Point16> from = s.SXY;
            const bool mirror = n % 2 == 0;
            StrokeStep step;
            try {
                step = centricStep(s, copies, mirror, x, y);
            } catch (const Int16Error&) {
                QFAIL("the step keeps its overflow, it does not throw");
            }
            std::vector<Segment> got;
            expandCopies(step.shapes, step.symmetry, got);
            std::vector<Segment> want;
            for (std::size_t i = 0; i < s.SXY.size(); ++i)
                want.push_back({float(from[i].x), float(from[i].y), float(s.SXY[i].x), float(s.SXY[i].y)});
            const std::size_t turns = want.size();
            auto fits = [](long long v) { return v >= -32768 && v <= 32767; };
            for (std::size_t i = 0; mirror && i < turns && fits(2LL * s.CenterX); ++i) {
                const long long a = 2LL * s.CenterX - from[i].x, b = 2LL * s.CenterX - s.SXY[i].x;
                if (!fits(a) || !fits(b))
                    break;
                want.push_back({float(a), want[i].y1, float(b), want[i].y2});
            }
            cut += mirror && want.size() < 2 * turns;
            QCOMPARE(step.overflow.has_value(), mirror && want.size() < 2 * turns);
            QCOMPARE(got.size(), want.size());
            for (std::size_t i = 0; i < got.size(); ++i)
                QVERIFY2(got[i].x1 == want[i].x1 && got[i].y1 == want[i].y1 && got[i].x2 == want[i].x2 && got[i].y2 == want[i].y2,
                         qPrintable(QString("case %1, copy %2").arg(n).arg(i)));
        }
        QVERIFY(cut > 50);  // mirror images did leave 16 bits
    }

    void aTurnedMirrorLineIsExactOnEveryEighthOfATurn()
    {
        // At 45, 90 and 135 degrees the picture is its own mirror image, pixel
        // for pixel, across the line through the centre's place (a pixel's
        // centre for odd widths, its corner for even ones); at other angles
        // each mirrored end is the exact image rounded.
        std::mt19937 random(2912);
        auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
        long long mirrored = 0;  // inked pixels whose mirror image was on the canvas too
        for (int n = 0; n < 48; ++n) {
            const int angle = std::array{45, 90, 135, 30, 1, 179}[static_cast<std::size_t>(n % 6)];
            const int width = n / 6 % 2 == 0 ? 1 : any(2, 12);  // thin lines at every angle
            EditorState s;
            s.CenterX = static_cast<int16>(any(40, 80));
            s.CenterY = static_cast<int16>(any(40, 80));
            RasterSurface surface(121, 121, 0, kWhite);
            surface.SetDrawWidth(static_cast<int16>(width));
            int16 x = static_cast<int16>(any(0, 120)), y = static_cast<int16>(any(0, 120));
            const int16 copies = static_cast<int16>(any(1, 7));
            centricStart(s, copies, x, y);
            const double a = angle * M_PI / 180, ux = std::sin(a), uy = -std::cos(a);
            const double h = (width & 1) ? 0.5 : 0.0, px = s.CenterX + h, py = s.CenterY + h;
            auto reflect = [&](double cx, double cy, double& rx, double& ry) {
                const double d = (cx - px) * ux + (cy - py) * uy;
                rx = 2 * (px + d * ux) - cx;
                ry = 2 * (py + d * uy) - cy;
            };
            for (int i = 0; i < 5; ++i) {
                x = static_cast<int16>(std::clamp(x + any(-30, 30), 0, 120));
                y = static_cast<int16>(std::clamp(y + any(-30, 30), 0, 120));
                const StrokeStep step = centricStep(s, copies, true, x, y, angle);
                paintStep(surface, step, 0x102030);
                if (angle % 45 == 0)
                    continue;
                std::vector<Segment> all;
                expandCopies(step.shapes, step.symmetry, all);
                QCOMPARE(all.size(), 2 * step.shapes.size());
                for (std::size_t k = 0; k < step.shapes.size(); ++k) {
                    // Ends of odd widths lie on pixel centres: reflected as places.
                    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
                    reflect(step.shapes[k].x1 + h, step.shapes[k].y1 + h, x1, y1);
                    reflect(step.shapes[k].x2 + h, step.shapes[k].y2 + h, x2, y2);
                    const Segment& m = all[step.shapes.size() + k];
                    QVERIFY(std::abs(m.x1 - (x1 - h)) <= 0.5 && std::abs(m.y1 - (y1 - h)) <= 0.5 &&
                            std::abs(m.x2 - (x2 - h)) <= 0.5 && std::abs(m.y2 - (y2 - h)) <= 0.5);
                }
            }
            if (angle % 45 != 0)
                continue;
            const QImage& im = surface.backing();
            int inked = 0;
            for (int j = 0; j < im.height(); ++j)
                for (int i = 0; i < im.width(); ++i) {
                    double rx = 0, ry = 0;
                    reflect(i + 0.5, j + 0.5, rx, ry);
                    const int u = static_cast<int>(std::floor(rx)), v = static_cast<int>(std::floor(ry));
                    if (u < 0 || v < 0 || u >= im.width() || v >= im.height())
                        continue;
                    inked += im.pixel(i, j) != im.pixel(u, v) ? 1000000 : (im.pixel(i, j) & 0xFFFFFF) != 0xFFFFFF;
                }
            QVERIFY2(inked < 1000000, qPrintable(QString("case %1: angle %2 width %3").arg(n).arg(angle).arg(width)));
            mirrored += inked;
        }
        QVERIFY(mirrored > 5000);
    }
};

QTEST_MAIN(CentricTest)
#include "test_centric.moc"
