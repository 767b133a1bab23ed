#include "draw/centric.h"

#include <string>

namespace kalidor {

namespace {

int16 copies(const Editor& e) { return static_cast<int16>(e.ui.slN.Value()); }

}  // namespace

void centricStartOn(const Editor& e, EditorState& s, int16 x, int16 y) { centricStart(s, copies(e), x, y); }

StrokeStep centricStepOn(const Editor& e, EditorState& s, int16 x, int16 y)
{
    return centricStep(s, copies(e), e.mirror, x, y, e.mirrorAngle);
}

void DefCenterSXY(Editor& e, int16 x, int16 y) { centricStartOn(e, e.st, x, y); }

void CenterDrawLines(Editor& e, int16 x, int16 y, int16 button)
{
    const Well* well = wellAt(e, button);
    if (!well)
        return;  // a button with no well has no colour: the step is skipped
    paintStep(*e.ui.pb, centricStepOn(e, e.st, x, y), well->BackColor());
}

void slN_Scroll(Editor& e)
{
    e.ui.lN.SetCaption(std::to_string(e.ui.slN.Value()));
}

}  // namespace kalidor
