// The yardstick for Vidorun.exe's start-up: a bare Win32 program built the
// same way (static, the same compiler and flags), that shows a window of the
// main window's client size below a one-item menu bar, and nothing else; the
// first-frame probe reports as in the program.
#include "platform/win32_api.h"
#include "ui/win32/startup_probe.h"
#include "ui/window_view.h"

#include <cstdlib>
#include <deque>
#include <functional>
#include <memory>

namespace {

constexpr UINT RunPosted = WM_APP + 1;
HWND window = nullptr;
std::deque<std::function<void()>> posted;

class PostingFrontEnd final : public vidorun::ui::FrontEnd {
public:
    std::unique_ptr<vidorun::ui::WindowView> realise(const vidorun::ui::Window &, vidorun::ui::WindowEvents &) override
    {
        return nullptr;
    }
    void post(std::function<void()> work) override
    {
        posted.push_back(std::move(work));
        PostMessageW(window, RunPosted, 0, 0);
    }
};

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case RunPosted:
        while (!posted.empty()) {
            const std::function<void()> work = std::move(posted.front());
            posted.pop_front();
            work();
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int main(int argc, char *argv[])
{
    const int width = argc > 2 ? std::atoi(argv[1]) : 586;
    const int height = argc > 2 ? std::atoi(argv[2]) : 346;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"FloorWindow";
    RegisterClassW(&windowClass);
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, 1, L"E&xit");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, style, TRUE, 0);
    window = CreateWindowExW(0, L"FloorWindow", L"Floor", style, CW_USEDEFAULT, CW_USEDEFAULT,
                             frame.right - frame.left, frame.bottom - frame.top, nullptr, bar,
                             GetModuleHandleW(nullptr), nullptr);
    PostingFrontEnd frontEnd;
    vidorun::ui::win32::watchFirstFrame(window, frontEnd);
    ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
