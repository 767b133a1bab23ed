// The mode's stroke: the press sets it up, every move with a button held is
// one step, drawn in the well the buttons name.
#include "draw/stroke_tool.h"

#include "draw/centric.h"
#include "draw/mode_copies.h"
#include "draw/pattern.h"
#include "editor/tool.h"

namespace kalidor {

void strokeStartOn(const Editor& e, EditorState& s, int16 x, int16 y)
{
    switch (e.st.Mode) {
    case kNormal:
        s.LastXY = Point16{x, y};
        break;
    case kCentric:
        centricStartOn(e, s, x, y);
        break;
    case kPattern:
        patternStartOn(e, s, x, y);
        break;
    default:
        break;
    }
}

StrokeStep strokeStepOn(const Editor& e, EditorState& s, float x, float y)
{
    switch (e.st.Mode) {
    case kNormal: {
        // One segment from the stored point to the pointer as delivered; a
        // point beyond 16 bits is drawn towards but not stored.
        StrokeStep step;
        step.shapes.push_back(Segment{static_cast<float>(s.LastXY.x), static_cast<float>(s.LastXY.y), x, y});
        try {
            s.LastXY = Point16{i16::round(x), i16::round(y)};
        } catch (const Int16Error& error) {
            step.overflow = error;
        }
        return step;
    }
    case kCentric: {
        if (!e.ui.pb->Smooth() || s.SXY.empty())
            return centricStepOn(e, s, i16::round(x), i16::round(y));
        // Smooth: the copies' places are kept as ever, and the segment from
        // where the pointer was is drawn under every turn at its exact place.
        const Point16 from = s.SXY.front();
        StrokeStep placed = centricStepOn(e, s, i16::round(x), i16::round(y));
        StrokeStep step = copiesOf(modeSettings(e), Segment{static_cast<float>(from.x), static_cast<float>(from.y), x, y},
                                   Places::Smooth);
        step.overflow = placed.overflow;
        return step;
    }
    case kPattern:
        return patternStepOn(e, s, i16::round(x), i16::round(y));
    default:
        return {};
    }
}

namespace {

void startStroke(Editor& e, const MouseArgs& m) { strokeStartOn(e, e.st, xr(m), yr(m)); }

void stepStroke(Editor& e, const MouseArgs& m)
{
    const Well* well = wellAt(e, m.Button);
    if (!well)
        return;  // the middle button and its combinations have no well: the step is skipped
    paintStep(*e.ui.pb, strokeStepOn(e, e.st, m.X, m.Y), well->BackColor());
}

}  // namespace

// The stroke is drawn as it goes: the release and a cancel leave it as it is.
const Tool kStrokeTool{startStroke, stepStroke, noPointer, noCancel};

}  // namespace kalidor
