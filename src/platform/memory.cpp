#include "platform/memory.h"

#include <fstream>
#include <string>

#include <unistd.h>

namespace kalidor {

long long availableMemory()
{
    std::ifstream info("/proc/meminfo");
    std::string key;
    long long kib = 0;
    std::string unit;
    while (info >> key >> kib >> unit)
        if (key == "MemAvailable:")
            return kib * 1024;
    const long pages = sysconf(_SC_AVPHYS_PAGES);
    const long page = sysconf(_SC_PAGESIZE);
    return pages > 0 && page > 0 ? static_cast<long long>(pages) * page : -1;
}

}  // namespace kalidor
