// Each window's description held against itself, and against the handlers
// that name its controls: every control inside its window and over another
// only where the design puts it there, a tab order without gaps, labels
// naming controls that take the focus, and every button and menu item
// reaching a handler. Through the recording front end: no window is shown.
#include "app/vidorun_main.h"
#include "support/fake_platform.h"
#include "support/recording_front_end.h"
#include "support/temporary_folder.h"
#include "ui/descriptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

// Where the design lays one control over another: the cover's placeholder
// over its frame, and the settings window's version over its CLOSE button,
// whose corner it runs under. Rows of a column 16 pixels apart share up to
// 3 pixels of their borders (a label is 17 high, a text box 19).
bool designedOverlap(const ui::Window &window, const ui::Control &a, const ui::Control &b, int width, int height)
{
    const auto pair = [&](std::string_view one, std::string_view other) {
        return (a.name == one && b.name == other) || (a.name == other && b.name == one);
    };
    if (window.main && pair("NoPictureText", "CoverPicture"))
        return true;
    if (&window == &ui::SettingsWindow && pair("version", "CloseCMD"))
        return true;
    const bool column = a.left == b.left || a.left + a.width == b.left + b.width;
    return height <= 3 && width > 0 && column;
}

std::string named(const ui::Window &window, const ui::Control &control)
{
    return std::string(window.name) + "." + std::string(control.name);
}

}  // namespace

TEST(Descriptions, EveryControlHasItsPlace)
{
    for (const ui::Window *window : ui::allWindows()) {
        std::set<std::string_view> names;
        for (const ui::Control &control : window->controls) {
            SCOPED_TRACE(named(*window, control));
            EXPECT_TRUE(names.insert(control.name).second) << "named twice";
            EXPECT_GE(control.left, 0);
            EXPECT_GE(control.top, 0);
            EXPECT_GT(control.width, 0);
            EXPECT_GT(control.height, 0);
            EXPECT_LE(control.left + control.width, window->clientWidth);
            EXPECT_LE(control.top + control.height, window->clientHeight);
        }
        for (std::size_t i = 0; i < window->controls.size(); ++i) {
            for (std::size_t j = i + 1; j < window->controls.size(); ++j) {
                const ui::Control &a = window->controls[i], &b = window->controls[j];
                if (!a.visible || !b.visible)
                    continue;
                const int width = std::min(a.left + a.width, b.left + b.width) - std::max(a.left, b.left);
                const int height = std::min(a.top + a.height, b.top + b.height) - std::max(a.top, b.top);
                if (width > 0 && height > 0) {
                    EXPECT_TRUE(designedOverlap(*window, a, b, width, height))
                        << named(*window, a) << " and " << named(*window, b) << " overlap by " << width << " x "
                        << height;
                }
            }
        }
    }
}

TEST(Descriptions, TabOrderAndKeysNameRealControls)
{
    for (const ui::Window *window : ui::allWindows()) {
        SCOPED_TRACE(std::string(window->name));
        std::vector<int> order;
        for (const ui::Control &control : window->controls) {
            if (control.tabIndex >= 0)
                order.push_back(control.tabIndex);
            else
                EXPECT_FALSE(ui::takesFocus(control.kind)) << named(*window, control) << " takes the focus but has no place";
            if (!control.labels.empty()) {
                const ui::Control *target = window->control(control.labels);
                ASSERT_NE(target, nullptr) << named(*window, control) << " labels nothing";
                EXPECT_TRUE(ui::takesFocus(target->kind)) << named(*window, control);
            }
        }
        std::sort(order.begin(), order.end());
        for (std::size_t i = 0; i < order.size(); ++i)
            EXPECT_EQ(order[i], int(i)) << "the tab order has a gap or a place twice";
        const ui::Control *first = window->control(window->firstFocus);
        ASSERT_NE(first, nullptr) << "the first focus is no control";
        EXPECT_TRUE(ui::takesFocus(first->kind));
        for (std::string_view key : {window->defaultButton, window->cancelButton}) {
            if (key.empty())
                continue;
            const ui::Control *button = window->control(key);
            ASSERT_NE(button, nullptr) << key;
            EXPECT_EQ(button->kind, ui::ControlKind::Button) << key;
        }
    }
}

namespace {

class NoPictures final : public PictureLoader {
public:
    PictureHandle load(const std::string &, int, int) override { return nullptr; }
};

// The program on the recording front end, in a folder of its own.
class HandlerTest : public FolderTest {
protected:
    std::unique_ptr<VidorunMain> start()
    {
        auto main = std::make_unique<VidorunMain>(fake.platform(), frontEnd);
        main->setCommandObserver([this](const std::string &handler) { handlers.push_back(handler); });
        return main;
    }

    NoPictures pictures;
    FakePlatform fake{pictures};
    RecordingFrontEnd frontEnd;
    std::vector<std::string> handlers;
};

}  // namespace

// Every button and menu item of the main window runs the handler named
// after it, and nothing else does.
TEST_F(HandlerTest, EveryCommandOfTheMainWindowReachesItsHandler)
{
    std::vector<std::string_view> commands;
    for (const ui::Control &control : ui::MainWindow.controls) {
        if (control.kind == ui::ControlKind::Button)
            commands.push_back(control.name);
    }
    for (const ui::MenuItem &item : ui::MainWindow.menu) {
        if (item.entry == ui::MenuEntry::Item)
            commands.push_back(item.name);
    }
    ASSERT_EQ(commands.size(), 6u + 17u);
    for (std::string_view command : commands) {
        SCOPED_TRACE(std::string(command));
        handlers.clear();
        const std::unique_ptr<VidorunMain> main = start();
        main->command(command);
        EXPECT_EQ(handlers, std::vector<std::string>({std::string(command) + "_Click"}));
    }
    const std::unique_ptr<VidorunMain> main = start();
    handlers.clear();
    for (std::string_view other : {"Movies", "Label1", "CoverPicture", "FileMenu", "separator1", "LANGUAGEMENU"})
        main->command(other);
    EXPECT_TRUE(handlers.empty());
}

// Every button of every child window does what it is there for.
TEST_F(HandlerTest, EveryButtonOfTheChildWindowsIsHandled)
{
    writeFile("Autorun.inf", projectText({"[vidorun]", "movie01=A.AVI", "title01=A", "mdisk01=CD1"}));
    struct Case {
        const char *opener;
        const ui::Window *window;
        const char *button;
        bool closes;
        std::size_t messages, dialogs;
    };
    const Case cases[] = {
        {"ADDMOVIE", &ui::AddMovieWindow, "BrowseButton", false, 0, 1},
        {"ADDMOVIE", &ui::AddMovieWindow, "OKButton", false, 1, 0},
        {"ADDMOVIE", &ui::AddMovieWindow, "CancelButton", true, 0, 0},
        {"REMOVEMOVIE", &ui::RemoveMovieWindow, "RemoveButton", true, 1, 0},
        {"REMOVEMOVIE", &ui::RemoveMovieWindow, "CloseButton", true, 0, 0},
        {"CURRENTSETTINGS", &ui::SettingsWindow, "CloseCMD", true, 0, 0},
        {"ABOUTSCREEN", &ui::AboutWindow, "cmdOK", true, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.window->name) + "." + c.button);
        fake.messages.shown.clear();
        fake.dialogs.uses.clear();
        const std::unique_ptr<VidorunMain> main = start();
        main->command(c.opener);
        RecordingView *child = frontEnd.window(*c.window);
        ASSERT_NE(child, nullptr);
        EXPECT_TRUE(child->shown());
        EXPECT_FALSE(main->view().isWindowEnabled());
        child->events().command(c.button);
        EXPECT_EQ(child->closed(), c.closes);
        EXPECT_EQ(main->view().isWindowEnabled(), c.closes);
        EXPECT_EQ(fake.messages.shown.size(), c.messages);
        EXPECT_EQ(fake.dialogs.uses.size(), c.dialogs);
        frontEnd.settle();
        EXPECT_EQ(frontEnd.window(*c.window) == nullptr, c.closes) << "a closed child window goes after its event";
    }
}
