#include "colour/pen_width.h"

namespace kalidor {

namespace {

// The bar's place on the window, and its length less one (both ends are drawn).
constexpr int16 kBarLeft = 45;
constexpr int16 kBarTop = 580;
constexpr int16 kBarLength = 45;

}  // namespace

void slDrawWidth_Scroll(Editor& e)
{
    e.ui.pb->SetDrawWidth(i16::fromInt(e.ui.slDrawWidth.Value()));
    Surface& window = e.ui.f->surface();
    // The whole area first, so a narrower bar leaves nothing of a wider one.
    const int16 area = i16::sub(i16::fromInt(e.ui.slDrawWidth.Max()), 1);
    window.Line(kBarLeft, kBarTop, kBarLength, area, window.BackColor(), Shape::FilledBox, Corner::Relative);
    const int16 bar = i16::sub(i16::fromInt(e.ui.slDrawWidth.Value()), 1);
    window.Line(kBarLeft, kBarTop, kBarLength, bar, kBlack, Shape::FilledBox, Corner::Relative);
}

}  // namespace kalidor
