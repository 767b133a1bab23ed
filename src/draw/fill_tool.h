#pragma once
// Fill: while it is on, a press on the canvas colours the region under the
// pointer, and the region under each of its images in Centric and Pattern,
// instead of drawing (the tool itself is `kFillTool`, editor/tool.h).

#include "editor/editor.h"

namespace kalidor {

// The F key and the Edit pop-up's "Fill".
void toggleFill(Editor& e);

}  // namespace kalidor
