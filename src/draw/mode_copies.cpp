#include "draw/mode_copies.h"

#include "draw/centric_geometry.h"
#include "draw/pattern_geometry.h"

namespace kalidor {

StrokeStep copiesOf(const CopySettings& settings, const Segment& segment, Places places)
{
    switch (settings.mode) {
    case kCentric:
        return centricCopies(settings, segment, places);
    case kPattern:
        try {
            return patternCopies(settings, segment);
        } catch (const Int16Error& error) {
            StrokeStep none;
            none.overflow = error;
            return none;
        }
    default: {
        StrokeStep step;
        step.shapes.push_back(segment);
        return step;
    }
    }
}

CopySettings modeSettings(const Editor& e)
{
    CopySettings c;
    c.mode = drawingMode(e.st);
    c.centre = Point16{e.st.CenterX, e.st.CenterY};
    c.n = static_cast<int16>(e.ui.slN.Value());
    c.turn = static_cast<float>(static_cast<double>(kFullTurn) / c.n);  // as a stroke set up now has it
    c.mirror = e.mirror;
    c.mirrorAngle = e.mirrorAngle;
    c.patternX = e.st.PatternX;
    c.patternY = e.st.PatternY;
    c.chess = e.ui.cbChess.Value() != 0;
    c.group = e.group;
    const Surface& pb = *e.ui.pb;
    c.canvas = GroupCanvas{static_cast<int>(pb.KeptWidth()), static_cast<int>(pb.KeptHeight()), pb.DrawWidth()};
    return c;
}

}  // namespace kalidor
