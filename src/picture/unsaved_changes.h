#pragma once
// Closing never loses a drawing: a picture changed since it was last saved,
// opened or made new is offered for saving first.

#include "editor/editor.h"

namespace kalidor {

// The picture as it is now counts as saved.
void markSaved(Editor& e);
bool hasUnsavedChanges(const Editor& e);

// The window is asked to close: true where it may. With unsaved changes it asks
// "Save changes to the picture?": Save saves through the Save dialog and closes
// only once the picture is written, Discard closes, Cancel keeps everything.
bool Form_QueryUnload(Editor& e);

}  // namespace kalidor
