// Ctrl+C and the console on Windows.
#include "platform/console_session.h"

#include "platform/win32_api.h"

#include <atomic>
#include <cstdio>
#include <io.h>

namespace vidorun {
namespace {

std::atomic<bool> interruptedByConsole{false};
std::atomic<int> deferring{0};

// Runs on a thread of its own that the console starts. The first Ctrl+C or
// Ctrl+Break is noted and handled; a second one is left to the system's
// handler, which ends the program.
BOOL WINAPI noteInterruption(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    // While work that must not be cut in two runs, every one is noted only.
    const bool again = interruptedByConsole.exchange(true);
    return again && deferring == 0 ? FALSE : TRUE;
}

}  // namespace

InterruptionWatch::InterruptionWatch()
{
    interruptedByConsole = false;
    ::SetConsoleCtrlHandler(noteInterruption, TRUE);
}

InterruptionWatch::~InterruptionWatch()
{
    ::SetConsoleCtrlHandler(noteInterruption, FALSE);
}

DeferredInterruptions::DeferredInterruptions()
{
    ++deferring;
}

DeferredInterruptions::~DeferredInterruptions()
{
    --deferring;
}

bool InterruptionWatch::interrupted()
{
    return interruptedByConsole;
}

namespace {

// The stream's own handle: answerOnParentConsole() may have reopened it on
// the console without changing the process's standard handle.
HANDLE standardOutput()
{
    return reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(stdout)));
}

}  // namespace

bool standardOutputIsTerminal()
{
    // The NUL device is a character device too, but has no console mode.
    const HANDLE handle = standardOutput();
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode);
}

int terminalColumns()
{
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!::GetConsoleScreenBufferInfo(standardOutput(), &info))
        return 0;
    return info.srWindow.Right - info.srWindow.Left + 1;
}

}  // namespace vidorun
