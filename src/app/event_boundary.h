#pragma once
// Where a notification enters the editor. A 16-bit overflow abandons the event
// that raised it, leaving the state as far as it got; nothing wraps, nothing is
// shown, and the program carries on with the next event.

#include "platform/int16.h"

namespace kalidor {

template <class Handler>
void atEventBoundary(Handler&& handler)
{
    try {
        handler();
    } catch (const Int16Error&) {
    }
}

}  // namespace kalidor
