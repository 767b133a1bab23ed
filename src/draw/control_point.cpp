#include "draw/control_point.h"

#include <string>

#include "platform/number_format.h"

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

void pb_DragDrop(Editor& e, DragSource source, float x, float y)
{
    // Normal mode has no control point. The mode can change under a drag: an
    // arrow key on a focused mode button selects another.
    if (source == DragSource::Marker && drawingMode(e.st) != kNormal)
        ChangeCPXY(e, i16::round(x), i16::round(y));
}

void obCP_MouseMove(Editor& e, const MouseArgs& m)
{
    // The same readout as over the canvas at this screen position.
    const auto [x, y] = e.ui.obCP.PictureAt(m.X, m.Y);
    e.ui.sb.SetPanelText(2, readoutText(x, y));
}

void cbCenter_Click(Editor& e)
{
    e.ui.obCP.SetVisible(e.ui.cbCenter.Value() != 0);
}

void cbPattern_Click(Editor& e)
{
    e.ui.obCP.SetVisible(e.ui.cbPattern.Value() != 0);
}

}  // namespace kalidor
