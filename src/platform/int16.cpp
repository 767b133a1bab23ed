#include "platform/int16.h"

#include <cmath>
#include <limits>

namespace kalidor::i16 {

namespace {

constexpr long long kMin = std::numeric_limits<int16>::min();
constexpr long long kMax = std::numeric_limits<int16>::max();

}  // namespace

double roundHalfEven(double v)
{
    double r = std::round(v);  // halves away from zero
    if (std::fabs(v - std::trunc(v)) == 0.5)
        r = 2.0 * std::round(v / 2.0);
    return r;
}

int16 fromInt(long long v)
{
    if (v < kMin || v > kMax)
        throw Int16Error("16-bit overflow");
    return static_cast<int16>(v);
}

int16 add(int16 a, int16 b) { return fromInt(static_cast<long long>(a) + b); }
int16 sub(int16 a, int16 b) { return fromInt(static_cast<long long>(a) - b); }
int16 mul(int16 a, int16 b) { return fromInt(static_cast<long long>(a) * b); }

int16 div(int16 a, int16 b)
{
    if (b == 0)
        throw Int16Error("division by zero");
    return fromInt(static_cast<long long>(a) / b);  // C++ division truncates toward zero
}

int16 mod(int16 a, int16 b)
{
    if (b == 0)
        throw Int16Error("division by zero");
    return static_cast<int16>(static_cast<long long>(a) % b);  // sign of the dividend
}

int16 round(double v)
{
    if (!std::isfinite(v))
        throw Int16Error("16-bit overflow");
    const double r = roundHalfEven(v);
    if (r < kMin || r > kMax)
        throw Int16Error("16-bit overflow");
    return static_cast<int16>(r);
}

std::int32_t round32(double v)
{
    if (!std::isfinite(v))
        throw Int16Error("32-bit overflow");
    const double r = roundHalfEven(v);
    if (r < std::numeric_limits<std::int32_t>::min() || r > std::numeric_limits<std::int32_t>::max())
        throw Int16Error("32-bit overflow");
    return static_cast<std::int32_t>(r);
}

}  // namespace kalidor::i16
