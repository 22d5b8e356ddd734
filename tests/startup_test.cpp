// The program starting in a folder: with and without a project file.
#include "support/main_window_fixture.h"

using namespace vidorun;
using namespace vidorun::testing;

namespace {

std::string threeMovieProject(const std::string &cover = "cover.jpg")
{
    return projectText({"[autorun]", "OPEN=Vidorun.exe", "ICON=Vidorun.exe,0", "", "[vidorun]", "close=0",
                        "the_title=Holiday", "cover=" + cover, "player=", "codec=",
                        "movie01=one.avi", "title01=First", "mdisk01=DISC1",
                        "movie02=two.avi", "title02=Second", "mdisk02=DISC1",
                        "movie03=three.avi", "title03=third one", "mdisk03=DISC2"});
}

// The demo disc's cover, 209 × 329 pixels.
void writeCover(const std::string &path)
{
    writeFileAt(path, readFileAt(VIDORUN_DEMO_DIR "/COVER.JPG"));
}

}  // namespace

class StartUp : public MainWindowTest {};

TEST_F(StartUp, WithoutAProjectFileTheProjectIsEmptyAndNothingIsSaid)
{
    start();
    const Project &p = project();
    EXPECT_EQ(p.TitleCount, "0");
    EXPECT_EQ(p.PathCount, "0");
    EXPECT_EQ(p.CDCount, "0");
    EXPECT_EQ(p.TrayState, "CLOSED");
    EXPECT_EQ(p.PlatformId, "1");
    EXPECT_EQ(p.ProjectFile, "");
    EXPECT_EQ(p.ProjectTitle, "");
    EXPECT_EQ(p.CoverPicturePath, "");
    EXPECT_EQ(p.CloseAfterPlay, "");
    EXPECT_EQ(view().itemCount("Movies"), 0);
    EXPECT_EQ(view().text("TotalMoviesText"), "Total number of movies: 0");
    EXPECT_TRUE(view().isVisible("NoPictureText"));
    EXPECT_EQ(view().caption(), "Vidorun");
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(StartUp, ListsTheMoviesOfTheProjectFileInTheWorkingFolder)
{
    writeFile("Autorun.inf", threeMovieProject());
    writeCover(path("cover.jpg"));
    fake.system.id = 2;
    start();
    EXPECT_EQ(project().ProjectFile, ".\\Autorun.inf");
    EXPECT_EQ(project().PlatformId, "2");
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"First", "Second", "third one"}));
    EXPECT_EQ(view().currentIndex("Movies"), -1);
    EXPECT_EQ(view().text("TotalMoviesText"), "Total number of movies: 3");
    EXPECT_EQ(view().caption(), "Vidorun ; Holiday");
    EXPECT_FALSE(view().isVisible("NoPictureText"));
    EXPECT_EVENTUALLY_TRUE(ui.showsPicture(view(), "CoverPicture"));
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(StartUp, DisagreeingCountersAreReportedWordForWord)
{
    writeFile("Autorun.inf",
              projectText({"movie01=a", "title01=A", "mdisk01=X", "movie02=b", "title02=B", "mdisk02=Y", "title03=C"}));
    start();
    EXPECT_EQ(fake.messages.shown, (std::vector<ShownMessage>{
                  {"There is an error in .\\Autorun.inf\r\n\r\nThere are:\r\n\r\n"
                   "3 movie titles\r\n2 paths to them \r\n2 CD parameters!",
                   "Shit ... Error!", MsgStyle::Critical}}));
    // The list still shows all three titles.
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"A", "B", "C"}));
}

TEST_F(StartUp, AMissingCoverIsNamedAsStored)
{
    writeFile("Autorun.inf", threeMovieProject("gone.jpg"));
    start();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "The file GONE.JPG does not exists!");
    EXPECT_TRUE(view().isVisible("NoPictureText"));
    EXPECT_EQ(listedTitles().size(), 3u);
}

TEST_F(StartUp, ACoverThatIsNoPictureLeavesThePlaceholderAndTheList)
{
    writeFile("Autorun.inf", threeMovieProject("notapicture.jpg"));
    writeFile("notapicture.jpg", "just text");
    start();
    EXPECT_EVENTUALLY_TRUE(!window().coverLoading());
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_TRUE(view().isVisible("NoPictureText"));
    EXPECT_EQ(listedTitles().size(), 3u);
}

TEST_F(StartUp, AGroupNumberedFiveAloneListsAnEmptyFirstElement)
{
    writeFile("Autorun.inf", projectText({"movie05=a", "title05=Five", "mdisk05=X"}));
    start();
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(listedTitles(), std::vector<std::string>{""});
    EXPECT_EQ(project().MovieTitles[5], "Five");
}

TEST_F(StartUp, TitleCountPastTheTablesListsOneHundred)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 150; ++i)
        lines.push_back("title" + std::to_string(10 + i % 90) + "=T" + std::to_string(i));
    writeFile("Autorun.inf", projectText(lines));
    start();
    EXPECT_EQ(project().TitleCount, "150");
    EXPECT_EQ(view().itemCount("Movies"), 100);
}

// Desktops offer Vidorun for every disc with an Autorun.inf, another
// program's CD among them: its menu is empty, and nothing is said.
TEST_F(StartUp, AnotherProgramsAutorunInfShowsAnEmptyMenuAndSaysNothing)
{
    writeFile("AUTORUN.INF", projectText({"[autorun]", "open=setup.exe /autorun", "icon=setup.exe,0",
                                          "label=Super Game 2", "action=Install Super Game 2",
                                          "shell\\install=&Install", "shell\\install\\command=setup.exe /install"}));
    start();
    EXPECT_EQ(project().ProjectFile, ".\\Autorun.inf");
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(view().itemCount("Movies"), 0);
    EXPECT_EQ(view().text("TotalMoviesText"), "Total number of movies: 0");
    EXPECT_TRUE(view().isVisible("NoPictureText"));
    EXPECT_EQ(view().caption(), "Vidorun");
}

TEST_F(StartUp, AFolderNamedAutorunInfIsNoProject)
{
    makeFolders(path("Autorun.inf"));
    start();
    EXPECT_EQ(project().ProjectFile, "");
    EXPECT_TRUE(fake.messages.shown.empty());
}

class FileExistsTest : public MainWindowTest {};

TEST_F(FileExistsTest, AnswersForTheFiveCases)
{
    writeFile("there.txt", "x");
    makeFolders(path("folder"));
    start();
    EXPECT_TRUE(window().FileExists("there.txt"));
    EXPECT_TRUE(window().FileExists(path("there.txt")));
    EXPECT_FALSE(window().FileExists("missing.txt"));
    EXPECT_FALSE(window().FileExists("nofolder/there.txt"));
    EXPECT_FALSE(window().FileExists("folder"));
    EXPECT_FALSE(window().FileExists(""));
}
