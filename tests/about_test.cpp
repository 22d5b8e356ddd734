// The about box, and the commands that are not implemented yet.
#include "child_window_fixture.h"

#include "app/version.h"

namespace vidorun::testing {
namespace {

class AboutTest : public ChildWindowTest {
protected:
    void openAbout(const std::string &how)
    {
        if (how == "About")
            click("About");
        else
            trigger(how);
        expectOpen("frmAbout");
    }
};

// How the fonts, colours and the rule look on the screen is the front
// end's (qt_front_end_test.cpp).
TEST_F(AboutTest, WindowIsLaidOutAsDesigned)
{
    start();
    openAbout("ABOUTSCREEN");
    expectLayout("About Vidorun", 382, 237,
                 {
                     {"PicIcon", 8, 16, 48, 40},
                     {"lblTitle", 64, 16, 259, 32},
                     {"lblVersion", 64, 52, 259, 15},
                     {"lblDescription", 64, 75, 259, 14},
                     {"bugreportlink", 64, 152, 281, 17},
                     {"Line1", 6, 184, 372, 1},
                     {"Label3", 16, 208, 257, 17},
                     {"cmdOK", 283, 208, 84, 23},
                 });
    const ui::Window &d = child()->description();
    EXPECT_EQ(childView().text("lblTitle"), "Vidorun");
    EXPECT_DOUBLE_EQ(d.control("lblTitle")->font.points, 13.5);
    EXPECT_TRUE(d.control("lblTitle")->font.bold);
    EXPECT_TRUE(d.control("lblDescription")->font.underline);
    EXPECT_NE(childView().text("lblDescription"), "");
    // Sized to its text: 114 pixels as laid out, wider where the font needs it.
    EXPECT_EQ(childView().text("Bugreporttext"), "Bugs can be reported at");
    const ui::Control &bugs = *d.control("Bugreporttext");
    EXPECT_EQ((std::vector<int>{bugs.left, bugs.top, bugs.width, bugs.height}), (std::vector<int>{64, 136, 114, 13}));
    EXPECT_TRUE(bugs.growsWithText);
    EXPECT_EQ(childView().text("bugreportlink").rfind("https://", 0), 0u);
    const ui::Colour *blue = d.control("bugreportlink")->textColour;
    ASSERT_NE(blue, nullptr);
    EXPECT_EQ((std::vector<int>{blue->red, blue->green, blue->blue}), (std::vector<int>{0, 0, 255}));
    EXPECT_EQ(d.control("bugreportlink")->kind, ui::ControlKind::Label) << "shown, never opened";
    const ui::Colour *grey = d.control("Line1")->textColour;
    ASSERT_NE(grey, nullptr);
    EXPECT_EQ((std::vector<int>{grey->red, grey->green, grey->blue}), (std::vector<int>{128, 128, 128}));
    EXPECT_EQ(childView().text("Label3"), "Warning: The use of this program is AT OWN RISK!!");
    EXPECT_TRUE(ui.showsPicture(childView(), "PicIcon"));
    EXPECT_EQ(d.defaultButton, "cmdOK");
    EXPECT_EQ(ui.clippedCaptions(childView()), std::vector<std::string>{}) << "Bugreporttext grows with its text";
    expectFocusOn("cmdOK");
}

TEST_F(AboutTest, ShowsTheVersionOnEveryOpening)
{
    start();
    openAbout("About");
    EXPECT_EQ(childView().text("lblVersion"), "Version 4.0");
    EXPECT_EQ(childView().text("lblVersion"), "Version " + versionText());
    clickChild("cmdOK");
    expectMainWindowBack();

    openAbout("ABOUTSCREEN");
    EXPECT_EQ(childView().text("lblVersion"), "Version 4.0");
    clickChild("cmdOK");
    expectMainWindowBack();
}

TEST_F(AboutTest, EnterAndEscCloseItAsOkDoes)
{
    start();
    for (Key key : {Key::Enter, Key::Escape}) {
        openAbout("About");
        pressOnChild(key);
        expectMainWindowBack();
    }
}

TEST_F(AboutTest, TheMainWindowIgnoresItsCommandsWhileTheBoxIsOpen)
{
    start();
    std::vector<std::string> ran;
    window().setCommandObserver([&ran](const std::string &name) { ran.push_back(name); });
    openAbout("About");
    ran.clear();
    click("QuitButton");
    press(Key::CtrlX);
    EXPECT_EQ(ran, std::vector<std::string>{});
    EXPECT_TRUE(ui.isShown(view()));
    ASSERT_NE(child(), nullptr);
}

TEST_F(AboutTest, HelpAndTheLanguagesAreNotImplementedYet)
{
    start();
    const std::string caption = view().caption();
    for (const char *item : {"HELPME", "ENGLISHLANGUAGE", "DUTCHLANGUAGE"})
        trigger(item);
    const ShownMessage notYet{"This option is not yet implemented!", "Not quite finished with this...",
                              MsgStyle::Critical};
    EXPECT_EQ(fake.messages.shown, (std::vector<ShownMessage>{notYet, notYet, notYet}));
    EXPECT_TRUE(ui.isChecked(view(), "ENGLISHLANGUAGE"));
    EXPECT_FALSE(ui.isChecked(view(), "DUTCHLANGUAGE"));
    EXPECT_EQ(view().caption(), caption);
    EXPECT_EQ(child(), nullptr);
    EXPECT_TRUE(view().isWindowEnabled());
}

}  // namespace
}  // namespace vidorun::testing
