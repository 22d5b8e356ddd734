// The test driver of the Windows front end: Windows messages and real key
// presses (SendInput) through the front end's own message loop, on a
// display of the test run's own.
#include "support/window_driver.h"

#include "ui/descriptions.h"
#include "ui/win32/win32_front_end.h"
#include "ui/win32/win32_pictures.h"
#include "ui/win32/win32_services.h"
#include "ui/win32/win32_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace vidorun::testing {

namespace {

using namespace ui::win32;

// The command id of a menu entry: 1000 and its place in the menu table.
constexpr UINT FirstMenuId = 1000;

INPUT keyInput(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// A key as the user presses it, with Ctrl, Shift or Alt held.
void sendKey(WORD key, WORD modifier = 0)
{
    std::vector<INPUT> inputs;
    if (modifier)
        inputs.push_back(keyInput(modifier, false));
    inputs.push_back(keyInput(key, false));
    inputs.push_back(keyInput(key, true));
    if (modifier)
        inputs.push_back(keyInput(modifier, true));
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Whether a user's mouse could reach the control: it and its window shown
// and enabled.
bool reachable(HWND window, HWND control)
{
    return window && control && IsWindowVisible(window) && IsWindowEnabled(window) && IsWindowVisible(control)
           && IsWindowEnabled(control);
}

class Win32WindowDriver final : public WindowDriver {
public:
    Win32WindowDriver() : m_pictures(m_frontEnd) {}

    ui::FrontEnd &frontEnd() override { return m_frontEnd; }
    PictureLoader &pictureLoader() override { return m_pictures; }

    void click(ui::WindowView &window, std::string_view button) override
    {
        HWND control = controlHandle(window, button);
        ASSERT_NE(control, nullptr) << button;
        if (reachable(windowHandle(window), control))
            SendMessageW(control, BM_CLICK, 0, 0);
        settle();
    }

    void choose(ui::WindowView &window, std::string_view item) override
    {
        HWND hwnd = windowHandle(window);
        ASSERT_NE(hwnd, nullptr);
        std::size_t index = 0;
        for (; index < ui::MainWindow.menu.size() && ui::MainWindow.menu[index].name != item; ++index) {
        }
        ASSERT_LT(index, ui::MainWindow.menu.size()) << item;
        // A disabled window's menu bar opens no menu.
        if (IsWindowEnabled(hwnd))
            PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(FirstMenuId + index, 0), 0);
        settle();
    }

    void press(ui::WindowView &window, Key key) override
    {
        HWND hwnd = windowHandle(window);
        ASSERT_NE(hwnd, nullptr);
        SetForegroundWindow(hwnd);
        settle();
        switch (key) {
        case Key::Enter:
            sendKey(VK_RETURN);
            break;
        case Key::Escape:
            sendKey(VK_ESCAPE);
            break;
        case Key::Tab:
            sendKey(VK_TAB);
            break;
        case Key::ShiftTab:
            sendKey(VK_TAB, VK_SHIFT);
            break;
        case Key::CtrlO:
            sendKey('O', VK_CONTROL);
            break;
        case Key::CtrlS:
            sendKey('S', VK_CONTROL);
            break;
        case Key::CtrlX:
            sendKey('X', VK_CONTROL);
            break;
        case Key::AltF4:
            PostMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        }
        settle();
    }

    void type(ui::WindowView &window, std::string_view textBox, std::string_view text) override
    {
        HWND box = controlHandle(window, textBox);
        ASSERT_NE(box, nullptr) << textBox;
        SetFocus(box);
        for (const wchar_t c : toWide(text))
            SendMessageW(box, WM_CHAR, c, 0);
        settle();
    }

    void select(ui::WindowView &window, std::string_view list, int index) override
    {
        HWND control = controlHandle(window, list);
        ASSERT_NE(control, nullptr) << list;
        wchar_t className[32] = {};
        GetClassNameW(control, className, 32);
        const bool combo = std::wstring_view(className) == L"ComboBox";
        SendMessageW(control, combo ? CB_SETCURSEL : LB_SETCURSEL, WPARAM(index), 0);
        SendMessageW(GetParent(control), WM_COMMAND,
                     MAKEWPARAM(GetDlgCtrlID(control), combo ? CBN_SELCHANGE : LBN_SELCHANGE), LPARAM(control));
        settle();
    }

    void closeBox(ui::WindowView &window) override
    {
        if (HWND hwnd = windowHandle(window))
            PostMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        settle();
    }

    void activate(ui::WindowView &window) override
    {
        HWND hwnd = windowHandle(window);
        ASSERT_NE(hwnd, nullptr);
        SetForegroundWindow(hwnd);
        SetActiveWindow(hwnd);
        settle();
    }

    bool isShown(const ui::WindowView &window) override
    {
        HWND hwnd = windowHandle(window);
        return hwnd && IsWindowVisible(hwnd);
    }

    bool isActive(const ui::WindowView &window) override
    {
        HWND hwnd = windowHandle(window);
        return hwnd && GetActiveWindow() == hwnd;
    }

    bool showsPicture(const ui::WindowView &window, std::string_view frame) override
    {
        HWND control = controlHandle(window, frame);
        return control && ui::win32::showsPicture(control);
    }

    void settle() override
    {
        for (int round = 0; round < 4; ++round) {
            pumpMessages();
            Sleep(5);
        }
        pumpMessages();
    }

    bool waitFor(const std::function<bool()> &condition) override
    {
        for (int waited = 0; waited < 5000; waited += 10) {
            if (condition())
                return true;
            pumpMessages();
            Sleep(10);
        }
        return condition();
    }

private:
    Win32FrontEnd m_frontEnd;
    Win32PictureLoader m_pictures;
};

}  // namespace

std::unique_ptr<WindowDriver> makeWindowDriver()
{
    return std::make_unique<Win32WindowDriver>();
}

}  // namespace vidorun::testing
