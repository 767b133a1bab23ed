#include "colour/colour_well.h"

#include "platform/widgets/colour_dialog.h"

namespace kalidor {

void pbColor_Click(Editor& e, int16 index)
{
    Well* well = wellAt(e, index);
    if (!well)
        return;
    const Colour current = well->BackColor();
    well->SetBackColor(ShowColor(*e.ui.f, current).value_or(current));
}

}  // namespace kalidor
