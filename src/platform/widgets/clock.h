#pragma once
// The time of day, which seeds the palette's random colours.

#include <functional>

namespace kalidor {

// Seconds since local midnight, as a single-precision value.
float Timer();

// Replaces the clock, so that a test can give the seed it wants; an empty
// function puts the real clock back.
void setTimerSource(std::function<float()> source);

}  // namespace kalidor
