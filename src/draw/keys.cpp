#include "draw/keys.h"

namespace kalidor {

// No key does anything yet: the arrow keys and the C key come with the control
// point's keyboard handling.
void Form_KeyDown(Editor&, int16, int16) {}

}  // namespace kalidor
