#include "platform/windows_services.h"

#include "platform/win32_api.h"
#include "platform/windows_text.h"
#include <shellapi.h>

namespace vidorun::win32 {
namespace {

// ERROR_ELEVATION_REQUIRED; not every set of Windows headers names it.
constexpr DWORD ElevationRequired = 740;

std::wstring systemMessage(DWORD code)
{
    return wide(systemReason(code));
}

// ShellExecute answers a value above 32 on success; below, its own codes
// mixed with system error codes.
std::wstring shellExecuteMessage(INT_PTR code)
{
    switch (code) {
    case 0:
    case SE_ERR_OOM:
        return L"There is not enough memory to open the file.";
    case SE_ERR_NOASSOC:
    case SE_ERR_ASSOCINCOMPLETE:
        return L"No program is set up to open this type of file.";
    case SE_ERR_SHARE:
        return L"The file is in use by another program.";
    case SE_ERR_DLLNOTFOUND:
        return L"A file needed by the program that opens this type of file is missing.";
    case SE_ERR_DDETIMEOUT:
    case SE_ERR_DDEFAIL:
    case SE_ERR_DDEBUSY:
        return L"The program that opens this type of file did not answer.";
    default:
        return systemMessage(static_cast<DWORD>(code));
    }
}

}  // namespace

StartResult openDocumentMinimized(const std::wstring &path)
{
    if (path.empty())
        return {false, systemMessage(ERROR_FILE_NOT_FOUND)};
    // Show value 6: the player's window starts minimised and the activation
    // goes to the next window, ours. No dialog of the shell's own (such as
    // "How do you want to open this file?") may wait for the viewer: a file
    // type without a program is reported instead.
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = path.c_str();
    info.nShow = SW_MINIMIZE;
    if (ShellExecuteExW(&info))
        return {true, {}};
    const DWORD error = GetLastError();
    const INT_PTR code = reinterpret_cast<INT_PTR>(info.hInstApp);
    // hInstApp carries ShellExecute's own code when it has one; else the
    // system's error code says why.
    return {false, code > 0 && code <= 32 ? shellExecuteMessage(code) : systemMessage(error)};
}

StartResult startProgram(const std::wstring &path)
{
    if (path.empty())
        return {false, systemMessage(ERROR_FILE_NOT_FOUND)};
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    // The path names the program; the command line only repeats it as the
    // program's own name, quoted (a Windows path cannot hold a quote).
    std::wstring commandLine = L"\"" + path + L"\"";
    if (CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return {true, {}};
    }
    const DWORD error = GetLastError();
    if (error != ElevationRequired)
        return {false, systemMessage(error)};

    // Most installers ask for administrator rights, which only the shell can
    // obtain (it shows the consent prompt). The file is still started as
    // itself, without arguments and without a command interpreter.
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC;
    info.lpVerb = L"open";
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info))
        return {true, {}};
    return {false, systemMessage(GetLastError())};
}

}  // namespace vidorun::win32
