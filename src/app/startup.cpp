#include "app/startup.h"

#include "colour/palette.h"

namespace kalidor {

void Form_Activate(Editor& e)
{
    e.st.CenterX = i16::round(e.ui.pb->ScaleWidth() / 2.0);
    e.st.CenterY = i16::round(e.ui.pb->ScaleHeight() / 2.0);
    e.st.PatternX = 200;
    e.st.PatternY = 200;
    // All three options frames stand where the Normal frame already is.
    e.ui.frModeOptions[1].SetLeft(10);
    e.ui.frModeOptions[2].SetLeft(10);
    FillPalette(e);
}

}  // namespace kalidor
