// The storm's mouse actions: strokes on and far beyond the canvas, the marker
// dragged and dropped, palette presses and both sliders.

#include <QApplication>
#include <QMouseEvent>
#include <QSlider>
#include <QWheelEvent>

#include "app/main_window.h"
#include "platform/widgets/marker_widget.h"
#include "platform/widgets/surface_widget.h"
#include "support/storm_driver.h"
#include "support/storm_text.h"
#include "support/window_fixture.h"

namespace kalidor::test {

namespace {

QPointF nudged(QPointF at, int dx, int dy) { return at + QPointF(dx, dy); }

}  // namespace

void StormDriver::stroke()
{
    QWidget* canvas = e_.ui.pbBox.widget();
    const Qt::MouseButton first = button();
    Qt::MouseButtons held = first;
    Qt::KeyboardModifiers mods = modifiers();
    QPointF at = canvasPoint();
    pressOnCanvas("press " + buttonsText(first) + modifiersText(mods) + " on the canvas at " + pointText(at), at, first,
                  held, mods);
    if (chance(5)) {
        // A double click: the second press comes as a double-click event.
        fire("release " + buttonsText(first), [&] { release(canvas, onCanvas(at.x(), at.y()), first, Qt::NoButton, mods); });
        pressOnCanvas("double-click " + buttonsText(first), at, first, held, mods, true);
    }
    for (int moves = below(25); moves > 0; --moves) {
        if (chance(8)) {
            // Another button goes down in the middle of the stroke.
            const Qt::MouseButton more = button();
            if (!(held & more)) {
                held |= more;
                pressOnCanvas("press " + buttonsText(more) + " as well", at, more, held, mods);
            }
        }
        if (chance(10))
            mods = modifiers();
        if (chance(3))
            keyDuringDrag();
        else if (chance(1))
            resizeWindow();  // the grid of a Pattern stroke stays as it was measured
        at = chance(75) ? nudged(at, between(-25, 25), between(-25, 25)) : canvasPoint();
        // With Fill on, no move writes the picture, whatever the press did;
        // nor while a shape is being drawn, which shows only on its preview.
        // (A steadied stroke that Fill cuts off first draws what it owes.)
        const bool filling = (e_.fill || e_.shapeDrag.active) && e_.stabiliser.level == Steadiness::Off;
        const qint64 untouched = e_.ui.pbBox.box()->surface().backing().cacheKey();
        fire("move holding " + buttonsText(held) + modifiersText(mods) + " to " + pointText(at),
             [&] { move(canvas, onCanvas(at.x(), at.y()), held, mods); });
        if (filling && e_.ui.pbBox.box()->surface().backing().cacheKey() != untouched)
            fail("a move with a button held drew while Fill was on or a shape was being drawn");
    }
    for (const Qt::MouseButton b : {Qt::RightButton, Qt::LeftButton, Qt::MiddleButton}) {
        if (!(held & b))
            continue;
        held &= ~b;
        fire("release " + buttonsText(b), [&] { release(canvas, onCanvas(at.x(), at.y()), b, held, mods); });
    }
}

void StormDriver::hover()
{
    QWidget* canvas = e_.ui.pbBox.widget();
    QWidget* marker = e_.ui.obCP.widget();
    for (int moves = between(1, 8); moves > 0; --moves) {
        if (marker->isVisible() && chance(25)) {
            const QPointF at(between(0, marker->width() - 1), between(0, marker->height() - 1));
            fire("move over the marker at " + pointText(at), [&] { move(marker, at, Qt::NoButton); });
        } else {
            const QPointF at = canvasPoint();
            fire("move to " + pointText(at), [&] { move(canvas, onCanvas(at.x(), at.y()), Qt::NoButton); });
        }
    }
}

void StormDriver::dragMarker()
{
    QWidget* marker = e_.ui.obCP.widget();
    SurfaceWidget* canvas = e_.ui.pbBox.box();
    // The user can press only the part of the marker the canvas shows.
    const QRect reach = marker->geometry() & canvas->contentsRect();
    if (!marker->isVisible() || reach.isEmpty()) {
        hover();
        return;
    }
    const QPoint grab(between(reach.left(), reach.right()), between(reach.top(), reach.bottom()));
    const Qt::MouseButton b = button();
    const Qt::KeyboardModifiers mods = chance(70) ? Qt::NoModifier : modifiers();
    QPointF local = grab - marker->pos();
    fire("press " + buttonsText(b) + modifiersText(mods) + " on the marker at " + pointText(local),
         [&] { press(marker, local, b, b, mods); });
    for (int moves = below(8); moves > 0; --moves) {
        if (chance(15))
            keyDuringDrag();  // the C key turns colour pick on or off mid-drag
        if (chance(70)) {
            const QPointF at = canvasPoint();
            local = onCanvas(at.x(), at.y()) - QPointF(marker->pos());
        } else {
            local = nudged(local, between(-40, 40), between(-40, 40));
        }
        fire("drag the marker to canvas " + pointText(canvas->toInterior(local + QPointF(marker->pos()))),
             [&] { move(marker, local, b, mods); });
    }
    if (chance(10)) {
        // A second button during the drag is ignored.
        const Qt::MouseButton other = b == Qt::LeftButton ? Qt::RightButton : Qt::LeftButton;
        fire("press " + buttonsText(other) + " during the drag", [&] { press(marker, local, other, b | other, mods); });
        fire("release " + buttonsText(other) + " during the drag", [&] { release(marker, local, other, b, mods); });
    }
    // A drop in colour pick entered from Centric sets the pattern point.
    if (e_.st.Mode == kColourPick && e_.st.PrevMode == kCentric)
        expect_.pickDrop = true;
    fire("release " + buttonsText(b) + ": drop at canvas " + pointText(canvas->toInterior(local + QPointF(marker->pos()))),
         [&] { release(marker, local, b, Qt::NoButton, mods); });
}

void StormDriver::pressPalette()
{
    QWidget* palette = e_.ui.pbPalBox.widget();
    // The grid and its surroundings, past the last row and column too.
    const QPointF at(between(-3, palette->width() + 3) + (chance(10) ? 0.5 : 0), between(-3, palette->height() + 3));
    const Qt::MouseButton b = button();
    const Qt::KeyboardModifiers mods = modifiers();
    fire("press " + buttonsText(b) + modifiersText(mods) + " on the palette at " + pointText(at),
         [&] { press(palette, at, b, b, mods); });
    fire("release " + buttonsText(b) + " on the palette", [&] { release(palette, at, b, Qt::NoButton, mods); });
}

void StormDriver::moveSlider()
{
    const bool n = chance(50);
    QSlider* slider = n ? e_.ui.slN.slider() : e_.ui.slDrawWidth.slider();
    const std::string name = n ? "the N slider" : "the width slider";
    if (!slider->isVisible()) {
        hover();
        return;
    }
    // Left pages towards the pointer, middle jumps to it, on the handle both drag it.
    const Qt::MouseButton b = chance(70) ? Qt::LeftButton : Qt::MiddleButton;
    QPointF at(between(-2, slider->width() + 2), slider->height() / 2);
    if (chance(20)) {
        const int delta = chance(50) ? 120 : -120;
        fire("turn the wheel by " + std::to_string(delta) + " over " + name, [&] {
            QWheelEvent wheel(at, slider->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(slider, &wheel);
        });
        return;
    }
    fire("press " + buttonsText(b) + " on " + name + " at " + pointText(at), [&] { press(slider, at, b, b); });
    for (int moves = below(4); moves > 0; --moves) {
        at = nudged(at, between(-30, 30), 0);
        fire("drag on " + name + " to " + pointText(at), [&] { move(slider, at, b); });
    }
    fire("release " + buttonsText(b) + " on " + name, [&] { release(slider, at, b, Qt::NoButton); });
}

}  // namespace kalidor::test
