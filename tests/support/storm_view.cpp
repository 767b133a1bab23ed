// The storm's view and size: File > Size by its key with every kind of answer,
// zoom by Ctrl+wheel and the keys, and pan by the wheel and a middle-button
// drag. None of them may change a pixel; the view stays within its limits and
// the marker over its place.

#include <cmath>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QWheelEvent>

#include "app/main_window.h"
#include "picture/picture_size.h"
#include "platform/widgets/marker_widget.h"
#include "platform/widgets/surface_widget.h"
#include "platform/widgets/view_zoom.h"
#include "support/scripted_services.h"
#include "support/storm_driver.h"
#include "support/storm_text.h"
#include "support/window_fixture.h"

namespace kalidor::test {

namespace {

bool sameView(const ViewTransform& a, const ViewTransform& b) { return a.scale == b.scale && a.origin == b.origin; }

}  // namespace

std::string StormDriver::checkView()
{
    SurfaceWidget* canvas = e_.ui.pbBox.box();
    const ViewTransform& view = canvas->view();
    const QSize picture(e_.ui.picture->Width(), e_.ui.picture->Height());
    if (view.scale < kLeastZoom || view.scale > kMostZoom)
        return "the zoom left its range";
    if (!sameView(view, panLimited(view, picture, canvas->viewport())))
        return "the view was panned beyond the picture";
    if (const MarkerWidget* marker = e_.ui.obCP.marker()) {
        const QPointF middle = canvas->toWidget(QPointF(e_.ui.obCP.Left() + 6.5, e_.ui.obCP.Top() + 6.5));
        if (marker->pos() != QPoint(static_cast<int>(std::floor(middle.x())) - 6, static_cast<int>(std::floor(middle.y())) - 6))
            return "the marker is not over its place in the view";
    }
    return {};
}

void StormDriver::viewOrSize()
{
    SurfaceWidget* canvas = e_.ui.pbBox.box();
    const QImage before = keptPicture(e_);
    const int r = below(100);
    if (r < 25) {
        // Size: a size of its own, back to the window's, one refused, or cancelled.
        const int kind = below(4);
        const SizeChoice answer = kind == 0   ? SizeChoice{between(1, 900), between(1, 700), false}
                                  : kind == 1 ? SizeChoice{0, 0, true}
                                  : kind == 2 ? SizeChoice{chance(50) ? 0 : kMaxOwnSide + 1, between(1, 50), false}
                                              : SizeChoice{};
        scripted(e_).sizeAnswer = [=](SizeChoice) {
            return kind == 3 ? std::nullopt : std::optional<SizeChoice>(answer);
        };
        const std::size_t said = scripted(e_).messages.size();
        const QSize was(e_.ui.picture->Width(), e_.ui.picture->Height());
        const bool stroking = e_.stroking;
        // Keys reach only the active window (see fileMenu).
        if (chance(50) && QApplication::activeWindow() == window_.form().widget())
            pressKey(Qt::Key_N, Qt::ControlModifier | Qt::AltModifier);
        else
            fire("choose Size", [&] { e_.ui.mnuFile.menu()->actions().at(kFileSize)->trigger(); });
        const QSize now(e_.ui.picture->Width(), e_.ui.picture->Height());
        if (stroking || kind == 3) {
            if (now != was)
                fail("a Size cancelled, or asked mid-stroke, changed the size");
        } else if (kind == 0 && (now != QSize(answer.width, answer.height) || !e_.ui.picture->OwnSize())) {
            fail("Size did not give the picture the size chosen");
        } else if (kind == 2 && (now != was || scripted(e_).messages.size() != said + 1)) {
            fail("a size beyond the limits was not refused with a message");
        } else if (kind == 1 && e_.ui.picture->OwnSize()) {
            fail("\"Follows the window\" left the picture a size of its own");
        }
        return;
    }
    if (r < 70) {
        const QPointF at(between(0, canvas->width()), between(0, canvas->height()));
        const bool zoom = r < 45;
        const int delta = (chance(50) ? 1 : -1) * (chance(80) ? 120 : between(1, 400));
        const bool across = !zoom && chance(30);
        fire(std::string(zoom ? "Ctrl+wheel" : across ? "Shift+wheel" : "wheel") + " by " + std::to_string(delta) +
                 " at " + pointText(at),
             [&] {
                 QWheelEvent wheel(at, canvas->mapToGlobal(at), {}, {0, delta}, Qt::NoButton,
                                   zoom ? Qt::ControlModifier : across ? Qt::ShiftModifier : Qt::NoModifier,
                                   Qt::NoScrollPhase, false);
                 QApplication::sendEvent(canvas, &wheel);
             });
    } else if (r < 85) {
        static constexpr Qt::Key keys[] = {Qt::Key_Plus, Qt::Key_Minus, Qt::Key_Equal, Qt::Key_0, Qt::Key_1};
        pressKey(keys[below(5)], Qt::ControlModifier);
    } else {
        // A middle-button drag: a pan where the picture reaches beyond the view.
        QPointF at(between(0, canvas->width()), between(0, canvas->height()));
        fire("press M at " + pointText(at) + " to pan", [&] { press(canvas, at, Qt::MiddleButton, Qt::MiddleButton); });
        at += QPointF(between(-300, 300), between(-300, 300));
        fire("drag M to " + pointText(at), [&] { move(canvas, at, Qt::MiddleButton); });
        fire("release M", [&] { release(canvas, at, Qt::MiddleButton, Qt::NoButton); });
    }
    if (keptPicture(e_) != before)
        fail("a zoom or a pan changed the picture");
}

void StormDriver::viewHome()
{
    // Every other action reads the canvas at 100 % from its corner.
    SurfaceWidget* canvas = e_.ui.pbBox.box();
    const ViewTransform home{1, QPointF(canvas->contentsRect().topLeft())};
    if (!sameView(canvas->view(), home))
        canvas->setView(home);
}

}  // namespace kalidor::test
