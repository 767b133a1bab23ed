#include "draw/keys.h"

#include "draw/canvas_input.h"
#include "draw/control_point.h"
#include "draw/fill_tool.h"
#include "draw/press_settings.h"
#include "draw/symmetry_options.h"
#include "picture/clipboard.h"
#include "picture/undo_redo.h"

namespace kalidor {

namespace {

// The arrow keys move the visible control point of the symmetric modes by one
// pixel.
void nudgeControlPoint(Editor& e, int16 keyCode)
{
    int16 x = 0;
    int16 y = 0;
    if (e.st.Mode == kCentric) {
        x = e.st.CenterX;
        y = e.st.CenterY;
    } else if (e.st.Mode == kPattern) {
        x = e.st.PatternX;
        y = e.st.PatternY;
    } else {
        return;
    }
    int16 dx = 0;
    int16 dy = 0;
    switch (keyCode) {
    case kKeyLeft: dx = -1; break;
    case kKeyUp: dy = -1; break;
    case kKeyRight: dx = 1; break;
    case kKeyDown: dy = 1; break;
    default: return;
    }
    ChangeCPXY(e, i16::add(x, dx), i16::add(y, dy));
}

// Ctrl+Z undoes; Ctrl+Y and Ctrl+Shift+Z redo; Ctrl+C copies the picture and
// Ctrl+V pastes one; Ctrl++ and Ctrl+- zoom, Ctrl+0 fits the picture in the
// view and Ctrl+1 shows it at 100 %. Alt makes them other keys. They are
// read here, not as the menus' shortcuts, so that C still reaches colour pick.
void ctrlKey(Editor& e, int16 keyCode, int16 shift)
{
    if (keyCode == kKeyZ && (shift & kShiftKey) == 0)
        EditUndo(e);
    else if (keyCode == kKeyY || keyCode == kKeyZ)
        EditRedo(e);
    else if (keyCode == kKeyC)
        EditCopy(e);
    else if (keyCode == kKeyV)
        EditPaste(e);
    else if (keyCode == kKeyPlus)
        e.ui.pbBox.ZoomBy(1);
    else if (keyCode == kKeyMinus)
        e.ui.pbBox.ZoomBy(-1);
    else if (keyCode == kKey0)
        e.ui.pbBox.FitView();
    else if (keyCode == kKey1)
        e.ui.pbBox.ActualSize();
}

}  // namespace

void Form_KeyDown(Editor& e, int16 keyCode, int16 shift)
{
    if ((shift & (kCtrlKey | kAltKey)) == kCtrlKey)
        ctrlKey(e, keyCode, shift);
    if (e.ui.obCP.Visible())
        nudgeControlPoint(e, keyCode);
    // M toggles Mirror, G the guides, F Fill, L and O the Line and Circle
    // tools, S steps the stabiliser, A switches smooth lines, [ and ] turn the mirror line by a degree
    // (with Shift by 15); with Ctrl or Alt they are other keys.
    if ((shift & (kCtrlKey | kAltKey)) == 0) {
        const int degrees = (shift & kShiftKey) != 0 ? 15 : 1;
        if (keyCode == kKeyM)
            toggleMirror(e);
        else if (keyCode == kKeyG)
            toggleGuides(e);
        else if (keyCode == kKeyF)
            toggleFill(e);
        else if (keyCode == kKeyL)
            chooseShape(e, ShapeKind::Line);
        else if (keyCode == kKeyO)
            chooseShape(e, ShapeKind::Circle);
        else if (keyCode == kKeyS)
            stepSteadiness(e);
        else if (keyCode == kKeyA)
            e.smoothLines = !e.smoothLines;
        else if (keyCode == kKeyOpenBracket)
            turnMirror(e, -degrees);
        else if (keyCode == kKeyCloseBracket)
            turnMirror(e, degrees);
    }
    // Escape calls off a press under way, or else puts a shape tool down.
    if (keyCode == kKeyEscape) {
        if (e.stroking)
            cancelPress(e);
        else
            e.shape = ShapeKind::None;
    }
    // C toggles colour pick, with or without modifiers.
    if (keyCode == kKeyC)
        e.ui.cbCvet.SetValue(static_cast<int16>(1 - e.ui.cbCvet.Value()));
}

}  // namespace kalidor
