#pragma once
// Pattern drawing in the window: Chess and the canvas's size read off the
// controls, the copies drawn on the canvas in a well's colour.

#include "draw/pattern_geometry.h"
#include "editor/editor.h"

namespace kalidor {

// The same set-up and step on a stroke state of the caller's: a shape
// tool's preview works on a copy of the editor's.
void patternStartOn(const Editor& e, EditorState& s, int16 x, int16 y);
StrokeStep patternStepOn(const Editor& e, EditorState& s, int16 x, int16 y);

// Sets up a Pattern stroke at (x, y): measures the grid and records the
// pointer's cell, its offset in the cell and the chessboard phase.
void DefPatternSXY(Editor& e, int16 x, int16 y);
// One step of a Pattern stroke to (x, y), in the colour of well `button`.
void PatternDrawLines(Editor& e, int16 x, int16 y, int16 button);

}  // namespace kalidor
