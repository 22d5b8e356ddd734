// Opening and closing child windows: the main window is disabled while one
// is up, and however the child closes, the main window comes back enabled,
// active and focused, with what the child handed back applied.
#include "support/main_window_fixture.h"
#include "support/recording_front_end.h"
#include "ui/descriptions.h"

#include <functional>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

// A window that hears nothing, only there to take the activation.
class Elsewhere final : public ui::WindowEvents {
public:
    void command(std::string_view) override {}
};

class ChildWindows : public MainWindowTest {
protected:
    // Any child window will do: the about box.
    ChildWindow *open()
    {
        trigger("ABOUTSCREEN");
        EXPECT_NE(child(), nullptr);
        return child();
    }

    // What the Add movie window leaves behind when it closes with OK.
    void handBackAMovie()
    {
        window().setTransferField("tempmoviename", "Added movie");
        window().setTransferField("tempmoviecd", "DISC1");
        window().setTransferField("tempmovielocation", "MOVIES\\ADDED.AVI");
    }
};

}  // namespace

// That a child window has no owner, no taskbar entry and a fixed border,
// and opens in the middle of the screen, is the front end's
// (qt_front_end_test.cpp).
TEST_F(ChildWindows, OpeningDisablesTheMainWindowAndShowsTheChildCentredOnItsOwn)
{
    start();
    ASSERT_TRUE(ui.isActive(view()));
    ChildWindow *opened = open();
    ASSERT_NE(opened, nullptr);

    EXPECT_FALSE(view().isWindowEnabled());
    EXPECT_TRUE(ui.isShown(opened->view()));
    EXPECT_FALSE(opened->description().main) << "a child window has no taskbar entry";
    // Without a window manager only an explicit activation puts it in front.
    EXPECT_EVENTUALLY_TRUE(ui.isActive(opened->view()));
    EXPECT_FALSE(ui.isActive(view()));
    ui.closeBox(opened->view());
}

// The child tells the main window only once it is off the screen: the
// front end tells closed() then (qt_front_end_test.cpp).
TEST_F(ChildWindows, ClosingByAnyMeansGivesTheMainWindowBackAndAppliesTheHandBack)
{
    struct Way {
        const char *what;
        std::function<void()> close;
    };
    const Way ways[] = {
        {"its close button", [this] { clickChild("cmdOK"); }},
        {"its close box", [this] { ui.closeBox(childView()); }},
        {"Esc", [this] { pressOnChild(Key::Escape); }},
        {"Alt+F4", [this] { pressOnChild(Key::AltF4); }},
    };
    for (const Way &way : ways) {
        SCOPED_TRACE(way.what);
        start();
        view().setFocus("PlayButton");
        ChildWindow *opened = open();
        ASSERT_NE(opened, nullptr);
        EXPECT_EVENTUALLY_TRUE(ui.isActive(opened->view()));
        handBackAMovie();

        way.close();

        // At once, without waiting for the window system to activate the
        // main window again:
        EXPECT_TRUE(view().isWindowEnabled());
        EXPECT_EQ(child(), nullptr);
        EXPECT_EQ(listedTitles(), std::vector<std::string>{"Added movie"});
        EXPECT_EQ(project().TitleCount, "1");
        for (const char *field : {"tempmoviename", "tempmoviecd", "tempmovielocation", "tempremovemovie"}) {
            EXPECT_EQ(view().text(field), "empty") << field;
            EXPECT_FALSE(view().isVisible(field)) << field;
        }

        // Then the main window is active, with the focus where it was.
        EXPECT_EVENTUALLY_TRUE(ui.isActive(view()));
        EXPECT_EVENTUALLY_EQ(view().focused(), "PlayButton");
        ui.settle();
        EXPECT_EQ(project().TitleCount, "1") << "applied twice";
    }
}

TEST_F(ChildWindows, MainWindowFocusesTheListWhenNothingHadTheFocus)
{
    start();
    // Another window is the active one: nothing in the main window has the focus.
    Elsewhere events;
    const std::unique_ptr<ui::WindowView> other = ui.frontEnd().realise(ui::AboutWindow, events);
    other->show();
    ui.activate(*other);
    ASSERT_EQ(view().focused(), "");
    view().setFocus("PlayButton");
    ASSERT_EQ(view().focused(), "");

    open();
    clickChild("cmdOK");
    EXPECT_EVENTUALLY_EQ(view().focused(), "Movies");
}

TEST_F(ChildWindows, TheMainWindowStaysWhileAChildIsOpen)
{
    start();
    ChildWindow *opened = open();
    ui.closeBox(view());
    ui.settle();
    EXPECT_TRUE(ui.isShown(view())) << "the disabled main window closed under its child";
    ASSERT_EQ(child(), opened);
    EXPECT_TRUE(ui.isShown(opened->view()));
    clickChild("cmdOK");
    EXPECT_TRUE(view().isWindowEnabled());
}

TEST_F(ChildWindows, AChildWindowDoesNotOutliveTheMainWindow)
{
    RecordingFrontEnd frontEnd;
    auto main = std::make_unique<VidorunMain>(fake.platform(), frontEnd);
    main->show();
    main->command("ABOUTSCREEN");
    ASSERT_NE(main->openChild(), nullptr);
    ASSERT_EQ(frontEnd.windows().size(), 2u) << "the main window and its child";
    EXPECT_EQ(&frontEnd.windows()[1]->description(), &ui::AboutWindow);
    main.reset();
    EXPECT_EQ(frontEnd.windows(), std::vector<RecordingView *>{});
}

// Every child window, opened through its command, shows its captions whole.
TEST_F(ChildWindows, NoCaptionIsClippedInAnyOfTheFourWindows)
{
    writeFile("Autorun.inf", projectText({"movie01=a.avi", "title01=A", "mdisk01=X"}));
    start();
    for (const char *command : {"ADDMOVIE", "REMOVEMOVIE", "CURRENTSETTINGS", "ABOUTSCREEN"}) {
        SCOPED_TRACE(command);
        trigger(command);
        ASSERT_NE(child(), nullptr);
        EXPECT_EQ(ui.clippedCaptions(childView()), std::vector<std::string>{});
        ui.closeBox(childView());
        EXPECT_TRUE(view().isWindowEnabled());
    }
}
