#pragma once
// While a storm runs, a crash or a hang still names the seed and the event, so
// that the run can be replayed up to it.

#include <cstdint>

namespace kalidor::test {

// The driver tells the guard which event it is about to send.
void noteStormEvent(long long index);

class StormGuard {
public:
    // Reports a crash, or an event that has not finished after `hangSeconds`,
    // and then ends the process.
    StormGuard(std::uint32_t seed, int hangSeconds);
    ~StormGuard();
    StormGuard(const StormGuard&) = delete;
    StormGuard& operator=(const StormGuard&) = delete;
};

}  // namespace kalidor::test
