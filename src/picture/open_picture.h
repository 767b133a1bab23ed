#pragma once
// File > Open: a picture file replaces the picture, at the canvas's top-left
// corner with white beyond it.

#include "editor/editor.h"

namespace kalidor {

constexpr const char* kOpenFilter =
    "Picture (*.bmp;*.ico;*.gif;*.jpg)|*.bmp;*.ico;*.gif;*.jpg|Bitmap (*.bmp;*.ico)|*.bmp;*.ico|"
    "Giff-files (*.gif)|*.gif|Jpeg-files (*.jpg)|*.jpg|All files (*.*)|*.*";

void mnuOpen_Click(Editor& e);

}  // namespace kalidor
