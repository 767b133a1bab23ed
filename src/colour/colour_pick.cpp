#include "colour/colour_pick.h"

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

// The pick itself is not built yet: a press in colour pick changes nothing and
// colour pick stays on until "Cvet" is unchecked or a mode is chosen.
void PickColour(Editor&, const MouseArgs&) {}

}  // namespace kalidor
