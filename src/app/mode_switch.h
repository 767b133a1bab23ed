#pragma once

#include "editor/editor.h"

namespace kalidor {

// The user selected mode option `index` (0 Normal, 1 Centric, 2 Pattern).
void obMode_Click(Editor& e, int16 index);

}  // namespace kalidor
