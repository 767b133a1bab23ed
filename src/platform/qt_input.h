#pragma once
// Qt's mouse buttons, modifiers and keys in the editor's terms.

#include <Qt>

#include "platform/int16.h"

namespace kalidor {

int16 buttonBits(Qt::MouseButtons buttons);
int16 shiftBits(Qt::KeyboardModifiers modifiers);
// The virtual-key code of a Qt key, or 0 for keys without one.
int16 virtualKey(int qtKey);

}  // namespace kalidor
