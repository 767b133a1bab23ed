#pragma once
// What a press on the canvas will do, chosen from the keys and the Edit
// pop-up: a shape tool instead of the freehand stroke, and the stabiliser;
// and how the window shows it (the canvas's cursor, the status bar's Edit
// panel), so that a press never does something the window does not say.

#include <string>

#include "editor/editor.h"

namespace kalidor {

// L and O: the shape chosen, or freehand again where it already was; Fill
// goes off. Not while a shape is being drawn.
void chooseShape(Editor& e, ShapeKind shape);
// S: the stabiliser's next setting, from the next stroke on.
void stepSteadiness(Editor& e);

// The tool a press will use and the settings that change what it draws, as
// the Edit panel says them ("Fill", "Line·Mirror 30°", "Mirror 30°·Steady"
// for a freehand stroke); "Edit" while a press draws a plain freehand stroke.
std::string pressSummary(const Editor& e);

// What the Edit panel's tooltip says of its pop-up.
constexpr const char* kEditPanelKeys = "Edit: Undo (Ctrl+Z), Redo (Ctrl+Y), Mirror (M), Guides (G), Fill (F), Line (L), "
                                       "Circle (O), Stabiliser (S), Copy (Ctrl+C), Paste (Ctrl+V)";

// The Edit panel's text, tooltip (whole, where the panel cuts it short), and the canvas's cursor, as the
// editor now is.
void refreshPressSummary(Editor& e);
void refreshCanvasCursor(Editor& e);

}  // namespace kalidor
