#pragma once
// Division rounding down and up, for positions on either side of the origin.

namespace kalidor {

// b > 0.
constexpr long long floorDiv(long long a, long long b)
{
    const long long q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

constexpr long long ceilDiv(long long a, long long b) { return -floorDiv(-a, b); }

}  // namespace kalidor
