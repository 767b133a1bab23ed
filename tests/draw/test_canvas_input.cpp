// Mouse input on the canvas: freehand strokes, the pointer readout, the control
// point under Shift, and the event boundary for positions beyond 16 bits.

#include <cmath>
#include <random>

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "draw/canvas_input.h"
#include "editor/tool.h"
#include "support/recorded_window.h"

using namespace kalidor;
using test::DrawnSegment;
using test::onCanvas;

namespace {

constexpr Qt::MouseButtons kNone = Qt::NoButton;
constexpr Qt::MouseButton kL = Qt::LeftButton;
constexpr Qt::MouseButton kR = Qt::RightButton;
constexpr Qt::MouseButton kM = Qt::MiddleButton;

using Session = test::RecordedWindow;

// The mean distance from the circle about (cx, cy) of radius r along the
// drawn segments, sampled every quarter pixel of their length.
double meanDistance(const std::vector<DrawnSegment>& path, double cx, double cy, double r)
{
    double sum = 0, length = 0;
    for (const DrawnSegment& g : path) {
        const double l = std::hypot(g.x2 - g.x1, g.y2 - g.y1);
        const int samples = std::max(1, static_cast<int>(l * 4));
        for (int i = 0; i < samples; ++i) {
            const double t = (i + 0.5) / samples;
            sum += std::abs(std::hypot(g.x1 + t * (g.x2 - g.x1) - cx, g.y1 + t * (g.y2 - g.y1) - cy) - r) * l / samples;
        }
        length += l;
    }
    return sum / length;
}

// A circle of radius 150 traced in 200 moves, each shaken by up to 3 pixels
// each way (whole pixels, as the pointer gives them), with the stabiliser at
// `level`: the segments drawn and the release point.
std::pair<std::vector<DrawnSegment>, QPoint> shakyCircle(Steadiness level, unsigned seed)
{
    Session s;
    s.e.steadiness = level;
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> shake(-3, 3);
    QPoint at;
    for (int i = 0; i <= 200; ++i) {
        const double a = 2 * M_PI * i / 200;
        at = QPoint(static_cast<int>(std::lround(250 + 150 * std::cos(a) + shake(random))),
                    static_cast<int>(std::lround(300 + 150 * std::sin(a) + shake(random))));
        if (i == 0)
            s.press(at.x(), at.y(), kL, kL);
        else
            s.move(at.x(), at.y(), kL);
    }
    test::release(s.canvas, onCanvas(at.x(), at.y()), kL, kNone);
    return {s.pb.segments, at};
}

}  // namespace

class CanvasInputTest : public QObject {
    Q_OBJECT
private slots:
    void aFreehandStrokeJoinsItsSegments()
    {
        Session s;
        s.press(10, 10, kL, kL);
        QVERIFY(s.pb.segments.empty());  // a press alone draws nothing
        s.move(20, 10, kL);
        s.move(20, 20, kL);
        QCOMPARE(s.pb.segments, (std::vector<DrawnSegment>{{10, 10, 20, 10, 0x000000, 1},
                                                           {20, 10, 20, 20, 0x000000, 1}}));
        QCOMPARE(s.e.ui.pb->Point(15, 10), 0);
        QCOMPARE(s.e.ui.pb->Point(20, 15), 0);
        QCOMPARE(s.e.ui.pb->Point(15, 15), 0xFFFFFF);
        QCOMPARE(s.e.st.LastXY, (Point16{20, 20}));
    }

    void theStabiliserSteadiesAShakyCircleAndFinishesAtTheRelease()
    {
        constexpr unsigned kSeeds = 16;
        double off = 0, light = 0, strong = 0;
        for (unsigned seed = 1; seed <= kSeeds; ++seed)
            for (const Steadiness level : {Steadiness::Off, Steadiness::Light, Steadiness::Strong}) {
                const auto [path, end] = shakyCircle(level, seed);
                // Off draws each move as it comes; on, the stroke still ends where the pointer let go.
                QCOMPARE(path.size(), level == Steadiness::Off ? std::size_t{200} : path.size());
                QCOMPARE(QPointF(path.back().x2, path.back().y2), QPointF(end));
                const double d = meanDistance(path, 250, 300, 150);
                (level == Steadiness::Off ? off : level == Steadiness::Light ? light : strong) += d / kSeeds;
            }
        qInfo("mean distance from the circle: Off %.3f, Light %.3f (%.2f of Off), Strong %.3f (%.2f of Off)", off,
              light, light / off, strong, strong / off);
        QVERIFY(light <= off * 2 / 3);
        QVERIFY(strong <= off / 3);
    }

    void escapeCallsOffNoStrokeAndTheReleaseEndsItsStep()
    {
        // The stroke is drawn as it goes: Escape leaves it drawing, in the
        // same step, until the last button goes up.
        Session s;
        s.press(10, 10, kL, kL);
        QVERIFY(s.e.stroking && s.e.tool);
        s.move(20, 10, kL);
        s.key(Qt::Key_Escape);
        s.move(20, 20, kL);
        QCOMPARE(s.pb.segments.size(), std::size_t{2});
        QVERIFY(s.e.stroking);
        test::release(s.canvas, onCanvas(20, 20), kL, kNone);
        QVERIFY(!s.e.stroking && !s.e.tool);
        QVERIFY(s.e.ui.pbHistory->Undo());
        QCOMPARE(s.e.ui.pb->Point(15, 10), std::int32_t{kWhite});
        QCOMPARE(s.e.ui.pb->Point(20, 15), std::int32_t{kWhite});
        QVERIFY(!s.e.ui.pbHistory->CanUndo());
        // The release goes to the tool of the last move: Shift released in a
        // Centric press turns placing the centre into drawing.
        s.choose(kCentric);
        s.press(100, 100, kL, kL, Qt::ShiftModifier);
        QCOMPARE(s.e.tool, &kPlacePointTool);
        s.move(110, 100, kL);
        QCOMPARE(s.e.tool, &kStrokeTool);
    }

    void eachButtonDrawsInItsWell()
    {
        Session s;
        s.e.ui.pbColor[2].SetBackColor(0x0000FF);
        s.press(10, 10, kR, kR);
        s.move(30, 10, kR);
        QCOMPARE(s.pb.segments.back().colour, Colour{0x0000FF});
        // Left, then right as well: the rest of the stroke is in well 3.
        s.press(10, 50, kL, kL);
        s.move(20, 50, kL);
        QCOMPARE(s.pb.segments.back().colour, Colour{0x000000});
        s.press(20, 50, kR, kL | kR);
        s.move(30, 50, kL | kR);
        QCOMPARE(s.pb.segments.back(), (DrawnSegment{20, 50, 30, 50, 0x800080, 1}));
        QCOMPARE(s.e.ui.pb->Point(25, 50), 0x800080);
        // Wells are read afresh for every segment.
        s.e.ui.pbColor[3].SetBackColor(0x00FF00);
        s.move(40, 50, kL | kR);
        QCOMPARE(s.pb.segments.back().colour, Colour{0x00FF00});
    }

    void buttonsWithoutAWellDrawNothing()
    {
        Session s;
        s.press(10, 10, kM, kM);
        s.move(50, 50, kM);
        s.move(60, 50, kL | kM);
        s.move(70, 50, kR | kM);
        s.move(80, 50, kL | kR | kM);
        QVERIFY(s.pb.segments.empty());
        QCOMPARE(s.e.st.LastXY, (Point16{10, 10}));
        s.move(90, 50, kL);  // a well again: the stroke goes on from where it was
        QCOMPARE(s.pb.segments, (std::vector<DrawnSegment>{{10, 10, 90, 50, 0, 1}}));
    }

    void theSegmentEndsWhereThePointerIsAndTheNextStartsRounded()
    {
        Session s;
        s.e.ui.pb->SetDrawWidth(3);
        s.press(10.5, 11.5, kL, kL);
        QCOMPARE(s.e.st.LastXY, (Point16{10, 12}));
        s.move(40.5, 20.5, kL);
        QCOMPARE(s.pb.segments.back(), (DrawnSegment{10, 12, 40.5f, 20.5f, 0, 3}));
        QCOMPARE(s.e.st.LastXY, (Point16{40, 20}));
    }

    void everyPressStartsAStrokeEvenADoubleClick()
    {
        Session s;
        s.press(10, 10, kL, kL);
        QMouseEvent twice(QEvent::MouseButtonDblClick, onCanvas(30, 40), s.canvas->mapToGlobal(onCanvas(30, 40)),
                          kL, kL, Qt::NoModifier);
        QApplication::sendEvent(s.canvas, &twice);
        QCOMPARE(s.e.st.LastXY, (Point16{30, 40}));
        QVERIFY(s.pb.segments.empty());
    }

    void thePointerReadoutFollowsInEveryMode()
    {
        Session s;
        s.move(120, 45, kNone);
        QCOMPARE(s.readout(), std::string("120,45"));
        for (int mode : {1, 2}) {
            s.choose(mode);
            s.move(7, 8 + mode, kNone);
            QCOMPARE(s.readout(), "7," + std::to_string(8 + mode));
        }
        s.e.ui.cbCvet.SetValue(1);
        s.move(3, 4, kNone);
        QCOMPARE(s.readout(), std::string("3,4"));
        QVERIFY(s.pb.segments.empty());
        QCOMPARE(s.pb.calls, 0);
        // Leaving the canvas clears nothing.
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(s.canvas, &leave);
        QCOMPARE(s.readout(), std::string("3,4"));
    }

    void aStrokeGoesOnBeyondTheCanvas()
    {
        Session s;
        s.press(10, 80, kL, kL);
        s.move(-5, 80, kL);
        QCOMPARE(s.readout(), std::string("-5,80"));
        QCOMPARE(s.pb.segments.back(), (DrawnSegment{10, 80, -5, 80, 0, 1}));
        QCOMPARE(s.e.ui.pb->Point(0, 80), 0);
        s.move(5000, -200, kL);
        QCOMPARE(s.readout(), std::string("5000,-200"));
        QCOMPARE(s.e.st.LastXY, (Point16{5000, -200}));
    }

    void shiftMovesTheCentreOnlyWhileCenterIsChecked()
    {
        Session s;
        s.choose(1);
        s.press(120, 45, kL, kL, Qt::ShiftModifier);
        QCOMPARE(s.e.st.CenterX, int16{120});
        QCOMPARE(s.e.st.CenterY, int16{45});
        QCOMPARE(s.e.ui.sb.PanelText(3), std::string("C: 120,45"));
        QCOMPARE(s.e.ui.obCP.Left(), 114);
        s.move(130, 60, kL, Qt::ShiftModifier);  // Shift-drag keeps placing it
        QCOMPARE(s.e.st.CenterX, int16{130});
        QCOMPARE(s.e.ui.obCP.Top(), 54);
        // Shift with Ctrl is no Shift: it starts a stroke and leaves the centre.
        s.press(200, 200, kL, kL, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(s.e.st.SXY.front(), (Point16{200, 200}));
        s.move(210, 200, kL, Qt::ShiftModifier | Qt::AltModifier);
        QCOMPARE(s.e.st.CenterX, int16{130});
        QCOMPARE(s.pb.calls, 1);  // one Centric step
        // Unchecked: Shift-press and Shift-drag do nothing at all.
        s.e.ui.cbCenter.SetValue(0);
        s.press(10, 10, kL, kL, Qt::ShiftModifier);
        s.move(20, 20, kL, Qt::ShiftModifier);
        QCOMPARE(s.e.st.CenterX, int16{130});
        QCOMPARE(s.e.ui.sb.PanelText(3), std::string("C: 130,60"));
        QCOMPARE(s.pb.calls, 1);
    }

    void shiftMovesThePatternPointOnlyWhilePannernIsChecked()
    {
        Session s;
        s.choose(2);
        s.press(50, 40, kR, kR, Qt::ShiftModifier);
        QCOMPARE(s.e.st.PatternX, int16{50});
        QCOMPARE(s.e.st.PatternY, int16{40});
        QCOMPARE(s.e.ui.sb.PanelText(3), std::string("P: 50,40"));
        s.e.ui.cbPattern.SetValue(0);
        s.press(70, 70, kL, kL, Qt::ShiftModifier);
        s.move(80, 80, kL, Qt::ShiftModifier);
        QCOMPARE(s.e.st.PatternX, int16{50});
    }

    void theMarkerDraggedOverTheCanvasUpdatesTheReadout()
    {
        Session s;
        s.choose(2);
        QWidget* marker = s.e.ui.obCP.widget();
        test::press(marker, QPointF(6, 6), kL, kL);
        test::move(marker, QPointF(30, 16), kL);  // canvas (194 + 30, 194 + 16)
        QCOMPARE(s.readout(), std::string("224,210"));
        test::release(marker, QPointF(30, 16), kL, kNone);
    }

    void positionsBeyond16BitsAbandonTheEvent()
    {
        Session s;
        s.press(10, 10, kL, kL);
        s.press(40000, 10, kL, kL);  // cannot be stored: the press is abandoned
        QCOMPARE(s.e.st.LastXY, (Point16{10, 10}));
        s.move(-33000, 10, kL);  // drawn towards, but not stored
        QCOMPARE(s.pb.segments.size(), std::size_t(1));
        QCOMPARE(s.e.st.LastXY, (Point16{10, 10}));
        QCOMPARE(s.readout(), std::string("-33000,10"));
        s.move(30, 10, kL);  // and the program carries on
        QCOMPARE(s.pb.segments.back(), (DrawnSegment{10, 10, 30, 10, 0, 1}));
        s.choose(1);  // centre (249, 312) on this 498 x 624 canvas
        s.press(32767.6, 5, kL, kL, Qt::ShiftModifier);
        QCOMPARE(s.e.st.CenterX, int16{249});
        QCOMPARE(s.e.ui.sb.PanelText(3), std::string("C: 249,312"));
        // The marker cannot stand left of -32768: the point is stored and shown,
        // the marker stays where it was.
        s.press(-32763, 5, kL, kL, Qt::ShiftModifier);
        QCOMPARE(s.e.st.CenterX, int16{-32763});
        QCOMPARE(s.e.ui.sb.PanelText(3), std::string("C: -32763,5"));
        QCOMPARE(s.e.ui.obCP.Left(), 249 - 6);
    }
};

QTEST_MAIN(CanvasInputTest)
#include "test_canvas_input.moc"
