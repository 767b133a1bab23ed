#pragma once
// File > New: the whole picture white.

#include "app/editor.h"

namespace kalidor {

void mnuNew_Click(Editor& e);

}  // namespace kalidor
