#include "platform/console.h"

#include "platform/win32_api.h"

#include <cstdio>

namespace vidorun {

void answerOnParentConsole()
{
    // A handle that leads somewhere (a file, a pipe, a console) has a type.
    const auto leadsSomewhere = [](DWORD which) {
        return ::GetFileType(::GetStdHandle(which)) != FILE_TYPE_UNKNOWN;
    };
    const bool output = leadsSomewhere(STD_OUTPUT_HANDLE);
    const bool errors = leadsSomewhere(STD_ERROR_HANDLE);
    // Asked again, the console is attached already and nothing changes.
    if ((output && errors) || !::AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (!output)
        std::freopen("CONOUT$", "w", stdout);
    if (!errors)
        std::freopen("CONOUT$", "w", stderr);
}

}  // namespace vidorun
