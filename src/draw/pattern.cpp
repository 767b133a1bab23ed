#include "draw/pattern.h"

namespace kalidor {

void DefPatternSXY(Editor& e, int16 x, int16 y)
{
    patternStart(e.st, e.ui.pb->Width(), e.ui.pb->Height(), x, y);
}

void PatternDrawLines(Editor& e, int16 x, int16 y, int16 button)
{
    const Well* well = wellAt(e, button);
    if (!well)
        return;  // a button with no well has no colour: the step is skipped
    const PatternStep step = patternStep(e.st, e.ui.cbChess.Value() != 0, e.mirror, x, y);
    if (!step.segments.empty())
        e.ui.pb->Lines(step.segments, well->BackColor());
    if (!step.grids.empty())
        e.ui.pb->GridLines(step.grids, well->BackColor());  // the whole step in one call
    if (step.overflow)
        throw *step.overflow;
}

}  // namespace kalidor
