#pragma once

// The Windows front end: every window of the program realised with the
// system's own controls (user32's BUTTON, STATIC, EDIT, COMBOBOX and
// LISTBOX), menus and keys, on the Win32 API alone.
//
// Pixels and dpi: the process says it is aware of the system dpi (the
// manifest in win32_front_end.rc), and every rectangle and font of a
// description is scaled by dpi / 96; at 96 dpi they are the description's
// pixels exactly. Unaware, Windows would stretch the finished bitmap of each
// window at a higher dpi and blur its text.
//
// The program's main runs runMessageLoop(), which ends when the main window
// is closed. post() work runs on that loop, also inside a modal input box or
// message box.
#include "platform/win32_api.h"
#include "ui/window_view.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vidorun::ui::win32 {

class Win32FrontEnd final : public FrontEnd {
public:
    Win32FrontEnd();
    ~Win32FrontEnd() override;
    Win32FrontEnd(const Win32FrontEnd &) = delete;
    Win32FrontEnd &operator=(const Win32FrontEnd &) = delete;

    std::unique_ptr<WindowView> realise(const Window &description, WindowEvents &events) override;
    void post(std::function<void()> work) override;

    // The modal input box (InputBoxWindow) over `owner` (or none): the
    // typed text on OK or Enter; "" on Cancel, Esc or the close box. The
    // owner is disabled while it is up, then enabled and activated again.
    std::string askText(WindowView *owner, std::string_view prompt, std::string_view title,
                        std::string_view defaultAnswer);

private:
    static LRESULT CALLBACK helperProc(HWND, UINT, WPARAM, LPARAM);
    void runPosted();

    HWND helper_ = nullptr;  // hidden; owns the child windows and receives post()'s work
    SRWLOCK lock_ = SRWLOCK_INIT;
    std::vector<std::function<void()>> posted_;
    bool comStarted_ = false;
};

// Runs the windows until the main window is closed; answers the exit code.
int runMessageLoop();
// Handles every message waiting now, as runMessageLoop would; false once the
// loop is asked to end (the main window was closed), leaving that request
// for runMessageLoop.
bool pumpMessages();

// The system's message box over `owner` (or none). `style` is the box's own
// (16: a stop sign and OK; 36: a question mark, Yes and No). Texts are UTF-8;
// a CR LF in `text` starts a new line.
enum class MessageAnswer { Ok, Cancel, Yes, No };
MessageAnswer messageBox(const WindowView *owner, std::string_view text, std::string_view title, unsigned style);

// A picture file (JPEG, PNG, GIF, BMP…) decoded by the system's imaging
// component (WIC), no larger than a frame of `shownWidth` x `shownHeight`
// needs (its own size without one); nothing when the file is missing, not
// a picture, or larger than any cover may be.
std::shared_ptr<const Picture> loadPicture(std::string_view path, int shownWidth = 0, int shownHeight = 0);
std::shared_ptr<const Picture> decodePicture(std::span<const std::byte> bytes, int shownWidth = 0,
                                             int shownHeight = 0);

// The window and the controls of a view this front end realised, for the
// program's own Windows code (an owner for a file dialog) and for tests.
HWND windowHandle(const WindowView &view);
HWND controlHandle(const WindowView &view, std::string_view control);

}  // namespace vidorun::ui::win32
