#pragma once
// Edit > Undo and Redo: the canvas picture's history, step by step. A step is a
// whole stroke, New, an Open that loaded a picture, or Invert.

#include "editor/editor.h"

namespace kalidor {

// Both do nothing while a stroke is under way (a button still down on the canvas).
void EditUndo(Editor& e);
void EditRedo(Editor& e);
// The Edit pop-up's items: Undo and Redo greyed out where there is nothing to
// undo or redo, Mirror, Guides and Fill checked while on, Mirror greyed out
// in Pattern under a wallpaper group other than p1, where it has no effect.
void showEditMenu(Editor& e);

// Around a change of the whole picture by a command: one step of that kind.
template <class Change>
void asOneStep(Editor& e, StepKind kind, Change change)
{
    e.ui.pbHistory->BeginStep(kind);
    try {
        change();
    } catch (...) {
        e.ui.pbHistory->EndStep();
        throw;
    }
    e.ui.pbHistory->EndStep();
}

}  // namespace kalidor
