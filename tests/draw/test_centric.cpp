// Centric drawing: the angle and radius arithmetic to the bit, the worked
// example segment for segment, and what a stroke does with N and the centre.

#include <bit>
#include <cstdint>

#include <QSlider>

#include "draw/centric.h"
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
};

QTEST_MAIN(CentricTest)
#include "test_centric.moc"
