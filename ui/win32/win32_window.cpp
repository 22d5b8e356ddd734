#include "ui/win32/win32_window.h"

#include "ui/win32/win32_menu.h"
#include "ui/win32/win32_pictures.h"
#include "ui/win32/win32_resources.h"
#include "ui/win32/win32_text.h"

#include <cwchar>

namespace vidorun::ui::win32 {

namespace {

constexpr wchar_t WindowClass[] = L"VidorunWindow";
void centreOnScreen(HWND hwnd)
{
    RECT area{}, window{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(hwnd, &window);
    const int x = area.left + ((area.right - area.left) - (window.right - window.left)) / 2;
    const int y = area.top + ((area.bottom - area.top) - (window.bottom - window.top)) / 2;
    SetWindowPos(hwnd, nullptr, x > area.left ? x : area.left, y > area.top ? y : area.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool shown(HWND hwnd)
{
    return GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE;
}

}  // namespace

void Win32Window::registerClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(VIDORUN_ICON), IMAGE_ICON,
                                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    windowClass.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(VIDORUN_ICON), IMAGE_ICON,
                                                        GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = WindowClass;
    RegisterClassExW(&windowClass);
}

Win32Window *Win32Window::fromHandle(HWND hwnd)
{
    wchar_t name[32] = {};
    if (!hwnd || !GetClassNameW(hwnd, name, 32) || std::wcscmp(name, WindowClass) != 0)
        return nullptr;
    return reinterpret_cast<Win32Window *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

Win32Window::Win32Window(const Window &description, WindowEvents &events, HWND childOwner)
    : description_(description), events_(events)
{
    create(childOwner);
}

Win32Window::~Win32Window()
{
    if (hwnd_)
        DestroyWindow(hwnd_);
}

void Win32Window::create(HWND childOwner)
{
    const int dpi = systemDpi();
    const bool main = description_.main;
    // The main window: a fixed single-line frame, no maximise box. A child
    // window: a dialog's frame with only a close box.
    const DWORD style = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | (main ? WS_OVERLAPPED | WS_MINIMIZEBOX : WS_POPUP);
    const DWORD exStyle = main ? WS_EX_APPWINDOW : WS_EX_DLGMODALFRAME;
    HMENU menu = main ? createMenuBar(description_.menu, FirstMenuId) : nullptr;
    const int width = scaled(description_.clientWidth, dpi);
    const int height = scaled(description_.clientHeight, dpi);
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, style, menu != nullptr, exStyle);
    CreateWindowExW(exStyle, WindowClass, toWide(description_.caption).c_str(), style, 0, 0,
                    frame.right - frame.left, frame.bottom - frame.top, main ? nullptr : childOwner, menu,
                    GetModuleHandleW(nullptr), this);
    if (!hwnd_) {
        if (menu)
            DestroyMenu(menu);
        return;
    }
    // A menu bar too narrow for its menus wraps onto a second row, which
    // AdjustWindowRectEx does not foresee: the window grows by what the
    // client area lacks.
    for (int attempt = 0; attempt < 2; ++attempt) {
        RECT client{}, window{};
        GetClientRect(hwnd_, &client);
        if (client.right == width && client.bottom == height)
            break;
        GetWindowRect(hwnd_, &window);
        SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left + width - client.right,
                     window.bottom - window.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    centreOnScreen(hwnd_);
    if (main)
        accelerators_ = createAccelerators(description_.menu, FirstMenuId);
    controls_.create(hwnd_, description_, dpi);
}

LRESULT CALLBACK Win32Window::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto *window = static_cast<Win32Window *>(reinterpret_cast<CREATESTRUCTW *>(lParam)->lpCreateParams);
        window->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    }
    if (auto *window = reinterpret_cast<Win32Window *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
        return window->handleMessage(message, wParam, lParam);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Win32Window::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND hwnd = hwnd_;
    switch (message) {
    case WM_COMMAND:
        command(wParam, lParam);
        return 0;
    case WM_CTLCOLORSTATIC:
        if (HBRUSH brush = controls_.staticColours(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)))
            return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_DRAWITEM:
        if (controls_.drawLabel(*reinterpret_cast<const DRAWITEMSTRUCT *>(lParam)))
            return TRUE;
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd, focus))
                lastFocus_ = focus;
        } else {
            if (!HIWORD(wParam))  // not while minimised
                restoreFocus();
            events_.activated();
        }
        return 0;
    case WM_SETFOCUS:
        restoreFocus();
        return 0;
    case WM_CLOSE:
        // The close box, Alt+F4, the taskbar's Close: the handlers decide.
        if (!closing_ && events_.mayClose())
            close();
        return 0;
    case DestroyLater:
        DestroyWindow(hwnd);
        return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        lastFocus_ = nullptr;
        controls_.release();
        if (accelerators_)
            DestroyAcceleratorTable(accelerators_);
        accelerators_ = nullptr;
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void Win32Window::command(WPARAM wParam, LPARAM lParam)
{
    if (lParam) {  // from a control
        const ControlHandle *button = controls_.find(reinterpret_cast<HWND>(lParam));
        if (HIWORD(wParam) == BN_CLICKED && button && button->control->kind == ControlKind::Button)
            events_.command(button->control->name);
        return;
    }
    // A menu item, chosen or by its shortcut.
    const int entry = int(LOWORD(wParam)) - FirstMenuId;
    if (entry >= 0 && std::size_t(entry) < description_.menu.size()
        && description_.menu[std::size_t(entry)].entry == MenuEntry::Item)
        events_.command(description_.menu[std::size_t(entry)].name);
}

bool Win32Window::translateKey(MSG &message)
{
    if (!hwnd_)
        return false;
    if (accelerators_ && IsWindowEnabled(hwnd_) && TranslateAcceleratorW(hwnd_, accelerators_, &message))
        return true;
    if ((message.message == WM_KEYDOWN || message.message == WM_CHAR)
        && (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE)) {
        // An open drop-down list takes them itself, to close.
        HWND focus = GetFocus();
        const ControlHandle *control = controls_.find(focus);
        if (control && control->control->kind == ControlKind::DropDownList
            && SendMessageW(focus, CB_GETDROPPEDSTATE, 0, 0))
            return false;
        if (message.message == WM_KEYDOWN && IsWindowEnabled(hwnd_))
            pressKey(message.wParam);
        return true;
    }
    if (!IsDialogMessageW(hwnd_, &message))
        return false;
    // Moving the focus onto a push button makes the dialog manager show it
    // as the default button. Where Enter presses the default button
    // wherever the focus is, that one alone keeps the look.
    if (hwnd_ && description_.enter == EnterKey::PressesDefault) {
        for (const ControlHandle &button : controls_.all()) {
            if (button.control->kind != ControlKind::Button)
                continue;
            const DWORD wanted = button.control->name == description_.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
            if ((GetWindowLongPtrW(button.hwnd, GWL_STYLE) & BS_TYPEMASK) != wanted)
                SendMessageW(button.hwnd, BM_SETSTYLE, wanted, TRUE);
        }
    }
    return true;
}

void Win32Window::pressKey(WPARAM key)
{
    std::string_view name;
    if (key == VK_ESCAPE) {
        name = description_.cancelButton;
    } else if (description_.enter == EnterKey::PressesDefault) {
        name = description_.defaultButton;
    } else if (description_.enter == EnterKey::PressesFocusedButton) {
        const ControlHandle *focused = controls_.find(GetFocus());
        if (focused && focused->control->kind == ControlKind::Button)
            name = focused->control->name;
    }
    const ControlHandle *button = name.empty() ? nullptr : controls_.find(name);
    if (!button || !IsWindowEnabled(button->hwnd) || !shown(button->hwnd))
        return;
    events_.command(button->control->name);
}

void Win32Window::restoreFocus()
{
    if (!hwnd_)
        return;
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus))
        return;
    const auto usable = [this](HWND control) {
        return control && IsChild(hwnd_, control) && IsWindowEnabled(control) && shown(control);
    };
    HWND target = lastFocus_;
    if (!usable(target)) {
        const ControlHandle *first = controls_.find(description_.firstFocus);
        target = first ? first->hwnd : nullptr;
    }
    if (!usable(target))
        target = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    if (usable(target))
        SetFocus(target);
}

HWND Win32Window::controlHandle(std::string_view control) const
{
    const ControlHandle *handle = controls_.find(control);
    return handle ? handle->hwnd : nullptr;
}

HWND Win32Window::list(std::string_view control, bool &dropDown) const
{
    const ControlHandle *handle = controls_.find(control);
    if (!handle || (handle->control->kind != ControlKind::DropDownList && handle->control->kind != ControlKind::ListBox))
        return nullptr;
    dropDown = handle->control->kind == ControlKind::DropDownList;
    return handle->hwnd;
}

}  // namespace vidorun::ui::win32
