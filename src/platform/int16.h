#pragma once
// 16-bit integer arithmetic of the editor: every coordinate, counter and mode is
// an int16, and a result outside -32768..32767 is an error, never a wrap-around.

#include <cstdint>
#include <stdexcept>

namespace kalidor {

using int16 = std::int16_t;

// Raised when 16-bit arithmetic leaves its range or divides by zero. The event
// that raised it is abandoned at the event boundary with state as far as it got.
class Int16Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

namespace i16 {

// Checked narrowing from a wider integer.
int16 fromInt(long long v);

int16 add(int16 a, int16 b);
int16 sub(int16 a, int16 b);
int16 mul(int16 a, int16 b);

// a \ b: quotient truncated toward zero (-7 \ 2 = -3).
int16 div(int16 a, int16 b);
// a Mod b: remainder with the sign of a (-7 Mod 2 = -1).
int16 mod(int16 a, int16 b);

// Nearest whole number, ties to even, whatever the FPU's rounding mode.
double roundHalfEven(double v);

// Nearest integer, ties to even (250.5 -> 250, 251.5 -> 252), checked.
int16 round(double v);
// The same into 32 bits.
std::int32_t round32(double v);

}  // namespace i16
}  // namespace kalidor
