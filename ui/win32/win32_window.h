#pragma once

// A window of the program as a native top-level window: the main window
// (caption, minimise and close boxes, menu bar, taskbar entry, the program's
// icon) or a child window (a dialog-like frame with a close box, owned by
// the front end's hidden window so that it has no taskbar button of its own
// and no tie to the main window). The client area is the description's size
// exactly, and the window starts centred on the screen, hidden.
#include "platform/win32_api.h"
#include "ui/win32/win32_controls.h"
#include "ui/window_view.h"

#include <string>

namespace vidorun::ui::win32 {

// Hands one message to the windows: a key first to its window's
// translateKey, then as usual. Every message loop of the front end uses it.
void dispatchMessage(MSG &message);

class Win32Window final : public WindowView {
public:
    // Registers the window class (once, before the first window).
    static void registerClass(HINSTANCE instance);
    // The view of a top-level window this front end made, or nullptr.
    static Win32Window *fromHandle(HWND hwnd);

    Win32Window(const Window &description, WindowEvents &events, HWND childOwner);
    ~Win32Window() override;
    Win32Window(const Win32Window &) = delete;
    Win32Window &operator=(const Win32Window &) = delete;

    HWND handle() const { return hwnd_; }
    HWND controlHandle(std::string_view control) const;
    // A keyboard message on its way to this window or its controls: the
    // menu shortcuts, Enter and Esc as the description says, then Tab and
    // the access keys (IsDialogMessageW). True when it was handled.
    bool translateKey(MSG &message);

    void setCaption(std::string_view text) override;
    std::string caption() const override;
    void setText(std::string_view control, std::string_view text) override;
    std::string text(std::string_view control) const override;
    void setEnabled(std::string_view control, bool enabled) override;
    bool isEnabled(std::string_view control) const override;
    void setVisible(std::string_view control, bool visible) override;
    bool isVisible(std::string_view control) const override;
    void clearItems(std::string_view control) override;
    void addItem(std::string_view control, std::string_view text) override;
    int itemCount(std::string_view control) const override;
    std::string itemText(std::string_view control, int index) const override;
    int currentIndex(std::string_view control) const override;
    void setCurrentIndex(std::string_view control, int index) override;
    void setPicture(std::string_view control, std::shared_ptr<const Picture> picture) override;
    void setFocus(std::string_view control) override;
    std::string focused() const override;
    void setWindowEnabled(bool enabled) override;
    bool isWindowEnabled() const override;
    void show() override;
    void activate() override;
    void close() override;

private:
    // Posted by close(): the window is destroyed once the event that closed
    // it is over, never under the handler that is running.
    static constexpr UINT DestroyLater = WM_APP + 1;

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void create(HWND childOwner);
    void command(WPARAM wParam, LPARAM lParam);
    void pressKey(WPARAM key);
    void restoreFocus();
    // The list control named `control` and whether it is a drop-down list.
    HWND list(std::string_view control, bool &dropDown) const;

    const Window &description_;
    WindowEvents &events_;
    HWND hwnd_ = nullptr;
    HACCEL accelerators_ = nullptr;
    WindowControls controls_;
    HWND lastFocus_ = nullptr;
    bool closing_ = false;
};

}  // namespace vidorun::ui::win32
