// What the handlers ask of a Win32Window, one system call or message each.
// A view whose window is gone answers as an empty one.
#include "ui/win32/win32_pictures.h"
#include "ui/win32/win32_text.h"
#include "ui/win32/win32_window.h"

namespace vidorun::ui::win32 {

void Win32Window::setCaption(std::string_view text)
{
    if (hwnd_)
        setWindowText(hwnd_, text);
}

std::string Win32Window::caption() const
{
    return windowText(hwnd_);
}

void Win32Window::setText(std::string_view control, std::string_view text)
{
    if (HWND hwnd = controlHandle(control)) {
        setWindowText(hwnd, text);
        if (const ControlHandle *handle = controls_.find(hwnd); handle && handle->control->growsWithText)
            WindowControls::fitToText(hwnd, *handle->control, systemDpi());
        InvalidateRect(hwnd, nullptr, TRUE);  // the labels the window draws itself
    }
}

std::string Win32Window::text(std::string_view control) const
{
    return windowText(controlHandle(control));
}

void Win32Window::setEnabled(std::string_view control, bool enabled)
{
    if (HWND hwnd = controlHandle(control))
        EnableWindow(hwnd, enabled);
}

bool Win32Window::isEnabled(std::string_view control) const
{
    HWND hwnd = controlHandle(control);
    return hwnd && IsWindowEnabled(hwnd);
}

void Win32Window::setVisible(std::string_view control, bool visible)
{
    if (HWND hwnd = controlHandle(control))
        ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
}

bool Win32Window::isVisible(std::string_view control) const
{
    // The control's own setting, also while its window is hidden.
    HWND hwnd = controlHandle(control);
    return hwnd && (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE);
}

void Win32Window::clearItems(std::string_view control)
{
    bool dropDown = false;
    if (HWND hwnd = list(control, dropDown))
        SendMessageW(hwnd, dropDown ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
}

void Win32Window::addItem(std::string_view control, std::string_view text)
{
    bool dropDown = false;
    if (HWND hwnd = list(control, dropDown)) {
        const std::wstring item = toWide(text);
        SendMessageW(hwnd, dropDown ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
}

int Win32Window::itemCount(std::string_view control) const
{
    bool dropDown = false;
    HWND hwnd = list(control, dropDown);
    const LRESULT count = hwnd ? SendMessageW(hwnd, dropDown ? CB_GETCOUNT : LB_GETCOUNT, 0, 0) : 0;
    return count > 0 ? int(count) : 0;
}

std::string Win32Window::itemText(std::string_view control, int index) const
{
    bool dropDown = false;
    HWND hwnd = list(control, dropDown);
    if (!hwnd || index < 0)
        return {};
    const LRESULT length = SendMessageW(hwnd, dropDown ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, WPARAM(index), 0);
    if (length < 0)
        return {};
    std::wstring text(std::size_t(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(hwnd, dropDown ? CB_GETLBTEXT : LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied > 0 ? std::size_t(copied) : 0);
    return toUtf8(text);
}

int Win32Window::currentIndex(std::string_view control) const
{
    bool dropDown = false;
    HWND hwnd = list(control, dropDown);
    const LRESULT index = hwnd ? SendMessageW(hwnd, dropDown ? CB_GETCURSEL : LB_GETCURSEL, 0, 0) : -1;
    return index >= 0 ? int(index) : -1;
}

void Win32Window::setCurrentIndex(std::string_view control, int index)
{
    bool dropDown = false;
    if (HWND hwnd = list(control, dropDown))
        SendMessageW(hwnd, dropDown ? CB_SETCURSEL : LB_SETCURSEL, WPARAM(index), 0);
}

void Win32Window::setPicture(std::string_view control, std::shared_ptr<const Picture> picture)
{
    const ControlHandle *handle = controls_.find(control);
    if (handle && handle->control->kind == ControlKind::Picture)
        showPicture(handle->hwnd, std::move(picture));
}

void Win32Window::setFocus(std::string_view control)
{
    HWND hwnd = controlHandle(control);
    if (!hwnd)
        return;
    // Also where a hidden or inactive window's focus goes once it is active;
    // an inactive window is not brought forward by it.
    lastFocus_ = hwnd;
    if (IsWindowVisible(hwnd_) && GetActiveWindow() == hwnd_)
        SetFocus(hwnd);
}

std::string Win32Window::focused() const
{
    for (HWND focus = GetFocus(); focus && focus != hwnd_; focus = GetParent(focus)) {
        if (const ControlHandle *handle = controls_.find(focus))
            return std::string(handle->control->name);
    }
    return {};
}

void Win32Window::setWindowEnabled(bool enabled)
{
    if (!hwnd_)
        return;
    // Disabling takes the focus away; it comes back when activated again.
    HWND focus = GetFocus();
    if (!enabled && focus && IsChild(hwnd_, focus))
        lastFocus_ = focus;
    EnableWindow(hwnd_, enabled);
}

bool Win32Window::isWindowEnabled() const
{
    return hwnd_ && IsWindowEnabled(hwnd_);
}

void Win32Window::show()
{
    if (!hwnd_)
        return;
    ShowWindow(hwnd_, SW_SHOW);  // activates it: WM_ACTIVATE gives the first focus
    SetForegroundWindow(hwnd_);
    if (GetActiveWindow() == hwnd_)
        restoreFocus();
}

void Win32Window::activate()
{
    if (!hwnd_)
        return;
    if (IsIconic(hwnd_))
        ShowWindow(hwnd_, SW_RESTORE);
    SetForegroundWindow(hwnd_);
    SetActiveWindow(hwnd_);
    restoreFocus();
}

void Win32Window::close()
{
    if (!hwnd_ || closing_)
        return;
    closing_ = true;
    ShowWindow(hwnd_, SW_HIDE);
    PostMessageW(hwnd_, DestroyLater, 0, 0);
    if (description_.main)
        PostQuitMessage(0);  // the message loop ends once the messages before it are handled
    events_.closed();  // last: the handlers may let the view go from here on
}

}  // namespace vidorun::ui::win32
