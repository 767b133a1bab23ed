#include "draw/control_point.h"

#include <string>

namespace kalidor {

namespace {

constexpr int16 kMarkerHalf = 6;  // the 13-pixel marker's middle pixel

std::string pointText(const char* prefix, int16 x, int16 y)
{
    return prefix + std::to_string(x) + "," + std::to_string(y);
}

}  // namespace

void ChangeCPXY(Editor& e, int16 x, int16 y)
{
    if (e.st.Mode == kCentric) {
        e.st.CenterX = x;
        e.st.CenterY = y;
        e.ui.sb.SetPanelText(3, pointText("C: ", x, y));
    } else {
        e.st.PatternX = x;
        e.st.PatternY = y;
        e.ui.sb.SetPanelText(3, pointText("P: ", x, y));
    }
    e.ui.obCP.Move(i16::sub(x, kMarkerHalf), i16::sub(y, kMarkerHalf));
}

}  // namespace kalidor
