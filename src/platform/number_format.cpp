#include "platform/number_format.h"

#include <cmath>
#include <cstdio>

namespace kalidor {

std::string generalFormat(float v)
{
    char buf[64];
    const double d = v;
    if (std::isfinite(d) && d == std::trunc(d)) {
        // Whole numbers of any size print in full; -0 prints as 0.
        std::snprintf(buf, sizeof buf, "%.0f", d == 0.0 ? 0.0 : d);
    } else {
        std::snprintf(buf, sizeof buf, "%.7g", d);
    }
    return buf;
}

std::string readoutText(float x, float y)
{
    return generalFormat(x) + "," + generalFormat(y);
}

}  // namespace kalidor
