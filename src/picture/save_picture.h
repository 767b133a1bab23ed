#pragma once
// File > Save: the picture as shown, at the canvas's size, under exactly the
// name chosen: as PNG for a name ending in ".png", else as a Windows bitmap.

#include "editor/editor.h"

namespace kalidor {

// The bitmap comes first, and is the type the dialog starts with.
constexpr const char* kSaveFilter = "Bitmap (*.bmp)|*.bmp|PNG image (*.png)|*.png";

void mnuSave_Click(Editor& e);
// The same, telling whether the picture was written.
bool savePicture(Editor& e);

}  // namespace kalidor
