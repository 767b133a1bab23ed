#include "draw/centric.h"

#include <string>

namespace kalidor {

namespace {

int16 copies(const Editor& e) { return static_cast<int16>(e.ui.slN.Value()); }

}  // namespace

void DefCenterSXY(Editor& e, int16 x, int16 y) { centricStart(e.st, copies(e), x, y); }

void CenterDrawLines(Editor& e, int16 x, int16 y, int16 button)
{
    const Well* well = wellAt(e, button);
    if (!well)
        return;  // a button with no well has no colour: the step is skipped
    paintStep(*e.ui.pb, centricStep(e.st, copies(e), e.mirror, x, y, e.mirrorAngle), well->BackColor());
}

void slN_Scroll(Editor& e)
{
    e.ui.lN.SetCaption(std::to_string(e.ui.slN.Value()));
}

}  // namespace kalidor
