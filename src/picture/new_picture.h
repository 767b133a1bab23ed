#pragma once
// File > New: the whole picture white.

#include "editor/editor.h"

namespace kalidor {

void mnuNew_Click(Editor& e);

}  // namespace kalidor
