// File > Read: choosing another project file.
#include "support/main_window_fixture.h"

using namespace vidorun;
using namespace vidorun::testing;

class ReadCommand : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        writeFile("Autorun.inf", projectText({"the_title=First project", "movie01=a", "title01=A", "mdisk01=X",
                                              "movie02=b", "title02=B", "mdisk02=X"}));
        writeFile("other/second.inf", projectText({"movie01=c", "title01=Only one", "mdisk01=Y", "player=p.exe"}));
        start();
    }
};

TEST_F(ReadCommand, AsksWithTheSharedDialogSettings)
{
    fake.dialogs.answers.push_back(std::nullopt);
    trigger("OPENINIFILE");
    ASSERT_EQ(fake.dialogs.uses.size(), 1u);
    const FileDialogRequest &r = fake.dialogs.uses[0].request;
    EXPECT_EQ(fake.dialogs.uses[0].kind, FileDialogKind::Open);
    EXPECT_EQ(r.title, "Select your 'autorun.inf' file");
    EXPECT_EQ(r.filter, "All Files (*.*)|*.*|Autorun files (autorun.inf)|autorun.inf");
    EXPECT_EQ(r.filterIndex, 2);
    EXPECT_EQ(r.flags, 4);
    EXPECT_EQ(r.fileName, "");
}

TEST_F(ReadCommand, ASecondProjectReplacesTheListAndTheCounts)
{
    fake.dialogs.answers.push_back(path("other/second.inf"));
    trigger("OPENINIFILE");
    EXPECT_EQ(listedTitles(), std::vector<std::string>{"Only one"});
    EXPECT_EQ(view().text("TotalMoviesText"), "Total number of movies: 1");
    EXPECT_EQ(project().ProjectFile, path("other/second.inf"));
    EXPECT_EQ(project().PlayerPath, "P.EXE");
    // Keys the second file lacks keep the first project's values.
    EXPECT_EQ(project().ProjectTitle, "First project");
    EXPECT_EQ(project().TrayState, "CLOSED");
    EXPECT_TRUE(fake.messages.shown.empty());
    // The next dialog starts with the name chosen now.
    fake.dialogs.answers.push_back(std::nullopt);
    trigger("OPENINIFILE");
    EXPECT_EQ(fake.dialogs.uses.back().request.fileName, path("other/second.inf"));
}

TEST_F(ReadCommand, CancelChangesNothingAndSaysNothing)
{
    trigger("OPENINIFILE");
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(project().ProjectFile, ".\\Autorun.inf");
    EXPECT_EQ(view().caption(), "Vidorun ; First project");
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(ReadCommand, AMissingFileIsNamedAndTheProjectStays)
{
    fake.dialogs.answers.push_back("no such.inf");
    trigger("OPENINIFILE");
    EXPECT_EQ(fake.messages.shown, (std::vector<ShownMessage>{
                  {"The file no such.inf does not exists!", "Shit ... Error!", MsgStyle::Critical}}));
    EXPECT_EQ(project().ProjectFile, ".\\Autorun.inf");
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"A", "B"}));
}

TEST_F(ReadCommand, CtrlOReachesTheCommand)
{
    activate();
    view().setFocus("Movies");
    press(Key::CtrlO);
    EXPECT_EQ(fake.dialogs.uses.size(), 1u);
}
