#pragma once
// Copy and Paste: the whole picture to the clipboard, and a picture from it
// taken as Open takes a file.

#include "editor/editor.h"

namespace kalidor {

void EditCopy(Editor& e);
// One step of the history, nothing while a press is under way; text or
// nothing on the clipboard: a message, and the picture as it was.
void EditPaste(Editor& e);

}  // namespace kalidor
