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
    // The whole kept picture: a part a smaller window hides shows the same
    // pattern when the window grows again.
    const Surface& pb = *e.ui.pb;
    const GroupCanvas canvas{static_cast<int>(pb.KeptWidth()), static_cast<int>(pb.KeptHeight()), pb.DrawWidth()};
    paintStep(*e.ui.pb, patternStep(e.st, e.ui.cbChess.Value() != 0, e.mirror, x, y, e.group, canvas),
              well->BackColor());
}

}  // namespace kalidor
