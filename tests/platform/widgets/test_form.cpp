// The window services: key preview with virtual-key codes, check boxes whose
// value set from code runs their click at once, option buttons, twips on the
// status bar and the marker, and the marker's drag and drop onto a picture box.

#include <array>
#include <random>

#include <QAbstractButton>
#include <QApplication>
#include <QSlider>
#include <QTest>

#include "platform/widgets/application.h"
#include "platform/widgets/form.h"
#include "platform/widgets/marker_widget.h"
#include "platform/widgets/status_bar_widget.h"
#include "platform/widgets/surface_widget.h"
#include "platform/raster/picture_document.h"
#include "support/window_fixture.h"

using namespace kalidor;
using kalidor::test::move;
using kalidor::test::press;
using kalidor::test::release;

class FormTest : public QObject {
    Q_OBJECT
private slots:
    void keysArePreviewedOnceWithVirtualKeyCodes()
    {
        Form f("keys", 300, 200);
        Slider slider = f.addSlider(nullptr, {5, 5, 91, 21}, 1, 30, 10, 5, 1);
        PictureBox box = f.addPictureBox({100, 10, 100, 100}, 2, kWhite);
        QList<QPair<int, int>> keys;
        f.OnKeyDown([&](int16 code, int16 shift) { keys.append({code, shift}); });
        f.widget()->show();
        QVERIFY(QTest::qWaitForWindowActive(f.widget()));

        // The slider has the focus: the window hears the key first, then the slider moves.
        slider.widget()->setFocus();
        QTest::keyClick(slider.widget(), Qt::Key_Right);
        QCOMPARE(keys, (QList<QPair<int, int>>{{39, 0}}));
        QCOMPARE(slider.Value(), 11);

        // The canvas ignores keys, so they travel on to its parents; still heard once.
        keys.clear();
        box.widget()->setFocus();
        QTest::keyClick(box.widget(), Qt::Key_Left);
        QTest::keyClick(box.widget(), Qt::Key_Up);
        QTest::keyClick(box.widget(), Qt::Key_Down);
        QTest::keyClick(box.widget(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(box.widget(), Qt::Key_C, Qt::AltModifier);
        // Holding a modifier is itself a key press (Shift 16, Ctrl 17, Alt 18).
        QList<QPair<int, int>> modifiers, others;
        for (const auto& k : keys)
            (k.first >= 16 && k.first <= 18 ? modifiers : others).append(k);
        QCOMPARE(others, (QList<QPair<int, int>>{{37, 0}, {38, 0}, {40, 0}, {67, 3}, {67, 4}}));
        QCOMPARE(modifiers.size(), 3);
        QCOMPARE(modifiers.back().first, 18);
    }

    void checkBoxValueSetFromCodeRunsItsClickFirst()
    {
        Form f("boxes", 300, 200);
        CheckBox box = f.addCheckBox(nullptr, {5, 5, 51, 21}, "Cvet", false, true);
        CheckBox plain = f.addCheckBox(nullptr, {5, 40, 56, 26}, "Chess", false);
        int clicks = 0;
        int16 seen = -1;
        box.OnClick([&] {
            ++clicks;
            seen = box.Value();
        });
        box.SetValue(1);
        QCOMPARE(clicks, 1);  // ran before SetValue returned
        QCOMPARE(seen, int16{1});
        box.SetValue(1);      // no change, no click
        QCOMPARE(clicks, 1);
        f.widget()->show();
        QTest::mouseClick(box.button(), Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QCOMPARE(seen, int16{0});
        int plainClicks = 0;
        plain.OnClick([&] { ++plainClicks; });
        QTest::mouseClick(plain.button(), Qt::LeftButton);
        QCOMPARE(plain.Value(), int16{1});
        QCOMPARE(plainClicks, 1);
    }

    void optionButtonsClickWhenTheyBecomeSelected()
    {
        Form f("options", 300, 200);
        Control frame = f.addFrame(nullptr, {10, 10, 81, 91}, "Mode");
        OptionButton a = f.addOptionButton(frame.widget(), {10, 20, 61, 21}, "Normal", true);
        OptionButton b = f.addOptionButton(frame.widget(), {10, 40, 61, 21}, "Centric", false);
        QList<char> clicks;
        a.OnClick([&] { clicks.append('a'); });
        b.OnClick([&] { clicks.append('b'); });
        f.widget()->show();
        QTest::mouseClick(b.button(), Qt::LeftButton);
        QTest::mouseClick(b.button(), Qt::LeftButton);  // already selected
        QTest::mouseClick(a.button(), Qt::LeftButton);
        QCOMPARE(clicks, (QList<char>{'b', 'a'}));
        QVERIFY(a.Selected() && !b.Selected());
        QCOMPARE(b.Left(), 10);
        QCOMPARE(b.Top(), 40);
    }

    void statusBarAndMarkerSpeakTwips()
    {
        Form f("twips", 300, 200);
        StatusBar sb = f.addStatusBar({96, 80, 80}, 20);
        PictureBox box = f.addPictureBox({100, 10, 150, 150}, 2, kWhite);
        Marker marker = f.addMarker(box, {40, 30, 13, 13});
        f.widget()->show();
        QCOMPARE(sb.widget()->geometry(), QRect(0, 180, 300, 20));
        QCOMPARE(sb.bar()->panelRect(2), QRect(96, 0, 80, 20));
        MouseArgs got;
        sb.OnMouseDown([&](const MouseArgs& m) { got = m; });
        press(sb.widget(), QPointF(89, 4), Qt::RightButton, Qt::RightButton, Qt::ControlModifier);
        QCOMPARE(got.X, 1335.0f);
        QCOMPARE(got.Y, 60.0f);
        QCOMPARE(got.Button, kRightButton);
        QCOMPARE(got.Shift, kCtrlKey);

        // The marker's place is in canvas pixels, inside the 2-pixel border.
        QCOMPARE(marker.Left(), 40);
        QCOMPARE(marker.widget()->pos(), QPoint(42, 32));
        marker.OnMouseMove([&](const MouseArgs& m) { got = m; });
        move(marker.widget(), QPointF(6, 2), Qt::NoButton);
        QCOMPARE(got.X, 90.0f);
        QCOMPARE(got.Y, 30.0f);
        f.widget()->resize(400, 300);
        QCOMPARE(sb.widget()->geometry(), QRect(0, 280, 400, 20));
    }

    void theMarkerDragsAndDropsOntoTheCanvas()
    {
        Form f("drag", 400, 300);
        PictureBox box = f.addPictureBox({100, 10, 250, 250}, 2, kWhite);
        Marker marker = f.addMarker(box, {40, 30, 13, 13});
        f.widget()->show();
        QList<QPointF> over, dropped;
        box.OnDragOver([&](DragSource s, float x, float y) {
            QCOMPARE(s, DragSource::Marker);
            over.append({x, y});
        });
        box.OnDragDrop([&](DragSource s, float x, float y) {
            QCOMPARE(s, DragSource::Marker);
            dropped.append({x, y});
        });
        QWidget* m = marker.widget();
        // Pressed and released on itself: no drop.
        press(m, QPointF(6, 6), Qt::LeftButton, Qt::LeftButton);
        move(m, QPointF(7, 6), Qt::LeftButton);
        release(m, QPointF(7, 6), Qt::LeftButton, Qt::NoButton);
        QVERIFY(over.isEmpty() && dropped.isEmpty());

        // Dragged away: drag-overs in canvas pixels, an outline follows, and the drop lands under the pointer.
        press(m, QPointF(6, 6), Qt::LeftButton, Qt::LeftButton);
        move(m, QPointF(86.5, 56), Qt::LeftButton);  // canvas (40 + 86.5, 30 + 56)
        QCOMPARE(over, (QList<QPointF>{{126.5, 86}}));
        QCOMPARE(box.box()->dragOutline(), std::optional<QRect>(QRect(121, 80, 13, 13)));
        QCOMPARE(marker.Left(), 40);  // the marker itself stays until the editor moves it
        release(m, QPointF(86.5, 56), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(dropped, (QList<QPointF>{{126.5, 86}}));
        QVERIFY(!box.box()->dragOutline());

        // Released beyond the canvas: no drop.
        press(m, QPointF(6, 6), Qt::LeftButton, Qt::LeftButton);
        move(m, QPointF(-100, 0), Qt::LeftButton);
        release(m, QPointF(-100, 0), Qt::LeftButton, Qt::NoButton);
        QCOMPARE(dropped.size(), 1);
    }

    void theCanvasShowsItsPictureInsideTheBorderAndRepaintsOnlyChangesOncePerFrame()
    {
        Form f("paint", 400, 300);
        PictureBox box = f.addPictureBox({100, 10, 250, 250}, 2, kWhite);
        f.widget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.widget()));
        QList<QRect> painted;
        struct Spy : QObject {
            QList<QRect>* painted;
            QList<QRegion>* regions = nullptr;
            bool eventFilter(QObject*, QEvent* e) override
            {
                if (e->type() == QEvent::Paint)
                    painted->append(static_cast<QPaintEvent*>(e)->rect());
                if (e->type() == QEvent::Paint && regions)
                    regions->append(static_cast<QPaintEvent*>(e)->region());
                return false;
            }
        } spy;
        spy.painted = &painted;
        box.widget()->installEventFilter(&spy);
        QCoreApplication::processEvents();
        painted.clear();

        box.surface().Line(0, 0, 3, 0, 0x0000FF);
        QTRY_VERIFY(!painted.isEmpty());
        QCOMPARE(painted, (QList<QRect>{QRect(2, 2, 4, 1)}));  // the segment alone, inside the border
        const QImage shown = box.widget()->grab().toImage();
        QCOMPARE(shown.pixelColor(2, 2), QColor(255, 0, 0));
        QCOMPARE(shown.pixelColor(5, 2), QColor(255, 0, 0));
        QCOMPARE(shown.pixelColor(6, 2), QColor(255, 255, 255));
        QVERIFY(shown.pixelColor(0, 0) != QColor(255, 0, 0));  // the border is not the picture

        // Changes that come faster than frames are drawn at once and shown
        // together at the next frame, none of them left out.
        qobject_cast<SurfaceWidget*>(box.widget())->setFrameMs(1000);
        painted.clear();
        QList<QRegion> regions;
        spy.regions = &regions;
        for (int x : {10, 100, 200}) {
            box.surface().Line(x, 50, x + 5, 50, 0x0000FF);
            QCoreApplication::processEvents();
        }
        QCOMPARE(box.surface().Point(200, 50), 0x0000FF);
        QTRY_VERIFY(!painted.isEmpty());
        QCoreApplication::processEvents();
        QCOMPARE(painted.size(), 1);
        for (int x : {10, 100, 200})
            QVERIFY(regions.front().contains(QRect(x + 2, 52, 6, 1)));
        QVERIFY(!regions.front().contains(QPoint(60, 52)));  // far apart: not their bounding box
        // Covered and shown again, the drawing is still there.
        box.widget()->hide();
        box.widget()->show();
        QCOMPARE(box.widget()->grab().toImage().pixelColor(3, 2), QColor(255, 0, 0));
    }

    void aViewOfAPictureKeptElsewhereTakesEveryPositionThroughItsTransform()
    {
        PictureDocument picture(200, 150, kWhite);
        {
            Form f("view", 400, 300);
            PictureBox box = f.addPictureBox({100, 10, 250, 250}, 2, picture);
            Marker marker = f.addMarker(box, {40, 30, 13, 13});
            SurfaceWidget* view = box.box();
            // The picture keeps its own size whatever the box's.
            box.Move(100, 10, 290, 280);
            QCOMPARE(picture.Width(), 200);
            QCOMPARE(box.surface().ScaleWidth(), 200.0f);
            QCOMPARE(box.surface().Width(), 290.0f);
            // At twice the size from (-18, -13), within the pan's limits: the
            // pointer, the marker and the repaint all go through the transform.
            const int ox = -18;
            const int oy = -13;
            view->setView(ViewTransform{2, QPointF(ox, oy)});
            QCOMPARE(view->view().origin, QPointF(ox, oy));
            view->setFrameMs(0);
            f.widget()->show();
            QVERIFY(QTest::qWaitForWindowExposed(f.widget()));
            QList<QPointF> pressed;
            box.OnMouseDown([&](const MouseArgs& m) { pressed.append({m.X, m.Y}); });
            press(view, QPointF(ox + 2 * 30 + 1, oy + 2 * 40 + 1), Qt::LeftButton, Qt::LeftButton);
            QCOMPARE(pressed, (QList<QPointF>{{30, 40}}));  // the pixel under the pointer
            marker.Move(40, 30);  // its middle pixel over the middle of the picture's (46, 36)
            QCOMPARE(marker.widget()->pos(), QPoint(ox + 2 * 46 + 1 - 6, oy + 2 * 36 + 1 - 6));
            QCOMPARE(QPoint(marker.Left(), marker.Top()), QPoint(40, 30));
            marker.SetVisible(false);
            box.surface().Line(30, 40, 30, 40, 0x0000FF);
            QTRY_COMPARE(view->grab().toImage().pixelColor(ox + 61, oy + 81), QColor(255, 0, 0));
            const QImage shown = view->grab().toImage();
            QCOMPARE(shown.pixelColor(ox + 60, oy + 80), QColor(255, 0, 0));  // a picture pixel is 2 x 2
            QCOMPARE(shown.pixelColor(ox + 62, oy + 80), QColor(255, 255, 255));
            // A preview shows over the picture and is never part of it.
            const Picture before = picture.Image();
            box.SetPreview(OverlayLines{{Segment{100, 20, 140, 20}}, 0xFF0000, 3});
            QTRY_COMPARE(view->grab().toImage().pixelColor(ox + 2 * 120, oy + 2 * 20), QColor(0, 0, 255));
            QCOMPARE(picture.Point(120, 20), std::int32_t{kWhite});
            QVERIFY(picture.Image().image() == before.image());
            box.SetPreview({});
            QTRY_COMPARE(view->grab().toImage().pixelColor(12 + 2 * 120, 7 + 2 * 20), QColor(255, 255, 255));
        }
        // The view gone, the picture goes on being drawn on and tells no one.
        RasterSurface pen(picture, 204, 154, 2);
        pen.Line(0, 0, 10, 10, kBlack);
        QCOMPARE(picture.Point(5, 5), std::int32_t{kBlack});
    }

    void theViewTransformCoversExactlyThePixelsItMaps()
    {
        // At any scale and origin, the widget rectangle of some picture pixels
        // is the least one that touches all of them, and mapped back it holds
        // them all; at 100 % from a whole pixel it is only moved.
        std::mt19937 random(35);
        auto any = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
        for (int round = 0; round < 300; ++round) {
            const ViewTransform v{std::array{0.25, 0.5, 1.0, 1.5, 3.0, 8.0}[any(0, 5)],
                                  QPointF(any(-40, 40) + any(0, 3) * 0.25, any(-40, 40) + any(0, 3) * 0.25)};
            const QRect r(any(-20, 60), any(-20, 60), any(1, 30), any(1, 30));
            const QRectF exact(v.toWidget(QPointF(r.topLeft())), v.toWidget(QPointF(r.bottomRight() + QPoint(1, 1))));
            const QRect w = v.toWidget(r);
            const QString what = QString("round %1").arg(round);
            QVERIFY2(QRectF(w).contains(exact), qPrintable(what));
            QVERIFY2(w.width() < exact.width() + 2 && w.height() < exact.height() + 2, qPrintable(what));
            QVERIFY2(v.toPicture(w).contains(r), qPrintable(what));
            QCOMPARE(v.toPicture(v.toWidget(QPointF(r.center()))), QPointF(r.center()));
        }
        const ViewTransform shifted{1, QPointF(2, 2)};
        QCOMPARE(shifted.toWidget(QRect(5, 6, 7, 8)), QRect(7, 8, 7, 8));
        QCOMPARE(shifted.toWidget(QRegion(QRect(0, 0, 1, 1))), QRegion(QRect(2, 2, 1, 1)));
    }

    void movingToANegativeSizeFailsAndLeavesTheControl()
    {
        Form f("move", 300, 200);
        PictureBox box = f.addPictureBox({100, 10, 150, 150}, 2, kWhite);
        QVERIFY_THROWS_EXCEPTION(MoveError, box.Move(100, 10, -1, 40));
        QCOMPARE(box.widget()->geometry(), QRect(100, 10, 150, 150));
        box.Move(100, 10, 204, 104);  // hidden or not, the surface follows at once
        QCOMPARE(box.surface().ScaleWidth(), 200.0f);
        QCOMPARE(box.surface().Height(), 104.0f);
    }
};

int main(int argc, char** argv)
{
    Application app(argc, argv);  // the program's own application setup
    FormTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_form.moc"
