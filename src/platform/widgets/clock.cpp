#include "platform/widgets/clock.h"

#include <QTime>

namespace kalidor {

namespace {

std::function<float()>& source()
{
    static std::function<float()> s;
    return s;
}

}  // namespace

float Timer()
{
    if (source())
        return source()();
    return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
}

void setTimerSource(std::function<float()> s) { source() = std::move(s); }

}  // namespace kalidor
