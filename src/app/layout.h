#pragma once
// The main window's controls, their places and initial state, the rule that
// keeps the canvas filling the window, and the status bar's File pop-up.

#include "editor/editor.h"
#include "platform/events.h"
#include "platform/raster/picture_document.h"
#include "platform/widgets/form.h"

namespace kalidor {

// The client size of the restored window.
constexpr int kRestoredWidth = 612;
constexpr int kRestoredHeight = 658;

// Creates every control on `f` in its place and initial state, the canvas a
// view of `picture`, which follows the canvas's interior.
Controls createControls(Form& f, PictureDocument& picture);

// Resize rule: the canvas fills the window right of the control column, down to
// the status bar, and the picture follows the canvas's interior; a window too
// small for it leaves the canvas and the picture as they were.
void Form_Resize(Editor& e);

// The zoom panel: the view's zoom, once the picture has a size of its own or
// is zoomed.
void refreshZoomReadout(Editor& e);

// A press on the status bar's first panel opens the File menu as a pop-up.
void sb_MouseDown(Editor& e, const MouseArgs& m);

}  // namespace kalidor
