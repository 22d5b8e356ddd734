#include "ui/win32/startup_probe.h"

#include "platform/peak_memory.h"
#include "ui/window_view.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace vidorun::ui::win32 {

namespace {

// Taken while the program's statics are set up, before main().
const auto loadedAt = std::chrono::steady_clock::now();

double msSinceLoaded()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - loadedAt).count();
}

struct Probe {
    HWND window = nullptr;
    FrontEnd *frontEnd = nullptr;
    std::function<bool()> settled;
    HHOOK hook = nullptr;
    bool reportPending = false;
    bool firstReported = false;
    bool goOn = false;
};

Probe probe;

void report()
{
    probe.reportPending = false;
    // More paints to come: the frame is not on the screen yet, and the next
    // paint looks again.
    if (HIWORD(GetQueueStatus(QS_PAINT)) & QS_PAINT)
        return;
    if (!probe.firstReported) {
        probe.firstReported = true;
        RECT client{};
        GetClientRect(probe.window, &client);
        std::printf("first-frame ms=%.2f peak_kb=%ld width=%ld height=%ld\n", msSinceLoaded(), peakResidentKb(),
                    client.right, client.bottom);
        std::fflush(stdout);
    }
    if (probe.settled && !probe.settled())
        return;
    std::printf("settled-frame ms=%.2f peak_kb=%ld\n", msSinceLoaded(), peakResidentKb());
    std::fflush(stdout);
    // Tearing down is no part of start-up; the measurement is over, unless
    // the program is to go on being used.
    if (!probe.goOn)
        std::_Exit(0);
    UnhookWindowsHookEx(probe.hook);
    probe.hook = nullptr;
}

// Every control paints itself, when the message loop takes its WM_PAINT
// (the system sends none: no hook on sent messages sees them); the cover
// arrives in a paint of its own frame alone. A frame is on the screen once
// the loop has handled every paint waiting: each paint taken for the window
// or one of its controls posts a look, which runs right after that paint.
LRESULT CALLBACK onMessageTaken(int code, WPARAM removal, LPARAM lParam)
{
    const auto *message = reinterpret_cast<const MSG *>(lParam);
    if (code == HC_ACTION && removal == PM_REMOVE && message->message == WM_PAINT && !probe.reportPending
        && probe.hook && (message->hwnd == probe.window || IsChild(probe.window, message->hwnd))) {
        probe.reportPending = true;
        probe.frontEnd->post(report);
    }
    return CallNextHookEx(nullptr, code, removal, lParam);
}

}  // namespace

void watchFirstFrame(HWND window, FrontEnd &frontEnd, std::function<bool()> settled)
{
    char value[16] = {};
    const DWORD length = GetEnvironmentVariableA("VIDORUN_STARTUP_PROBE", value, sizeof value);
    if (length == 0 || length >= sizeof value)
        return;
    probe.window = window;
    probe.frontEnd = &frontEnd;
    probe.settled = std::move(settled);
    probe.goOn = std::string(value) == "report";
    probe.hook = SetWindowsHookExW(WH_GETMESSAGE, onMessageTaken, nullptr, GetCurrentThreadId());
}

}  // namespace vidorun::ui::win32
