#pragma once

// The program's windows as a user meets them, through the front end the
// tests are built with: Qt widgets on Linux, Windows' own controls in the
// suite built for Windows. What a user does (a click, a key, a choice in a
// menu or a list) reaches the window as the user's would, through the
// toolkit's own events or messages; what a user sees is read back from the
// controls through the window's view.
#include "platform/picture_loader.h"
#include "ui/window_view.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace vidorun::testing {

enum class Key { Enter, Escape, Tab, ShiftTab, Down, CtrlO, CtrlS, CtrlX, AltC, AltF4 };

// A picture's size in pixels; 0 × 0 for none.
struct PictureSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const PictureSize &, const PictureSize &) = default;
};

inline void PrintTo(const PictureSize &size, std::ostream *out)
{
    *out << size.width << " x " << size.height;
}


class WindowDriver {
public:
    virtual ~WindowDriver();
    WindowDriver(const WindowDriver &) = delete;
    WindowDriver &operator=(const WindowDriver &) = delete;

    // The driver of this build's front end, which the test program's main
    // makes (makeWindowDriver) once the toolkit is ready, and drops before it goes.
    static WindowDriver &instance();

    virtual ui::FrontEnd &frontEnd() = 0;
    // The front end's own picture loading.
    virtual PictureLoader &pictureLoader() = 0;

    // A mouse click on a button.
    virtual void click(ui::WindowView &window, std::string_view button) = 0;
    // A menu item chosen with the mouse.
    virtual void choose(ui::WindowView &window, std::string_view item) = 0;
    // A key pressed where the window's focus is.
    virtual void press(ui::WindowView &window, Key key) = 0;
    // Text typed into a text box (the box takes the focus first).
    virtual void type(ui::WindowView &window, std::string_view textBox, std::string_view text) = 0;
    // A line of a list or drop-down list chosen with the mouse.
    virtual void select(ui::WindowView &window, std::string_view list, int index) = 0;
    // The window's close box.
    virtual void closeBox(ui::WindowView &window) = 0;
    // The window made the active one, as a click on it would.
    virtual void activate(ui::WindowView &window) = 0;

    // Whether a menu item shows a check mark.
    virtual bool isChecked(const ui::WindowView &window, std::string_view menuItem) = 0;
    // Whether the window is on the screen, and the active window.
    virtual bool isShown(const ui::WindowView &window) = 0;
    virtual bool isActive(const ui::WindowView &window) = 0;
    // Whether a picture frame shows a picture, and the size of the picture
    // it shows.
    virtual bool showsPicture(const ui::WindowView &window, std::string_view frame) = 0;
    virtual PictureSize shownPictureSize(const ui::WindowView &window, std::string_view frame) = 0;
    // The button and label captions of the window that its controls cut
    // off with their own fonts, each as `name "caption"`; none when all fit.
    virtual std::vector<std::string> clippedCaptions(const ui::WindowView &window) = 0;

    // A new main window is about to start, as a program starts anew: an end
    // an earlier main window asked of the event loop is forgotten.
    virtual void startAnew() {}

    // Lets the windows handle what is waiting (posted work, paints).
    virtual void settle() = 0;
    // Handles what comes until `condition` holds, for up to five seconds;
    // answers whether it did.
    virtual bool waitFor(const std::function<bool()> &condition) = 0;
    // Runs the program's event loop as its main does, with `action` done
    // first; answers whether the loop ended by itself (the program ended)
    // within five seconds.
    virtual bool programEndsAfter(const std::function<void()> &action) = 0;

protected:
    WindowDriver();
};

std::unique_ptr<WindowDriver> makeWindowDriver();

}  // namespace vidorun::testing

// Waits for what the windows do after the event (posted work, a picture
// decoded in the background), then checks with GoogleTest.
#define EXPECT_EVENTUALLY_EQ(actual, expected)                                                                   \
    do {                                                                                                         \
        (void)::vidorun::testing::WindowDriver::instance().waitFor([&] { return bool((actual) == (expected)); });    \
        EXPECT_EQ(actual, expected);                                                                             \
    } while (false)

#define EXPECT_EVENTUALLY_TRUE(condition)                                                                        \
    do {                                                                                                         \
        (void)::vidorun::testing::WindowDriver::instance().waitFor([&] { return bool(condition); });                 \
        EXPECT_TRUE(condition);                                                                                  \
    } while (false)
