#pragma once
// Event storms: long seeded random sequences of user events sent to the real
// main window, with the editor's invariants checked after every event.

#include <cstdint>
#include <string>
#include <vector>

#include <QString>

namespace kalidor {
class MainWindow;
}

namespace kalidor::test {

struct StormOutcome {
    long long events = 0;     // events sent
    long long failedAt = -1;  // 0-based index of the first event after which a check failed
    std::string failure;      // what failed
    std::vector<std::string> recent;  // the last events sent, oldest first
};

// Sends up to `events` events drawn from `seed` to the window, stopping at the
// first event after which a check fails. Files are saved and opened in `scratch`.
// The same seed and window size give the same events.
StormOutcome runStorm(MainWindow& window, std::uint32_t seed, long long events, const QString& scratch);

}  // namespace kalidor::test
