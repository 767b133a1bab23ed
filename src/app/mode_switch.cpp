#include "app/mode_switch.h"

#include "draw/control_point.h"

namespace kalidor {

namespace {

Control& optionsFrame(Editor& e, int16 mode) { return e.ui.frModeOptions.at(static_cast<std::size_t>(mode)); }

}  // namespace

void obMode_Click(Editor& e, int16 index)
{
    // Leaving colour pick first: unchecking "Cvet" runs its click handler at
    // once, which puts back the mode colour pick was entered from.
    if (e.st.Mode == kColourPick)
        e.ui.cbCvet.SetValue(0);
    if (e.st.Mode == index)
        return;
    e.ui.obCP.SetVisible(false);
    optionsFrame(e, e.st.Mode).SetVisible(false);
    e.st.Mode = index;
    optionsFrame(e, e.st.Mode).SetVisible(true);
    switch (index) {
    case kNormal:
        e.ui.sb.SetPanelText(3, "");
        break;
    case kCentric:
        ChangeCPXY(e, e.st.CenterX, e.st.CenterY);
        e.ui.obCP.SetVisible(e.ui.cbCenter.Value() != 0);
        break;
    case kPattern:
        ChangeCPXY(e, e.st.PatternX, e.st.PatternY);
        e.ui.obCP.SetVisible(e.ui.cbPattern.Value() != 0);
        break;
    default:
        break;
    }
}

}  // namespace kalidor
