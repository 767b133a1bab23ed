// The Line and Circle tools: each shape and its copies drawn at the release
// exactly as a freehand stroke along it draws them, under Normal, Centric with
// Mirror and a wallpaper group; the preview showing those pixels and never in
// the picture; Escape; one undo; the keys, the entries, the cursor and the
// Edit panel.

#include <algorithm>
#include <cmath>

#include <QAction>
#include <QMenu>
#include <QSlider>

#include "draw/group_choice.h"
#include "draw/press_settings.h"
#include "draw/shape_geometry.h"
#include "draw/wallpaper_groups.h"
#include "picture/undo_redo.h"
#include "platform/widgets/status_bar_widget.h"
#include "platform/widgets/surface_widget.h"
#include "support/recorded_window.h"

using namespace kalidor;
using test::onCanvas;

namespace {

constexpr Qt::MouseButton kL = Qt::LeftButton;
using Window = test::RecordedWindow;

QImage picture(const Window& w) { return w.e.ui.pbBox.box()->surface().backing().copy(); }

enum Setup { kPlain, kCentricMirror, kP4m };

void setUp(Window& w, Setup setup)
{
    w.e.ui.slDrawWidth.slider()->setValue(3);
    if (setup == kCentricMirror) {
        w.choose(kCentric);
        w.e.ui.slN.slider()->setValue(6);
        w.key(Qt::Key_M);
    } else if (setup == kP4m) {
        w.choose(kPattern);
        chooseGroup(w.e, groupIndex("p4m"));
    }
}

// The path drawn as a freehand stroke: a press at its first point and a move to each next one.
QImage asStroke(Setup setup, const std::vector<Point16>& path)
{
    Window w;
    setUp(w, setup);
    w.press(path[0].x, path[0].y, kL, kL);
    for (std::size_t i = 1; i < path.size(); ++i)
        w.move(path[i].x, path[i].y, kL);
    test::release(w.canvas, onCanvas(path.back().x, path.back().y), kL, Qt::NoButton);
    return picture(w);
}

}  // namespace

class ShapeToolsTest : public QObject {
    Q_OBJECT
private slots:
    void shapesDrawWhatAStrokeAlongThemDrawsAndThePreviewShowsItFirst()
    {
        const Point16 from{230, 260}, to{290, 225};
        for (const Setup setup : {kPlain, kCentricMirror, kP4m})
            for (const Qt::Key key : {Qt::Key_L, Qt::Key_O}) {
                const bool line = key == Qt::Key_L;
                Window w;
                setUp(w, setup);
                w.key(key);
                const QImage before = picture(w);
                w.press(from.x, from.y, kL, kL);
                w.move(260, 300, kL);  // somewhere else first: the preview follows
                w.move(to.x, to.y, kL);
                // The preview is over the picture, never in it: Save and colour pick read the same picture.
                QCOMPARE(picture(w), before);
                QVERIFY(w.e.ui.pbBox.box()->preview().shown());
                test::release(w.canvas, onCanvas(to.x, to.y), kL, Qt::NoButton);
                QVERIFY(!w.e.ui.pbBox.box()->preview().shown());
                const QImage after = picture(w);
                const std::vector<Point16> path = line ? linePath(from, to) : circlePath(from, to);
                QCOMPARE(after, asStroke(setup, path));
                QVERIFY(after != before);
                // One undo takes the shape and all its copies back.
                w.key(Qt::Key_Z, Qt::ControlModifier);
                QCOMPARE(picture(w), before);
                QVERIFY(!w.e.ui.pbHistory->CanUndo());
            }
    }

    void thePreviewCoversExactlyThePixelsTheReleaseDraws()
    {
        Window w;
        setUp(w, kCentricMirror);
        w.key(Qt::Key_O);
        const QImage before = picture(w);
        w.press(240, 300, kL, kL);
        w.move(275, 330, kL);
        const PreviewLayer& preview = w.e.ui.pbBox.box()->preview();
        QImage covered(before.size(), QImage::Format_Mono);
        covered.fill(0);
        for (int y = 0; y < w.e.ui.picture->Height(); ++y)
            for (int x = 0; x < w.e.ui.picture->Width(); ++x)
                covered.setPixel(x, y, preview.covers(x, y) ? 1 : 0);
        test::release(w.canvas, onCanvas(275, 330), kL, Qt::NoButton);
        const QImage after = picture(w);
        int drawn = 0;
        for (int y = 0; y < w.e.ui.picture->Height(); ++y)
            for (int x = 0; x < w.e.ui.picture->Width(); ++x) {
                const bool changed = after.pixel(x, y) != before.pixel(x, y);
                QVERIFY2(changed == (covered.pixelIndex(x, y) == 1), qPrintable(QString("at %1,%2").arg(x).arg(y)));
                drawn += changed;
            }
        QVERIFY(drawn > 6 * 2 * 100);  // twelve rings of a 46-pixel radius
    }

    void escapeCallsTheShapeOffAndThenPutsTheToolDown()
    {
        Window w;
        w.key(Qt::Key_L);
        const QImage before = picture(w);
        w.press(100, 100, kL, kL);
        w.move(200, 150, kL);
        w.key(Qt::Key_Escape);
        QVERIFY(!w.e.ui.pbBox.box()->preview().shown());
        w.move(220, 150, kL);  // the rest of the drag does nothing
        test::release(w.canvas, onCanvas(220, 150), kL, Qt::NoButton);
        QCOMPARE(picture(w), before);
        QVERIFY(!w.e.ui.pbHistory->CanUndo());
        QCOMPARE(w.e.shape, ShapeKind::Line);
        w.key(Qt::Key_Escape);  // no press under way: back to freehand
        QCOMPARE(w.e.shape, ShapeKind::None);
        // A click without a drag draws nothing either.
        w.key(Qt::Key_O);
        w.press(100, 100, kL, kL);
        test::release(w.canvas, onCanvas(100, 100), kL, Qt::NoButton);
        QCOMPARE(picture(w), before);
    }

    void ctrlSnapsTheLineTo15Degrees()
    {
        // 16.7 degrees and 104.4 pixels: snapped to 15, as long.
        QCOMPARE(lineEnd({100, 100}, {200, 130}, true), (Point16{201, 127}));
        QCOMPARE(lineEnd({100, 100}, {200, 130}, false), (Point16{200, 130}));
        QCOMPARE(lineEnd({0, 0}, {3, -100}, true), (Point16{0, -100}));
        Window w;
        w.key(Qt::Key_L);
        w.press(100, 100, kL, kL);
        w.move(200, 130, kL, Qt::ControlModifier);
        test::release(w.canvas, onCanvas(200, 130), kL, Qt::NoButton, Qt::ControlModifier);
        QCOMPARE(w.pb.segments.size(), std::size_t{1});
        QCOMPARE(w.pb.segments[0].x2, 201.f);
        QCOMPARE(w.pb.segments[0].y2, 127.f);
    }

    void aCircleIsClosedAndStaysOnItsRadius()
    {
        for (const int r : {3, 7, 60, 400}) {
            const Point16 through{static_cast<int16>(500 + r), static_cast<int16>(500 + r / 3)};
            const std::vector<Point16> path = circlePath({500, 500}, through);
            QCOMPARE(path.front(), path.back());
            QVERIFY(path.size() >= 8);
            // Its own quarter turn and mirror image about the centre, so that
            // copies about a centre of the symmetry fall on it.
            auto has = [&](int x, int y) { return std::ranges::find(path, Point16{int16(x), int16(y)}) != path.end(); };
            for (const Point16& p : path)
                QVERIFY(has(500 - (p.y - 500), 500 + (p.x - 500)) && has(1000 - p.x, p.y) && has(p.y, p.x));
            for (std::size_t i = 0; i < path.size(); ++i) {
                QVERIFY(std::abs(std::hypot(path[i].x - 500, path[i].y - 500) - std::hypot(r, r / 3)) <= 0.71);
                // Corners close enough that each chord stays within a pixel of the circle.
                if (i > 0)
                    QVERIFY(std::hypot(path[i].x - path[i - 1].x, path[i].y - path[i - 1].y) <= 2 * std::sqrt(r) + 1.5);
            }
        }
        QCOMPARE(circlePath({5, 5}, {5, 5}).size(), std::size_t{1});
    }

    void theToolsAreChosenInOnePlaceAndTheWindowSaysWhichOneAPressUses()
    {
        Window w;
        Editor& e = w.e;
        SurfaceWidget* canvas = e.ui.pbBox.box();
        QCOMPARE(e.ui.sb.PanelText(4), std::string("Edit"));
        w.key(Qt::Key_L);
        QCOMPARE(canvas->toolCursor(), CanvasCursor::Line);
        QCOMPARE(e.ui.sb.PanelText(4), std::string("Line"));
        w.key(Qt::Key_F);  // Fill takes over from a shape, and a shape from Fill
        QCOMPARE(e.shape, ShapeKind::None);
        QCOMPARE(canvas->toolCursor(), CanvasCursor::Fill);
        w.key(Qt::Key_O);
        QVERIFY(!e.fill);
        QCOMPARE(canvas->toolCursor(), CanvasCursor::Circle);
        w.key(Qt::Key_O);  // again: freehand
        QCOMPARE(canvas->toolCursor(), CanvasCursor::Arrow);
        w.choose(kCentric);
        w.key(Qt::Key_M);
        for (int i = 0; i < 30; ++i)
            w.key(Qt::Key_BracketRight);
        w.key(Qt::Key_L);
        w.key(Qt::Key_S);
        QCOMPARE(e.ui.sb.PanelText(4), std::string("Line\u00b7Mirror 30\u00b0"));
        w.key(Qt::Key_L);
        QCOMPARE(e.ui.sb.PanelText(4), std::string("Mirror 30\u00b0\u00b7Steady"));
        QCOMPARE(e.ui.sb.bar()->panelName(4), std::string("Edit"));
        QVERIFY(e.ui.sb.bar()->panelToolTip(4).starts_with("Now: Mirror 30\u00b0\u00b7Steady\n"));
        // The Edit pop-up's entries, checked as the keys set them.
        QList<QAction*> entries = e.ui.mnuEdit.menu()->actions();
        QCOMPARE(entries.at(kEditLine)->text(), QString("&Line\tL"));
        QCOMPARE(entries.at(kEditCircle)->text(), QString("&Circle\tO"));
        showEditMenu(e);
        QVERIFY(entries.at(kEditLight)->isChecked() && !entries.at(kEditOff)->isChecked());
        entries.at(kEditStrong)->trigger();
        QCOMPARE(e.steadiness, Steadiness::Strong);
        entries.at(kEditCircle)->trigger();
        QCOMPARE(e.shape, ShapeKind::Circle);
        for (int item = kEditLine; item <= kEditStrong; ++item)
            QVERIFY(!entries.at(item)->toolTip().isEmpty());
        w.key(Qt::Key_S);
        QCOMPARE(e.steadiness, Steadiness::Off);
        // Shift still places the centre with a shape tool chosen.
        w.press(300, 300, kL, kL, Qt::ShiftModifier);
        test::release(w.canvas, onCanvas(300, 300), kL, Qt::NoButton, Qt::ShiftModifier);
        QCOMPARE(e.st.CenterX, int16{300});
    }
};

QTEST_MAIN(ShapeToolsTest)
#include "test_shape_tools.moc"
