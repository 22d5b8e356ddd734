// The test driver of the Windows front end: Windows messages and real key
// presses (SendInput) through the front end's own message loop, on a
// display of the test run's own.
#include "support/window_driver.h"

#include "support/win32_input.h"
#include "ui/descriptions.h"
#include "ui/win32/win32_front_end.h"
#include "ui/win32/win32_pictures.h"
#include "ui/win32/win32_services.h"
#include "ui/win32/win32_text.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace vidorun::testing {

namespace {

using namespace ui::win32;

// The command id of a menu entry: 1000 and its place in the menu table.
constexpr UINT FirstMenuId = 1000;

// Whether a user's mouse could reach the control: it and its window shown
// and enabled.
bool reachable(HWND window, HWND control)
{
    return window && control && IsWindowVisible(window) && IsWindowEnabled(window) && IsWindowVisible(control)
           && IsWindowEnabled(control);
}

// The caption as drawn: "&&" shows one ampersand, a single "&" only marks
// the access key.
std::wstring withoutAccessKey(const std::wstring &caption)
{
    std::wstring shown;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&' && i + 1 < caption.size())
            ++i;
        shown += caption[i];
    }
    return shown;
}

// What a control's caption needs with its own font, laid out as the control
// lays it out: one line for a button, wrapped lines for a label.
SIZE neededFor(HWND control, const std::wstring &text, int width, bool wraps, bool prefix)
{
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT needed{0, 0, width, 0};
    DrawTextW(dc, text.c_str(), int(text.size()), &needed,
              DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE) | (prefix ? 0 : DT_NOPREFIX));
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return {needed.right - needed.left, needed.bottom - needed.top};
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
            sendKey(VK_TAB, Shift);
            break;
        case Key::Down:
            sendKey(VK_DOWN);
            break;
        case Key::CtrlO:
            sendKey('O', Ctrl);
            break;
        case Key::CtrlS:
            sendKey('S', Ctrl);
            break;
        case Key::CtrlX:
            sendKey('X', Ctrl);
            break;
        case Key::AltC:
            sendKey('C', Alt);
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

    bool isChecked(const ui::WindowView &window, std::string_view menuItem) override
    {
        HWND hwnd = windowHandle(window);
        std::size_t index = 0;
        for (; index < ui::MainWindow.menu.size() && ui::MainWindow.menu[index].name != menuItem; ++index) {
        }
        if (!hwnd || !GetMenu(hwnd) || index == ui::MainWindow.menu.size())
            return false;
        const UINT state = GetMenuState(GetMenu(hwnd), UINT(FirstMenuId + index), MF_BYCOMMAND);
        return state != UINT(-1) && (state & MF_CHECKED);
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

    PictureSize shownPictureSize(const ui::WindowView &window, std::string_view frame) override
    {
        HWND control = controlHandle(window, frame);
        const auto *picture = control ? dynamic_cast<const Win32Picture *>(shownPicture(control).get()) : nullptr;
        return picture ? PictureSize{picture->width(), picture->height()} : PictureSize{};
    }

    std::vector<std::string> clippedCaptions(const ui::WindowView &window) override
    {
        std::vector<std::string> clipped;
        std::set<HWND> seen;
        for (const ui::Window *description : ui::allWindows()) {
            for (const ui::Control &c : description->controls) {
                if (c.kind != ui::ControlKind::Button && c.kind != ui::ControlKind::Label)
                    continue;
                HWND control = controlHandle(window, c.name);
                if (!control || !seen.insert(control).second)
                    continue;
                const std::wstring text = toWide(windowText(control));
                if (text.empty())
                    continue;
                RECT client{};
                GetClientRect(control, &client);
                const bool button = c.kind == ui::ControlKind::Button;
                // A push button draws its caption inside its frame and focus
                // rectangle, 3 pixels in from each side.
                const int edge = button ? 3 : 0;
                const int room = client.right - 2 * edge;
                const bool prefix = button || !c.labels.empty();
                const SIZE needed = neededFor(control, button ? withoutAccessKey(text) : text, room, c.wordWrap, prefix);
                const std::string name = std::string(c.name) + " \"" + toUtf8(text) + "\"";
                if (needed.cx > room)
                    clipped.push_back(name + " (too wide)");
                if (needed.cy > client.bottom)
                    clipped.push_back(name + " (too high)");
            }
        }
        return clipped;
    }

    void startAnew() override
    {
        MSG ended{};
        while (PeekMessageW(&ended, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    void settle() override { settleMessages(4, 5); }

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

    bool programEndsAfter(const std::function<void()> &action) override
    {
        // The program's main runs runMessageLoop(), which ends with the main
        // window closed. A request to end left by an earlier window is no answer.
        startAnew();
        m_frontEnd.post(action);
        const UINT_PTR giveUp = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(1); });
        const int exitCode = runMessageLoop();
        KillTimer(nullptr, giveUp);
        return exitCode == 0;
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
