// The main window alone on the Windows front end, as a program of its own,
// built as Vidorun.exe is: what the front end and the window descriptions
// add to the floor's size (make bench-windows). It closes on Quit, Exit and
// the close box, or by itself after --seconds N.
#include "ui/descriptions.h"
#include "ui/win32/win32_front_end.h"

#include <cwchar>

using namespace vidorun::ui;

namespace {

class MainEvents final : public WindowEvents {
public:
    WindowView *view = nullptr;
    void command(std::string_view name) override
    {
        if (name == "QuitButton" || name == "EXIT")
            view->close();
    }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int)
{
    win32::Win32FrontEnd frontEnd;
    MainEvents events;
    auto main = frontEnd.realise(MainWindow, events);
    events.view = main.get();
    for (const char *movie : {"Holiday 1999", "Birthday party"})
        main->addItem("Movies", movie);
    main->setCurrentIndex("Movies", 0);
    main->show();
    if (const wchar_t *seconds = std::wcsstr(commandLine, L"--seconds ")) {
        const UINT milliseconds = UINT(std::wcstol(seconds + 10, nullptr, 10)) * 1000;
        SetTimer(win32::windowHandle(*main), 1, milliseconds, [](HWND hwnd, UINT, UINT_PTR, DWORD) {
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
        });
    }
    return win32::runMessageLoop();
}
