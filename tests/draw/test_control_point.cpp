// The control point moved by the user: the marker dragged and dropped with the
// mouse, the arrow keys, "Center" and "Pannern", and the C key.

#include "draw/control_point.h"
#include "support/recorded_window.h"

using namespace kalidor;

namespace {

constexpr Qt::MouseButton kL = Qt::LeftButton;

struct Window : test::RecordedWindow {
    explicit Window(int mode) { choose(mode); }
    QWidget* marker() const { return e.ui.obCP.widget(); }
};

}  // namespace

class ControlPointTest : public QObject {
    Q_OBJECT
private slots:
    void draggingTheMarkerMovesTheCentre()
    {
        Window w(kCentric);
        const QPoint from = w.markerAt();
        test::press(w.marker(), QPointF(6, 6), kL, kL);
        // To canvas (120.5, 44.5), given in the marker's own pixels.
        const QPointF to(120.5 - from.x(), 44.5 - from.y());
        test::move(w.marker(), to, kL);
        QCOMPARE(w.readout(), std::string("120.5,44.5"));
        QCOMPARE(w.markerAt(), from);  // only its outline follows until the drop
        test::release(w.marker(), to, kL, Qt::NoButton);
        QCOMPARE(w.e.st.CenterX, int16{120});  // ties to even
        QCOMPARE(w.e.st.CenterY, int16{44});
        QCOMPARE(w.panel3(), std::string("C: 120,44"));
        QCOMPARE(w.markerAt(), QPoint(114, 38));
        // A stroke now turns about the new centre.
        w.press(170, 44, kL, kL);
        QCOMPARE(w.e.st.SXY[0], (Point16{170, 44}));
        QCOMPARE(w.e.st.SXY.size(), std::size_t(5));
    }

    void onlyTheMarkerCanBeDropped()
    {
        Window w(kPattern);
        pb_DragDrop(w.e, DragSource::Other, 10, 10);
        QCOMPARE(w.e.st.PatternX, int16{200});
        pb_DragDrop(w.e, DragSource::Marker, 251.5f, 10.4f);
        QCOMPARE(w.panel3(), std::string("P: 252,10"));
    }

    void aMarkerDroppedAfterTheModeBecameNormalSetsNothing()
    {
        // The Up key on the focused "Centric" button selects "Normal" mid-drag.
        Window w(kCentric);
        w.e.ui.obMode[1].button()->setFocus();
        test::press(w.marker(), QPointF(6, 6), kL, kL);
        test::move(w.marker(), QPointF(30, 30), kL);
        QTest::keyClick(w.e.ui.obMode[1].button(), Qt::Key_Up);
        QCOMPARE(w.e.st.Mode, kNormal);
        test::release(w.marker(), QPointF(40, 40), kL, Qt::NoButton);
        QCOMPARE(w.panel3(), std::string());
        QCOMPARE(w.e.st.PatternX, int16{200});
        // Nor in colour pick entered from Normal; in colour pick from Centric the
        // drop still sets the pattern point.
        w.canvas->setFocus();
        QTest::keyClick(w.canvas, Qt::Key_C);
        QCOMPARE(w.e.st.Mode, kColourPick);
        pb_DragDrop(w.e, DragSource::Marker, 50, 60);
        QCOMPARE(w.e.st.PatternX, int16{200});
        QCOMPARE(w.panel3(), std::string());
        QTest::keyClick(w.canvas, Qt::Key_C);
        w.choose(kCentric);
        QTest::keyClick(w.canvas, Qt::Key_C);
        pb_DragDrop(w.e, DragSource::Marker, 50, 60);
        QCOMPARE(w.panel3(), std::string("P: 50,60"));
    }

    void theReadoutOverTheMarkerIsTheCanvasPosition()
    {
        Window w(kPattern);
        test::move(w.marker(), QPointF(3, 4), Qt::NoButton);
        QCOMPARE(w.readout(), std::string("197,198"));
        w.move(197, 198, Qt::NoButton);
        QCOMPARE(w.readout(), std::string("197,198"));
    }

    void arrowKeysMoveTheVisibleControlPoint()
    {
        Window w(kCentric);
        ChangeCPXY(w.e, 120, 45);
        w.key(Qt::Key_Right);
        QCOMPARE(w.panel3(), std::string("C: 121,45"));
        QCOMPARE(w.markerAt(), QPoint(115, 39));
        w.key(Qt::Key_Down);
        w.key(Qt::Key_Up);
        w.key(Qt::Key_Up);
        QCOMPARE(w.panel3(), std::string("C: 121,44"));
        ChangeCPXY(w.e, 0, 45);
        w.key(Qt::Key_Left);  // past 0: stored and shown, marker partly off the canvas
        QCOMPARE(w.panel3(), std::string("C: -1,45"));
        QCOMPARE(w.markerAt(), QPoint(-7, 39));

        w.choose(kPattern);
        w.key(Qt::Key_Left, Qt::ShiftModifier);  // modifiers do not matter
        QCOMPARE(w.e.st.PatternX, int16{199});
        QCOMPARE(w.e.st.CenterX, int16{-1});  // the other mode's point stays
        // Hidden marker: the arrows move nothing.
        QTest::mouseClick(w.e.ui.cbPattern.button(), kL);
        QVERIFY(!w.e.ui.obCP.Visible());
        w.key(Qt::Key_Right);
        QCOMPARE(w.e.st.PatternX, int16{199});
        QTest::mouseClick(w.e.ui.cbPattern.button(), kL);
        QVERIFY(w.e.ui.obCP.Visible());
        QCOMPARE(w.markerAt(), QPoint(193, 194));  // showing it moves nothing
        // Normal mode has no control point.
        w.choose(kNormal);
        w.key(Qt::Key_Right);
        QCOMPARE(w.e.st.PatternX, int16{199});
    }

    void anArrowPastThe16BitLimitIsIgnored()
    {
        Window w(kCentric);
        ChangeCPXY(w.e, 32767, 45);
        w.key(Qt::Key_Right);
        QCOMPARE(w.e.st.CenterX, int16{32767});
        QCOMPARE(w.panel3(), std::string("C: 32767,45"));
        w.key(Qt::Key_Left);
        QCOMPARE(w.e.st.CenterX, int16{32766});
    }

    void centerShowsAndHidesTheMarker()
    {
        Window w(kCentric);
        QVERIFY(w.e.ui.obCP.Visible());
        QTest::mouseClick(w.e.ui.cbCenter.button(), kL);
        QVERIFY(!w.e.ui.obCP.Visible());
        QCOMPARE(w.panel3(), std::string("C: 249,312"));
        QTest::mouseClick(w.e.ui.cbCenter.button(), kL);
        QVERIFY(w.e.ui.obCP.Visible());
    }

    void theCKeyTogglesColourPick()
    {
        Window w(kPattern);
        QTest::mouseClick(w.e.ui.cbPattern.button(), kL);  // hidden marker: C still works
        w.key(Qt::Key_C);
        QCOMPARE(w.e.st.Mode, kColourPick);
        QCOMPARE(w.e.ui.cbCvet.Value(), int16{1});
        w.key(Qt::Key_C, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(w.e.st.Mode, kPattern);
        QCOMPARE(w.e.ui.cbCvet.Value(), int16{0});
    }
};

QTEST_MAIN(ControlPointTest)
#include "test_control_point.moc"
