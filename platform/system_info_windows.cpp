#include "platform/windows_services.h"

#include "platform/win32_api.h"

namespace vidorun::win32 {

int platformId()
{
    // Only the version numbers are bent for old programs; the platform
    // identifier is reported as it is.
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
    if (!GetVersionExW(&info))
        return VER_PLATFORM_WIN32_NT;  // every Windows this program runs on
    return static_cast<int>(info.dwPlatformId);
}

}  // namespace vidorun::win32
