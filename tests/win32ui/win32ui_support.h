#pragma once

// What the Windows front end's tests share: a front end, windows realised
// with a log of their events, real key presses through the message loop,
// and the pixels of a window as it is on the screen.
#include "support/win32_input.h"
#include "ui/descriptions.h"
#include "ui/win32/win32_front_end.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vidorun::ui::win32::test {

Win32FrontEnd &frontEnd();

// Everything a window tells its handlers.
class EventLog final : public WindowEvents {
public:
    std::vector<std::string> commands;
    int activations = 0;
    int closeQuestions = 0;
    int closings = 0;
    bool allowClose = true;

    void command(std::string_view name) override { commands.emplace_back(name); }
    void activated() override { ++activations; }
    bool mayClose() override
    {
        ++closeQuestions;
        return allowClose;
    }
    void closed() override { ++closings; }
};

// A window realised for a test; gone, with its events, at the end of it.
struct Realised {
    explicit Realised(const Window &description);
    ~Realised();
    EventLog events;
    std::unique_ptr<WindowView> view;
    HWND hwnd() const { return windowHandle(*view); }
    HWND control(std::string_view name) const { return controlHandle(*view, name); }
};

// Handles what is waiting, and what arrives within a short while.
void settle();
// Presses a key as the user does (SendInput), with Ctrl or Shift held, and
// settles; sendKey() leaves it for whichever message loop runs next.
using vidorun::testing::Ctrl;
using vidorun::testing::NoModifier;
using vidorun::testing::sendKey;
using vidorun::testing::Shift;
void press(WORD key, int modifiers = NoModifier);
void type(std::wstring_view text);

// The pixels of a rectangle of the screen, as 0x00RRGGBB.
struct Pixels {
    int width = 0, height = 0;
    std::vector<std::uint32_t> rgb;
    std::uint32_t at(int x, int y) const { return rgb[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
};
Pixels capture(HWND window, bool wholeWindow);
bool writeBmp(const Pixels &pixels, const std::wstring &path);
// Whether two colours differ by at most `tolerance` in each channel.
bool closeTo(std::uint32_t colour, std::uint32_t expected, int tolerance);

}  // namespace vidorun::ui::win32::test
