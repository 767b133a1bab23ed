#pragma once
// How much memory the machine can still give the program.

namespace kalidor {

// Bytes the system says it can give without swapping: MemAvailable, or the
// free pages where that is not known; -1 where neither is.
long long availableMemory();

}  // namespace kalidor
