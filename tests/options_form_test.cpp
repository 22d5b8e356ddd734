// Settings > Current settings: a snapshot of the project.
#include "child_window_fixture.h"

#include "windows/options_form.h"

namespace vidorun::testing {
namespace {

class OptionsFormTest : public ChildWindowTest {
protected:
    void openSettings()
    {
        trigger("CURRENTSETTINGS");
        expectOpen("OptionsForm");
    }
    std::string value(const char *name) { return childView().text(name); }
};

TEST_F(OptionsFormTest, WindowIsLaidOutAsDesigned)
{
    start();
    openSettings();
    expectLayout("Vidorun ; settings for project <no title yet!>", 613, 159,
                 {
                     {"autorunlocationtext", 8, 16, 121, 17},
                     {"autorunlocation", 136, 16, 457, 17},
                     {"currentlanguagetext", 8, 32, 121, 17},
                     {"currentlanguage", 136, 32, 457, 17},
                     {"coverpicturepathtext", 8, 48, 121, 17},
                     {"coverpicturepath", 136, 48, 457, 17},
                     {"playerpathtext", 8, 64, 121, 17},
                     {"playerpath", 136, 64, 457, 17},
                     {"codecpathtext", 8, 80, 121, 17},
                     {"codecpath", 136, 80, 457, 17},
                     {"moviesinprojecttext", 16, 96, 113, 17},
                     {"Moviesinproject", 136, 96, 201, 17},
                     {"versiontext", 8, 120, 121, 17},
                     {"version", 136, 120, 457, 17},
                     {"CloseCMD", 512, 128, 89, 25},
                 });
    const std::pair<const char *, const char *> captions[] = {
        {"autorunlocationtext", "location of autorun.ini:"}, {"currentlanguagetext", "current language:"},
        {"coverpicturepathtext", "location of coverpicture:"}, {"playerpathtext", "location of player:"},
        {"codecpathtext", "location of codec:"},           {"moviesinprojecttext", "nr of movies in project:"},
        {"versiontext", "this version of Vidorun:"},
    };
    for (const auto &[name, text] : captions) {
        EXPECT_EQ(value(name), text) << name;
        EXPECT_EQ(child()->description().control(name)->align, ui::Align::Right) << name;
    }
    EXPECT_EQ(value("CloseCMD"), "CLOSE");
    expectFocusOn("CloseCMD");
}

TEST_F(OptionsFormTest, AnEmptyProjectShowsNoneYet)
{
    start();
    openSettings();
    EXPECT_EQ(childView().caption(), "Vidorun ; settings for project <no title yet!>");
    EXPECT_EQ(value("autorunlocation"), "none ... yet");
    EXPECT_EQ(value("currentlanguage"), "not implemented yet!");
    EXPECT_EQ(value("coverpicturepath"), "none ... yet");
    EXPECT_EQ(value("playerpath"), "none ... yet");
    EXPECT_EQ(value("codecpath"), "none ... yet");
    EXPECT_EQ(value("Moviesinproject"), "0");
    EXPECT_EQ(value("version"), "4.0");
    EXPECT_FALSE(view().isWindowEnabled());
}

TEST_F(OptionsFormTest, AFullProjectIsShownAsStored)
{
    writeFile("Autorun.inf", projectText({"[vidorun]"}));
    start();
    EXPECT_EQ(project().ProjectFile, ".\\Autorun.inf");
    openSettings();
    EXPECT_EQ(value("autorunlocation"), ".\\Autorun.inf");
    clickChild("CloseCMD");

    readProject({"[vidorun]", "the_title=Holiday 2026", "cover=d:\\cover.jpg", "player=d:\\player.exe",
                 "codec=d:\\codec.exe", "movie01=A.AVI", "title01=One", "mdisk01=CD", "movie02=B.AVI", "title02=Two",
                 "mdisk02=CD"});
    openSettings();
    EXPECT_EQ(childView().caption(), "Vidorun ; settings for project Holiday 2026");
    EXPECT_EQ(value("autorunlocation"), path("projects/Autorun.inf"));
    EXPECT_EQ(value("coverpicturepath"), "D:\\COVER.JPG");
    EXPECT_EQ(value("playerpath"), "D:\\PLAYER.EXE");
    EXPECT_EQ(value("codecpath"), "D:\\CODEC.EXE");
    EXPECT_EQ(value("Moviesinproject"), "2");
    EXPECT_EQ(value("version"), "4.0");
}

TEST(SettingsSnapshot, OnlyAnEmptyTextIsMissing)
{
    Project p;
    p.ProjectTitle = " ";
    p.CoverPicturePath = "  ";
    p.TitleCount = "7";
    const SettingsSnapshot s = settingsSnapshot(p);
    EXPECT_EQ(s.caption, "Vidorun ; settings for project  ");
    EXPECT_EQ(s.autorunlocation, "none ... yet");
    EXPECT_EQ(s.coverpicturepath, "  ");
    EXPECT_EQ(s.playerpath, "none ... yet");
    EXPECT_EQ(s.Moviesinproject, "7");
}

TEST_F(OptionsFormTest, ReopeningShowsTheProjectAsItIsThen)
{
    start();
    openSettings();
    clickChild("CloseCMD");
    expectMainWindowBack();

    fake.input.answers.push_back("  Spaced  ");
    trigger("VIDORUNTITLE");
    writeFile("player.exe", "MZ");
    fake.dialogs.answers.push_back(path("player.exe"));
    trigger("PLAYERLOCATION");

    openSettings();
    EXPECT_EQ(childView().caption(), "Vidorun ; settings for project   Spaced  ");
    EXPECT_EQ(value("playerpath"), path("player.exe"));
    EXPECT_EQ(value("codecpath"), "none ... yet");
}

// That the label keeps its designed size on the screen is the front end's
// (qt_front_end_test.cpp).
TEST_F(OptionsFormTest, ALongPathIsCutOffAndTheWindowKeepsItsSize)
{
    start();
    const std::string deep = "deep/" + std::string(200, 'x') + "/player.exe";
    writeFile(deep, "MZ");
    fake.dialogs.answers.push_back(path(deep));
    trigger("PLAYERLOCATION");
    openSettings();
    EXPECT_EQ(value("playerpath"), path(deep));
    const ui::Control &label = *child()->description().control("playerpath");
    EXPECT_FALSE(label.wordWrap);
    EXPECT_FALSE(label.growsWithText);
    // Cut off, not wrapped onto the lines below.
    EXPECT_NE(ui.clippedCaptions(childView()), std::vector<std::string>{});
}

TEST_F(OptionsFormTest, CloseEnterAndEscAllCloseIt)
{
    start();
    openSettings();
    clickChild("CloseCMD");
    expectMainWindowBack();

    openSettings();
    pressOnChild(Key::Enter);
    expectMainWindowBack();

    openSettings();
    pressOnChild(Key::Escape);
    expectMainWindowBack();
}

}  // namespace
}  // namespace vidorun::testing
