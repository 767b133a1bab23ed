#pragma once
// File > Save: the picture as shown, at the canvas's size, as a Windows bitmap
// under exactly the name chosen.

#include "editor/editor.h"

namespace kalidor {

constexpr const char* kSaveFilter = "Bitmap (*.bmp)|*.bmp";

void mnuSave_Click(Editor& e);
// The same, telling whether the picture was written.
bool savePicture(Editor& e);

}  // namespace kalidor
