#include "platform/console.h"

#include "platform/win32_api.h"

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

QStringList programArguments(int argc, char *argv[])
{
    QStringList arguments;
    int count = 0;
    if (LPWSTR *wide = ::CommandLineToArgvW(::GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i)
            arguments << QString::fromWCharArray(wide[i]);
        ::LocalFree(wide);
        return arguments;
    }
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void writeAnswer(std::FILE *stream, const QString &text)
{
    std::fflush(stream);
    // The stream's own handle: after answerOnParentConsole it is the
    // console's, which the process's standard handles need not be.
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stream)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode)) {
        const std::wstring wide = text.toStdWString();
        // Older consoles take a few thousand characters a call at most.
        for (std::size_t at = 0; at < wide.size();) {
            DWORD written = 0;
            const auto piece = DWORD(std::min<std::size_t>(wide.size() - at, 8192));
            if (!::WriteConsoleW(handle, wide.data() + at, piece, &written, nullptr) || written == 0)
                return;
            at += written;
        }
        return;
    }
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}

}  // namespace vidorun
