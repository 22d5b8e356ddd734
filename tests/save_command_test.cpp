#include "platform/file_io.h"
#include "support/main_window_fixture.h"
#include "support/sample_projects.h"

#include <gtest/gtest.h>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

const std::string Holiday = holidayProject();

// The system's own words for why a file can't be made at `path`.
std::string reasonForNoFileAt(const std::string &path)
{
    const std::unique_ptr<SaveSteps> steps = makeFileSaveSteps(path);
    if (steps->open()) {
        steps->discard();
        return {};
    }
    return steps->reason();
}

class SaveCommandTest : public MainWindowTest {
protected:
    // Loads a project through File > Read, then forgets the dialogs and
    // messages that took.
    void load(const std::string &name)
    {
        fake.dialogs.answers.push_back(path(name));
        trigger("OPENINIFILE");
        fake.dialogs.uses.clear();
        fake.messages.shown.clear();
    }

    void save(const std::optional<std::string> &chosen)
    {
        fake.dialogs.answers.push_back(chosen);
        trigger("SAVEFILE");
    }

    std::vector<std::string> entries() const { return folderEntries(m_folder.path()); }
};

TEST_F(SaveCommandTest, OffersAutorunInfInTheSaveDialog)
{
    start();
    save(std::nullopt);
    ASSERT_EQ(fake.dialogs.uses.size(), 1u);
    const auto &use = fake.dialogs.uses.front();
    EXPECT_EQ(use.kind, FileDialogKind::Save);
    EXPECT_EQ(use.request.title, "Select a location to save your 'Autorun.inf'");
    EXPECT_EQ(use.request.filter, "Autorun file (autorun.inf)|*.inf");
    EXPECT_EQ(use.request.filterIndex, 1);
    EXPECT_EQ(use.request.flags, 4);
    EXPECT_EQ(use.request.fileName, "Autorun.inf");
    EXPECT_TRUE(window().ComDlg().CancelError);
}

TEST_F(SaveCommandTest, WritesANewFileWithoutAsking)
{
    writeFile("Holiday.inf", Holiday);
    start();
    load("Holiday.inf");
    save(path("Autorun.inf"));
    EXPECT_EQ(readFile("Autorun.inf"), Holiday);
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"Sunrise, over the bay", "The harbour at noon"}));
}

TEST_F(SaveCommandTest, AnsweringNoLeavesTheExistingFileAsItWas)
{
    writeFile("Holiday.inf", Holiday);
    const std::string earlier = "[vidorun]\r\ntitle01=Earlier\r\n";
    writeFile("Autorun.inf", earlier);
    start();
    load("Holiday.inf");
    fake.messages.answers = {MsgAnswer::No};
    save(path("Autorun.inf"));

    EXPECT_EQ(fake.messages.shown, (std::vector<ShownMessage>{
                  {"Overwrite existing file?", "File already exists!", MsgStyle::Question}}));
    EXPECT_EQ(readFile("Autorun.inf"), earlier);
}

TEST_F(SaveCommandTest, AnsweringYesReplacesTheFile)
{
    writeFile("Holiday.inf", Holiday);
    writeFile("Autorun.inf", std::string(10000, 'x'));
    start();
    load("Holiday.inf");
    fake.messages.answers = {MsgAnswer::Yes};
    save(path("Autorun.inf"));

    EXPECT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(readFile("Autorun.inf"), Holiday);
    EXPECT_EQ(entries(), (std::vector<std::string>{"Autorun.inf", "Holiday.inf"}));
}

TEST_F(SaveCommandTest, ACancelWritesNothingAndKeepsTheLastChosenName)
{
    writeFile("Holiday.inf", Holiday);
    start();
    load("Holiday.inf");
    save(std::nullopt);
    EXPECT_EQ(entries(), std::vector<std::string>{"Holiday.inf"});
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(window().ComDlg().FileName, path("Holiday.inf"));
}

TEST_F(SaveCommandTest, TheNextDialogStartsWithTheSavedName)
{
    start();
    save(path("Saved.inf"));
    EXPECT_EQ(window().ComDlg().FileName, path("Saved.inf"));
    trigger("OPENINIFILE");  // cancelled: no answer scripted
    ASSERT_EQ(fake.dialogs.uses.size(), 2u);
    EXPECT_EQ(fake.dialogs.uses[1].request.fileName, path("Saved.inf"));
}

TEST_F(SaveCommandTest, AnEmptyProjectIsTenLinesAndItsCloseSwitchBecomesZero)
{
    start();
    ASSERT_EQ(project().CloseAfterPlay, "");
    save(path("Autorun.inf"));
    EXPECT_EQ(readFile("Autorun.inf"), projectText({"[autorun]", "OPEN=Vidorun.exe", "ICON=Vidorun.exe,0", "",
                                                    "[vidorun]", "close=0", "the_title=", "cover=", "player=",
                                                    "codec="}));
    EXPECT_EQ(project().CloseAfterPlay, "0");
}

TEST_F(SaveCommandTest, AFailedSaveSaysSoAndNamesTheReason)
{
    start();
    const std::string target = path("gone/Autorun.inf");
    const std::string reason = reasonForNoFileAt(target);
    ASSERT_NE(reason, "");
    save(target);

    EXPECT_EQ(fake.messages.shown,
              (std::vector<ShownMessage>{
                  {"The file " + target + " could not be written!\r\n\r\n" + reason + "\r\n\r\nNothing was saved.",
                   ErrorTitle, MsgStyle::Critical}}));
    EXPECT_EQ(entries(), std::vector<std::string>{});
}

// Titles outside Windows-1252 make the file UTF-8, western ones keep the
// code page; either way the Read command gets back what was saved.
TEST_F(SaveCommandTest, SavedTitlesReadBackThroughTheReadCommand)
{
    const std::string utf8 = projectText({
        "[autorun]", "OPEN=Vidorun.exe", "ICON=Vidorun.exe,0", "", "[vidorun]", "close=0",
        "the_title=\u041e\u0442\u043f\u0443\u0441\u043a", "cover=", "player=", "codec=",
        "movie01=A.AVI", "\"title01=\u65e5\u672c, caf\u00e9 \"", "mdisk01=CD1",
    });
    writeFile("Utf8.inf", utf8);
    start();
    load("Utf8.inf");
    const std::vector<std::string> titles = listedTitles();
    ASSERT_EQ(titles, std::vector<std::string>{"\u65e5\u672c, caf\u00e9 "});

    save(path("Copy.inf"));
    EXPECT_EQ(readFile("Copy.inf"), utf8);
    load("Copy.inf");
    EXPECT_EQ(listedTitles(), titles);
    EXPECT_EQ(view().caption(), "Vidorun ; \u041e\u0442\u043f\u0443\u0441\u043a");
}

TEST_F(SaveCommandTest, TheDemoProjectSavesBackToTheSameBytes)
{
    for (const char *name : {"Autorun.inf", "COVER.JPG"})
        writeFile(name, readFileAt(std::string(VIDORUN_DEMO_DIR "/") + name));
    const std::string original = readFile("Autorun.inf");
    ASSERT_NE(original, "");
    start();
    load("Autorun.inf");
    ASSERT_EQ(listedTitles().size(), 3u);

    fake.messages.answers = {MsgAnswer::Yes};
    save(path("Autorun.inf"));
    EXPECT_EQ(readFile("Autorun.inf"), original);
    fake.messages.answers = {MsgAnswer::Yes};
    save(path("Autorun.inf"));
    EXPECT_EQ(readFile("Autorun.inf"), original);
}

}  // namespace
