// Events whose arithmetic would leave 16 bits: each is abandoned with the state
// as far as it got, nothing wraps around, and the next event works as usual.

#include <QSlider>

#include "draw/control_point.h"
#include "platform/widgets/surface_widget.h"
#include "support/recorded_window.h"

using namespace kalidor;
using test::DrawnSegment;
using Segments = std::vector<DrawnSegment>;

namespace {

constexpr Qt::MouseButton kL = Qt::LeftButton;

struct Window : test::RecordedWindow {
    explicit Window(int mode) { choose(mode); }
};

}  // namespace

class Int16LimitsTest : public QObject {
    Q_OBJECT
private slots:
    void arrowKeysStopAtTheLimits()
    {
        Window w(kPattern);
        ChangeCPXY(w.e, 32767, 32767);
        w.key(Qt::Key_Right);
        w.key(Qt::Key_Down);
        QCOMPARE(w.panel3(), std::string("P: 32767,32767"));
        QCOMPARE(w.markerAt(), QPoint(32761, 32761));
        w.key(Qt::Key_Left);  // and back again
        QCOMPARE(w.e.st.PatternX, int16{32766});

        w.choose(kCentric);
        ChangeCPXY(w.e, -32762, -32762);
        QCOMPARE(w.markerAt(), QPoint(-32768, -32768));
        // The centre goes on to -32768 and is shown, but the marker cannot stand
        // 6 pixels further up: it stays where it was.
        for (int i = 0; i < 6; ++i)
            w.key(Qt::Key_Up);
        QCOMPARE(w.panel3(), std::string("C: -32762,-32768"));
        QCOMPARE(w.markerAt(), QPoint(-32768, -32768));
        w.key(Qt::Key_Up);  // -32769 is no 16-bit value
        QCOMPARE(w.panel3(), std::string("C: -32762,-32768"));
        for (int i = 0; i < 7; ++i)
            w.key(Qt::Key_Left);
        QCOMPARE(w.e.st.CenterX, int16{-32768});
        w.key(Qt::Key_Right);
        QCOMPARE(w.e.st.CenterX, int16{-32767});
        QCOMPARE(w.markerAt(), QPoint(-32768, -32768));
    }

    void aDropBeyondTheMarkersReachSetsOnlyThePoint()
    {
        Window w(kPattern);
        // As the marker reports a drop, through the window's event boundary.
        auto drop = [&](float x, float y) { w.e.ui.pbBox.box()->onDragDrop(DragSource::Marker, x, y); };
        const QPoint before = w.markerAt();
        drop(40000, 10);  // no 16-bit position: nothing happens
        QCOMPARE(w.panel3(), std::string("P: 200,200"));
        drop(-32763.4f, 10);
        QCOMPARE(w.panel3(), std::string("P: -32763,10"));
        QCOMPARE(w.markerAt(), before);
        drop(30, 40);
        QCOMPARE(w.markerAt(), QPoint(24, 34));
    }

    void patternCellProductsAndIndicesAtTheLimits()
    {
        Window w(kPattern);
        // Column 0's origin is (0 - 1) x -32768 = 32768: the step stops before
        // its first segment, after the cell was taken in.
        w.e.st.PatternX = -32768;
        w.press(30, 20, kL, kL);
        QCOMPARE(w.e.st.PatternSXY, (Point16{30, 20}));
        w.move(40, 220, kL);
        QCOMPARE(w.pb.calls, 0);
        QCOMPARE(w.e.st.PatternCell, (Cell16{1, 2}));
        QCOMPARE(w.e.st.PatternSXY, (Point16{30, -180}));  // shifted by the row change, not the new offset

        // One-pixel cells: the column of x = 32767 would be 32768. The set-up
        // measured the grid, then stopped.
        w.e.st.PatternX = 1;
        w.e.st.PatternY = 1;
        w.press(32767, 5, kL, kL);
        QCOMPARE(w.e.st.CellsX, int16(w.e.ui.pb->Width() + 1));
        QCOMPARE(w.e.st.PatternCell, (Cell16{1, 2}));
        // And the next stroke draws.
        w.e.st.PatternX = 200;
        w.e.st.PatternY = 200;
        w.press(10, 10, kL, kL);
        w.move(20, 10, kL);
        QVERIFY(w.pb.calls > 0);
        QCOMPARE(w.pb.segments[5], (DrawnSegment{10, 10, 20, 10, 0, 1}));  // the pointer's own cell
    }

    void centricSetUpFarFromTheCentre()
    {
        Window w(kCentric);
        w.e.ui.slN.slider()->setValue(2);
        w.e.st.CenterX = -100;
        w.e.st.CenterY = 0;
        // The reflection of x = 32600 through -100 is -32800: row 1 is stored,
        // row 2 stays as the new table was made.
        w.press(32600, 0, kL, kL);
        QCOMPARE(w.e.st.SXY, (std::vector<Point16>{{32600, 0}, {0, 0}}));
        QCOMPARE(w.e.st.DAlfa, 3.141592f);
        // Too far from the centre for the difference itself: nothing changes.
        w.e.st.CenterX = -32768;
        w.press(32767, 0, kL, kL);
        QCOMPARE(w.e.st.SXY, (std::vector<Point16>{{32600, 0}, {0, 0}}));
        w.move(0, 0, kL);
        QVERIFY(w.pb.segments.empty());
        // Back near the centre everything works.
        w.e.st.CenterX = 100;
        w.e.st.CenterY = 100;
        w.press(150, 100, kL, kL);
        w.move(160, 100, kL);
        QCOMPARE(w.pb.segments, (Segments{{150, 100, 160, 100, 0, 1}, {50, 100, 40, 100, 0, 1}}));
    }
};

QTEST_MAIN(Int16LimitsTest)
#include "test_int16_limits.moc"
