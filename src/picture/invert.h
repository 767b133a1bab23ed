#pragma once
// "Invert": every pixel of the picture takes its complementary colour.

#include "editor/editor.h"

namespace kalidor {

void kInvert_Click(Editor& e);

}  // namespace kalidor
