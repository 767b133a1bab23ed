#pragma once
// The picture's size dialog: Width and Height, and whether the picture
// follows the window instead.

#include <optional>

#include "platform/services.h"

class QWidget;

namespace kalidor {

// Modal over `window`; the size accepted, or nothing when cancelled.
std::optional<SizeChoice> runSizeDialog(SizeChoice current, int largest, QWidget* window);

}  // namespace kalidor
