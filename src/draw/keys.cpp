#include "draw/keys.h"

#include "draw/control_point.h"

namespace kalidor {

namespace {

// The arrow keys move the visible control point of the symmetric modes by one
// pixel.
void nudgeControlPoint(Editor& e, int16 keyCode)
{
    int16 x = 0;
    int16 y = 0;
    if (e.st.Mode == kCentric) {
        x = e.st.CenterX;
        y = e.st.CenterY;
    } else if (e.st.Mode == kPattern) {
        x = e.st.PatternX;
        y = e.st.PatternY;
    } else {
        return;
    }
    switch (keyCode) {
    case kKeyLeft:
        ChangeCPXY(e, i16::sub(x, 1), y);
        break;
    case kKeyUp:
        ChangeCPXY(e, x, i16::sub(y, 1));
        break;
    case kKeyRight:
        ChangeCPXY(e, i16::add(x, 1), y);
        break;
    case kKeyDown:
        ChangeCPXY(e, x, i16::add(y, 1));
        break;
    default:
        break;
    }
}

}  // namespace

void Form_KeyDown(Editor& e, int16 keyCode, int16)
{
    if (e.ui.obCP.Visible())
        nudgeControlPoint(e, keyCode);
    // C toggles colour pick, with or without modifiers.
    if (keyCode == kKeyC)
        e.ui.cbCvet.SetValue(static_cast<int16>(1 - e.ui.cbCvet.Value()));
}

}  // namespace kalidor
