#pragma once
// The pixel a coordinate handed to the surface falls on.

#include <algorithm>
#include <cmath>

#include "platform/int16.h"

namespace kalidor {

// Positions far outside any screen are pulled in, which keeps the pixel loops
// bounded; the visible pixels of a segment that long are not affected in practice.
constexpr double kFar = 1 << 20;

inline long long pixelIndex(float v)
{
    const double d = std::isnan(v) ? 0.0 : std::clamp(static_cast<double>(v), -kFar, kFar);
    return static_cast<long long>(i16::roundHalfEven(d));
}

}  // namespace kalidor
