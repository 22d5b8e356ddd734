// The main window alone on the Windows front end, as a program of its own,
// built as Vidorun.exe is: what the front end and the window descriptions
// add to the floor's size (make bench-windows). It closes on Quit, Exit and
// the close box.
#include "ui/descriptions.h"
#include "ui/win32/win32_front_end.h"

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

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    win32::Win32FrontEnd frontEnd;
    MainEvents events;
    auto main = frontEnd.realise(MainWindow, events);
    events.view = main.get();
    for (const char *movie : {"Holiday 1999", "Birthday party"})
        main->addItem("Movies", movie);
    main->setCurrentIndex("Movies", 0);
    main->show();
    return win32::runMessageLoop();
}
