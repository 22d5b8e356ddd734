#include "platform/peak_memory.h"
#include "platform/win32_api.h"

#include <psapi.h>

namespace vidorun {

long peakResidentKb()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    // The kernel32 entry (Windows 7 and later), so that no psapi.dll is needed.
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return 0;
    return long(counters.PeakWorkingSetSize / 1024);
}

}  // namespace vidorun
