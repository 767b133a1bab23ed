#include "colour/colour_well.h"

namespace kalidor {

void pbColor_Click(Editor& e, int16 index)
{
    Well* well = wellAt(e, index);
    if (!well)
        return;
    const Colour current = well->BackColor();
    well->SetBackColor(e.services->ShowColor(current).value_or(current));
}

}  // namespace kalidor
