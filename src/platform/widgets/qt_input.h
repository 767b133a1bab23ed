#pragma once
// Qt's mouse buttons, modifiers and keys in the editor's terms.

#include <QPointF>
#include <Qt>

#include "platform/events.h"
#include "platform/int16.h"

class QMouseEvent;

namespace kalidor {

int16 buttonBits(Qt::MouseButtons buttons);
int16 shiftBits(Qt::KeyboardModifiers modifiers);
// The virtual-key code of a Qt key, or 0 for keys without one.
int16 virtualKey(int qtKey);

// A mouse notification's arguments: the given buttons, the event's modifiers,
// and the position `at` (in pixels) times `unitsPerPixel`.
MouseArgs mouseArgs(const QMouseEvent& event, int16 buttons, QPointF at, float unitsPerPixel = 1.0f);

}  // namespace kalidor
