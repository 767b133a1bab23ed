// The storm's fills: the F key, and every press on the canvas that Fill takes
// checked against the plain fill of the regions under the press's images.

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QMouseEvent>

#include "app/main_window.h"
#include "draw/press_images.h"
#include "platform/widgets/surface_widget.h"
#include "support/plain_fill.h"
#include "support/storm_driver.h"
#include "support/storm_text.h"
#include "support/window_fixture.h"

namespace kalidor::test {

namespace {

int16 wellBits(Qt::MouseButtons held)
{
    return static_cast<int16>(((held & Qt::LeftButton) ? kLeftButton : 0) | ((held & Qt::RightButton) ? kRightButton : 0) |
                              ((held & Qt::MiddleButton) ? kMiddleButton : 0));
}

}  // namespace

void StormDriver::pressF() { pressKey(Qt::Key_F, chance(80) ? Qt::NoModifier : modifiers()); }

void StormDriver::pressOnCanvas(const std::string& what, QPointF at, Qt::MouseButton b, Qt::MouseButtons held,
                                Qt::KeyboardModifiers mods, bool twice)
{
    QWidget* canvas = e_.ui.pbBox.widget();
    auto send = [&] {
        if (!twice) {
            press(canvas, onCanvas(at.x(), at.y()), b, held, mods);
            return;
        }
        QMouseEvent event(QEvent::MouseButtonDblClick, onCanvas(at.x(), at.y()),
                          canvas->mapToGlobal(onCanvas(at.x(), at.y())), b, held, mods);
        QApplication::sendEvent(canvas, &event);
    };
    const int16 mode = e_.st.Mode;
    const bool symmetric = mode == kCentric || mode == kPattern;
    if (!e_.fill || mode == kColourPick || (symmetric && mods == Qt::ShiftModifier)) {
        fire(what, send);
        return;
    }
    // Fill takes the press. Every third time, the picture before it, to hold
    // what the fill made of it against the plain fill of the press's images:
    // the sanitized storm could not afford it every time.
    const bool thorough = ++fills_ % 3 == 0;
    const QImage before = thorough ? keptPicture(e_).copy() : QImage();
    const qint64 untouched = keptPicture(e_).cacheKey();
    const Well* well = wellAt(e_, wellBits(held));
    const double x = i16::roundHalfEven(static_cast<float>(at.x())), y = i16::roundHalfEven(static_cast<float>(at.y()));
    const bool inRange = std::abs(x) <= 32767 && std::abs(y) <= 32767 && x != 32768 && y != 32768 && x >= -32768 && y >= -32768;
    const std::int32_t pressed = inRange ? e_.ui.pb->Point(static_cast<float>(x), static_cast<float>(y)) : -1;
    // With smooth lines or a tolerance, Fill reaches further than one colour.
    const int tolerance = kFillTolerances[e_.fillTolerance];
    const bool plain = !e_.smoothLines && tolerance == 0;
    std::vector<PixelPoint> seeds;
    if (well && pressed >= 0 && static_cast<Colour>(pressed) != well->BackColor())
        for (const PixelPoint& p : pressImages(e_, static_cast<int16>(x), static_cast<int16>(y)))
            if (const std::int32_t at = e_.ui.pb->Point(static_cast<float>(p.x), static_cast<float>(p.y));
                at >= 0 && farness(toPixel(static_cast<Colour>(at)), toPixel(static_cast<Colour>(pressed))) <= tolerance)
                seeds.push_back(p);
    const Colour colour = well ? well->BackColor() : 0;
    fire(what + " (Fill)", send);
    if (seeds.empty()) {
        if (keptPicture(e_).cacheKey() != untouched)
            fail("a press that Fill had nothing to fill for wrote the picture");
        return;
    }
    const QImage& after = keptPicture(e_);
    if (after.pixel(static_cast<int>(x), static_cast<int>(y)) != toPixel(colour))
        fail("Fill left the pressed pixel without the well's colour");
    if (!thorough)
        return;
    // A picture of its own size fills within that size; beyond it nothing changes.
    const QRect reach(0, 0, e_.ui.picture->KeptWidth(), e_.ui.picture->KeptHeight());
    const QImage within = after.copy(reach);
    const QImage was = before.copy(reach);
    QImage outside = after.copy();
    QImage outsideBefore = before.copy();
    for (QImage* i : {&outside, &outsideBefore})
        for (int y = 0; y < reach.height(); ++y)
            std::fill_n(reinterpret_cast<QRgb*>(i->scanLine(y)), reach.width(), QRgb(0));
    if (outside != outsideBefore)
        fail("Fill wrote beyond the picture's own size");
    if (!plain) {
        if (std::string why = checkReachingFill(was, within, toPixel(static_cast<Colour>(pressed)), toPixel(colour),
                                                tolerance, e_.smoothLines);
            !why.empty())
            fail("Fill with smooth lines or a tolerance: " + why);
        return;
    }
    if (std::string why = checkIsAFill(was, within, toPixel(static_cast<Colour>(pressed)), toPixel(colour)); !why.empty())
        fail("Fill: " + why);
    if (within != filledPlainly(was, seeds, colour))
        fail("Fill did not fill exactly the regions under the press's images");
}

}  // namespace kalidor::test
