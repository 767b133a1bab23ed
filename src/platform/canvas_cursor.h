#pragma once
// The canvas's cursor: which tool a press will use.

namespace kalidor {

enum class CanvasCursor { Arrow, Fill, Line, Circle };

}  // namespace kalidor
