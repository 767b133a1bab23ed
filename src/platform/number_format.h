#pragma once
// Text of numbers as the status bar shows them.

#include <string>

namespace kalidor {

// General number format of a single-precision value: a whole number without
// decimal point or exponent ("120", "-3"), anything else with at most seven
// significant digits and no trailing zeros ("0.5", "0.3333333").
std::string generalFormat(float v);

// "x,y" for the pointer readout.
std::string readoutText(float x, float y);

}  // namespace kalidor
