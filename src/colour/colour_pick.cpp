#include "colour/colour_pick.h"

#include <cstdint>

namespace kalidor {

void cbCvet_Click(Editor& e)
{
    if (e.ui.cbCvet.Value() != 0) {
        e.st.PrevMode = e.st.Mode;  // saved before it is overwritten
        e.st.Mode = kColourPick;
    } else {
        e.st.Mode = e.st.PrevMode;
    }
}

void PickColour(Editor& e, const MouseArgs& m)
{
    Well* well = wellAt(e, m.Shift > 0 ? 3 : m.Button);
    const std::int32_t c = e.ui.picture->Point(m.X, m.Y);
    // The middle button alone names no well, and a place without a picture has
    // no colour: either way colour pick stays on for the next press.
    if (!well || c < 0)
        return;
    well->SetBackColor(static_cast<Colour>(c));
    e.ui.cbCvet.SetValue(0);  // its click handler puts back `PrevMode`
}

}  // namespace kalidor
