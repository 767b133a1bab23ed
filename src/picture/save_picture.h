#pragma once
// File > Save: the picture as shown, at the canvas's size, under exactly the
// name chosen, in the type chosen in the dialog: a Windows bitmap or PNG.

#include "editor/editor.h"

namespace kalidor {

// The bitmap comes first, and is the type the dialog starts with.
constexpr const char* kSaveFilter = "Bitmap (*.bmp)|*.bmp|PNG image (*.png)|*.png";

void mnuSave_Click(Editor& e);
// The same, telling whether the picture was written.
bool savePicture(Editor& e);
// Any picture through the same dialog, with the same messages; nothing counts
// as saved.
bool savePictureAs(Editor& e, const Picture& image);

}  // namespace kalidor
