#include "platform/windows_services.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <mmsystem.h>

namespace vidorun::win32 {

int sendMciString(const std::string &command)
{
    // Room for a reply of 127 characters; the program never reads it.
    char reply[127] = {};
    return static_cast<int>(mciSendStringA(command.c_str(), reply, 127, nullptr));
}

}  // namespace vidorun::win32
