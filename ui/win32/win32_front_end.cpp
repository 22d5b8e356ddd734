#include "ui/win32/win32_front_end.h"

#include "ui/win32/win32_pictures.h"
#include "ui/win32/win32_window.h"

#include <commctrl.h>
#include <objbase.h>

namespace vidorun::ui::win32 {

namespace {

constexpr wchar_t HelperClass[] = L"VidorunHelper";
constexpr UINT RunPosted = WM_APP + 2;

}  // namespace

void dispatchMessage(MSG &message)
{
    if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST && message.hwnd) {
        if (Win32Window *window = Win32Window::fromHandle(GetAncestor(message.hwnd, GA_ROOT))) {
            if (window->translateKey(message))
                return;
        }
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

int runMessageLoop()
{
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        dispatchMessage(message);
    return int(message.wParam);
}

bool pumpMessages()
{
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Left for the loop that runs the program, which ends with it.
            PostQuitMessage(int(message.wParam));
            return false;
        }
        dispatchMessage(message);
    }
    return true;
}

Win32FrontEnd::Win32FrontEnd()
{
    // Apartment-threaded COM, which the system's dialogs and picture loader want.
    comStarted_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
    // The themed controls of Common Controls 6, which the manifest asks for.
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    static const bool registered = [instance] {
        Win32Window::registerClass(instance);
        registerPictureFrameClass(instance);
        WNDCLASSEXW helperClass{};
        helperClass.cbSize = sizeof helperClass;
        helperClass.lpfnWndProc = helperProc;
        helperClass.hInstance = instance;
        helperClass.lpszClassName = HelperClass;
        return RegisterClassExW(&helperClass) != 0;
    }();
    (void)registered;
    // Never shown: it owns the child windows (which so get no taskbar button
    // of their own) and runs post()'s work.
    helper_ = CreateWindowExW(0, HelperClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, this);
}

Win32FrontEnd::~Win32FrontEnd()
{
    if (helper_)
        DestroyWindow(helper_);
    if (comStarted_)
        CoUninitialize();
}

std::unique_ptr<WindowView> Win32FrontEnd::realise(const Window &description, WindowEvents &events)
{
    return std::make_unique<Win32Window>(description, events, helper_);
}

void Win32FrontEnd::post(std::function<void()> work)
{
    AcquireSRWLockExclusive(&lock_);
    posted_.push_back(std::move(work));
    ReleaseSRWLockExclusive(&lock_);
    PostMessageW(helper_, RunPosted, 0, 0);
}

void Win32FrontEnd::runPosted()
{
    // One at a time and in order, also when a piece of work runs a modal
    // loop (an input box) that handles the next RunPosted message.
    for (;;) {
        AcquireSRWLockExclusive(&lock_);
        if (posted_.empty()) {
            ReleaseSRWLockExclusive(&lock_);
            return;
        }
        std::function<void()> work = std::move(posted_.front());
        posted_.erase(posted_.begin());
        ReleaseSRWLockExclusive(&lock_);
        work();
    }
}

LRESULT CALLBACK Win32FrontEnd::helperProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams));
    } else if (message == RunPosted) {
        if (auto *frontEnd = reinterpret_cast<Win32FrontEnd *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
            frontEnd->runPosted();
        return 0;
    } else if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HWND windowHandle(const WindowView &view)
{
    const auto *window = dynamic_cast<const Win32Window *>(&view);
    return window ? window->handle() : nullptr;
}

HWND controlHandle(const WindowView &view, std::string_view control)
{
    const auto *window = dynamic_cast<const Win32Window *>(&view);
    return window ? window->controlHandle(control) : nullptr;
}

}  // namespace vidorun::ui::win32
