#pragma once

// What the handlers ask of a window on the screen, and what a window tells
// them. A front end (Qt widgets, or the system's own controls on Windows)
// realises a window's description (window_description.h) as a WindowView
// and tells its WindowEvents what the user does; handlers name controls as
// the description does.
#include "ui/window_description.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace vidorun::ui {

// A picture decoded for showing in a picture frame; each front end has its
// own kind, made by its picture loader.
class Picture {
public:
    virtual ~Picture() = default;
};

// What happens to a window, told to the handlers that own it. Every call
// comes on the window's own thread, one at a time.
class WindowEvents {
public:
    virtual ~WindowEvents() = default;
    // A button was pressed (a click, its access key, Enter or Esc where the
    // description says so) or a menu item chosen: its name.
    virtual void command(std::string_view name) = 0;
    // The window became the active window.
    virtual void activated() {}
    // The user asks the window to close (its close box, Alt+F4): whether it
    // may. Windows closed by their handlers are not asked.
    virtual bool mayClose() { return true; }
    // The window has left the screen, however it closed. It is discarded
    // once the event that closed it is over.
    virtual void closed() {}
};

// A window as its handlers see it. Texts are UTF-8.
class WindowView {
public:
    virtual ~WindowView() = default;

    virtual void setCaption(std::string_view text) = 0;
    virtual std::string caption() const = 0;

    // A label's, button's or text box's text.
    virtual void setText(std::string_view control, std::string_view text) = 0;
    virtual std::string text(std::string_view control) const = 0;
    virtual void setEnabled(std::string_view control, bool enabled) = 0;
    virtual bool isEnabled(std::string_view control) const = 0;
    virtual void setVisible(std::string_view control, bool visible) = 0;
    virtual bool isVisible(std::string_view control) const = 0;

    // The lines of a drop-down list or a list box, and the one chosen
    // (-1: none).
    virtual void clearItems(std::string_view control) = 0;
    virtual void addItem(std::string_view control, std::string_view text) = 0;
    virtual int itemCount(std::string_view control) const = 0;
    virtual std::string itemText(std::string_view control, int index) const = 0;
    virtual int currentIndex(std::string_view control) const = 0;
    virtual void setCurrentIndex(std::string_view control, int index) = 0;

    // The picture a picture frame shows; nothing: an empty frame.
    virtual void setPicture(std::string_view control, std::shared_ptr<const Picture> picture) = 0;

    virtual void setFocus(std::string_view control) = 0;
    // The control that has the keyboard focus, when this window has it; ""
    // otherwise.
    virtual std::string focused() const = 0;

    // The window itself: enabled (it takes mouse, keys and menu shortcuts)
    // or not; shown; made the active window, with the focus on the control
    // that last had it.
    virtual void setWindowEnabled(bool enabled) = 0;
    virtual bool isWindowEnabled() const = 0;
    virtual void show() = 0;
    virtual void activate() = 0;
    // Takes the window off the screen; its events hear closed().
    virtual void close() = 0;
};

// Realises windows, and runs work once the current event is over.
class FrontEnd {
public:
    virtual ~FrontEnd() = default;
    // Builds `description` as a window that tells `events`, hidden until
    // shown. The view must not outlive `events`.
    virtual std::unique_ptr<WindowView> realise(const Window &description, WindowEvents &events) = 0;
    // Runs `work` on the windows' thread once the event being handled is
    // over; may be called from any thread.
    virtual void post(std::function<void()> work) = 0;
};

}  // namespace vidorun::ui
