#include "platform/windows_services.h"

#include "platform/win32_api.h"
#include <mmsystem.h>

namespace vidorun::win32 {

int sendMciString(const std::string &command)
{
    // Room for a reply of 127 characters; the program never reads it.
    char reply[127] = {};
    return static_cast<int>(mciSendStringA(command.c_str(), reply, 127, nullptr));
}

}  // namespace vidorun::win32
