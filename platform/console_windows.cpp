#include "platform/console.h"

#include "platform/code_page.h"
#include "platform/win32_api.h"
#include "platform/windows_text.h"

#include <shellapi.h>

#include <io.h>

#include <algorithm>
#include <string>

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

std::vector<std::string> programArguments(int argc, char *argv[])
{
    std::vector<std::string> arguments;
    int count = 0;
    if (LPWSTR *given = ::CommandLineToArgvW(::GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i)
            arguments.push_back(narrow(given[i]));
        ::LocalFree(given);
        return arguments;
    }
    // The narrow arguments are in the ANSI code page.
    for (int i = 0; i < argc; ++i)
        arguments.push_back(decodeCodePage(argv[i]));
    return arguments;
}

void writeAnswer(std::FILE *stream, const std::string &utf8)
{
    std::fflush(stream);
    // The stream's own handle: after answerOnParentConsole it is the
    // console's, which the process's standard handles need not be.
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode)) {
        const std::wstring text = wide(utf8);
        // Older consoles take a few thousand characters a call at most.
        for (std::size_t at = 0; at < text.size();) {
            DWORD written = 0;
            const auto piece = DWORD(std::min<std::size_t>(text.size() - at, 8192));
            if (!::WriteConsoleW(handle, text.data() + at, piece, &written, nullptr) || written == 0)
                return;
            at += written;
        }
        return;
    }
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
    std::fflush(stream);
}

}  // namespace vidorun
