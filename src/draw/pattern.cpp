#include "draw/pattern.h"

namespace kalidor {

void patternStartOn(const Editor& e, EditorState& s, int16 x, int16 y)
{
    patternStart(s, e.ui.pb->Width(), e.ui.pb->Height(), x, y);
}

StrokeStep patternStepOn(const Editor& e, EditorState& s, int16 x, int16 y)
{
    // The whole kept picture: a part a smaller window hides shows the same
    // pattern when the window grows again.
    const Surface& pb = *e.ui.pb;
    const GroupCanvas canvas{static_cast<int>(pb.KeptWidth()), static_cast<int>(pb.KeptHeight()), pb.DrawWidth()};
    return patternStep(s, e.ui.cbChess.Value() != 0, e.mirror, x, y, e.group, canvas);
}

void DefPatternSXY(Editor& e, int16 x, int16 y) { patternStartOn(e, e.st, x, y); }

void PatternDrawLines(Editor& e, int16 x, int16 y, int16 button)
{
    const Well* well = wellAt(e, button);
    if (!well)
        return;  // a button with no well has no colour: the step is skipped
    paintStep(*e.ui.pb, patternStepOn(e, e.st, x, y), well->BackColor());
}

}  // namespace kalidor
