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
#include <string_view>

namespace vidorun::testing {

enum class Key { Enter, Escape, Tab, ShiftTab, CtrlO, CtrlS, CtrlX, AltF4 };

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

    // Whether the window is on the screen, and the active window.
    virtual bool isShown(const ui::WindowView &window) = 0;
    virtual bool isActive(const ui::WindowView &window) = 0;
    // Whether a picture frame shows a picture.
    virtual bool showsPicture(const ui::WindowView &window, std::string_view frame) = 0;

    // Lets the windows handle what is waiting (posted work, paints).
    virtual void settle() = 0;
    // Handles what comes until `condition` holds, for up to five seconds;
    // answers whether it did.
    virtual bool waitFor(const std::function<bool()> &condition) = 0;

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
