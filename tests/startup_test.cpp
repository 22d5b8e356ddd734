// The program starting in a folder: with and without a project file.
#include "support/main_window_fixture.h"

#include <QComboBox>
#include <QLabel>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

QByteArray threeMovieProject(const QString &cover = QStringLiteral("cover.jpg"))
{
    return projectFileBytes({"[autorun]", "OPEN=Vidorun.exe", "ICON=Vidorun.exe,0", "", "[vidorun]", "close=0",
                             "the_title=Holiday", "cover=" + cover, "player=", "codec=",
                             "movie01=one.avi", "title01=First", "mdisk01=DISC1",
                             "movie02=two.avi", "title02=Second", "mdisk02=DISC1",
                             "movie03=three.avi", "title03=third one", "mdisk03=DISC2"});
}

void writeCover(const QString &path)
{
    QImage image(40, 60, QImage::Format_RGB32);
    image.fill(Qt::darkBlue);
    ASSERT_TRUE(image.save(path, "JPG"));
}

}  // namespace

class StartUp : public MainWindowTest {};

TEST_F(StartUp, WithoutAProjectFileTheProjectIsEmptyAndNothingIsSaid)
{
    start();
    const Project &p = project();
    EXPECT_EQ(p.TitleCount, QStringLiteral("0"));
    EXPECT_EQ(p.PathCount, QStringLiteral("0"));
    EXPECT_EQ(p.CDCount, QStringLiteral("0"));
    EXPECT_EQ(p.TrayState, QStringLiteral("CLOSED"));
    EXPECT_EQ(p.PlatformId, QStringLiteral("1"));
    EXPECT_TRUE(p.ProjectFile.isEmpty());
    EXPECT_TRUE(p.ProjectTitle.isEmpty());
    EXPECT_TRUE(p.CoverPicturePath.isEmpty());
    EXPECT_TRUE(p.CloseAfterPlay.isEmpty());
    EXPECT_EQ(movies()->count(), 0);
    EXPECT_EQ(label("TotalMoviesText")->text(), QStringLiteral("Total number of movies: 0"));
    EXPECT_TRUE(label("NoPictureText")->isVisible());
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Vidorun"));
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(StartUp, ListsTheMoviesOfTheProjectFileInTheWorkingFolder)
{
    writeFile(QStringLiteral("Autorun.inf"), threeMovieProject());
    writeCover(path(QStringLiteral("cover.jpg")));
    fake.system.id = 2;
    start();
    EXPECT_EQ(project().ProjectFile, QStringLiteral(".\\Autorun.inf"));
    EXPECT_EQ(project().PlatformId, QStringLiteral("2"));
    EXPECT_EQ(listedTitles(), (QStringList{"First", "Second", "third one"}));
    EXPECT_EQ(movies()->currentIndex(), -1);
    EXPECT_EQ(label("TotalMoviesText")->text(), QStringLiteral("Total number of movies: 3"));
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Vidorun ; Holiday"));
    EXPECT_FALSE(label("NoPictureText")->isVisible());
    EXPECT_FALSE(label("CoverPicture")->pixmap().isNull());
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(StartUp, DisagreeingCountersAreReportedWordForWord)
{
    writeFile(QStringLiteral("Autorun.inf"),
              projectFileBytes({"movie01=a", "title01=A", "mdisk01=X", "movie02=b", "title02=B", "mdisk02=Y",
                                "title03=C"}));
    start();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    const ShownMessage &m = fake.messages.shown[0];
    EXPECT_EQ(m.text, QStringLiteral("There is an error in .\\Autorun.inf\r\n\r\nThere are:\r\n\r\n"
                                     "3 movie titles\r\n2 paths to them \r\n2 CD parameters!"));
    EXPECT_EQ(m.title, QStringLiteral("Shit ... Error!"));
    EXPECT_EQ(m.style, MsgStyle::Critical);
    // The list still shows all three titles.
    EXPECT_EQ(listedTitles(), (QStringList{"A", "B", "C"}));
}

TEST_F(StartUp, AMissingCoverIsNamedAsStored)
{
    writeFile(QStringLiteral("Autorun.inf"), threeMovieProject(QStringLiteral("gone.jpg")));
    start();
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("The file GONE.JPG does not exists!"));
    EXPECT_TRUE(label("NoPictureText")->isVisible());
    EXPECT_EQ(listedTitles().size(), 3);
}

TEST_F(StartUp, ACoverThatIsNoPictureLeavesThePlaceholderAndTheList)
{
    writeFile(QStringLiteral("Autorun.inf"), threeMovieProject(QStringLiteral("notapicture.jpg")));
    writeFile(QStringLiteral("notapicture.jpg"), "just text");
    start();
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_TRUE(label("NoPictureText")->isVisible());
    EXPECT_EQ(listedTitles().size(), 3);
}

TEST_F(StartUp, AGroupNumberedFiveAloneListsAnEmptyFirstElement)
{
    writeFile(QStringLiteral("Autorun.inf"), projectFileBytes({"movie05=a", "title05=Five", "mdisk05=X"}));
    start();
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(listedTitles(), QStringList{QString()});
    EXPECT_EQ(project().MovieTitles[5], QStringLiteral("Five"));
}

TEST_F(StartUp, TitleCountPastTheTablesListsOneHundred)
{
    QStringList lines;
    for (int i = 0; i < 150; ++i)
        lines << QStringLiteral("title%1=T%2").arg(10 + i % 90).arg(i);
    writeFile(QStringLiteral("Autorun.inf"), projectFileBytes(lines));
    start();
    EXPECT_EQ(project().TitleCount, QStringLiteral("150"));
    EXPECT_EQ(movies()->count(), 100);
}

// Desktops offer Vidorun for every disc with an Autorun.inf, another
// program's CD among them: its menu is empty, and nothing is said.
TEST_F(StartUp, AnotherProgramsAutorunInfShowsAnEmptyMenuAndSaysNothing)
{
    writeFile(QStringLiteral("AUTORUN.INF"),
              projectFileBytes({"[autorun]", "open=setup.exe /autorun", "icon=setup.exe,0", "label=Super Game 2",
                                "action=Install Super Game 2", "shell\\install=&Install",
                                "shell\\install\\command=setup.exe /install"}));
    start();
    EXPECT_EQ(project().ProjectFile, QStringLiteral(".\\Autorun.inf"));
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(movies()->count(), 0);
    EXPECT_EQ(label("TotalMoviesText")->text(), QStringLiteral("Total number of movies: 0"));
    EXPECT_TRUE(label("NoPictureText")->isVisible());
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Vidorun"));
}

TEST_F(StartUp, AFolderNamedAutorunInfIsNoProject)
{
    ASSERT_TRUE(QDir().mkdir(path(QStringLiteral("Autorun.inf"))));
    start();
    EXPECT_TRUE(project().ProjectFile.isEmpty());
    EXPECT_TRUE(fake.messages.shown.empty());
}

class FileExistsTest : public MainWindowTest {};

TEST_F(FileExistsTest, AnswersForTheFiveCases)
{
    writeFile(QStringLiteral("there.txt"), "x");
    QDir().mkdir(path(QStringLiteral("folder")));
    start();
    EXPECT_TRUE(window().FileExists(QStringLiteral("there.txt")));
    EXPECT_TRUE(window().FileExists(path(QStringLiteral("there.txt"))));
    EXPECT_FALSE(window().FileExists(QStringLiteral("missing.txt")));
    EXPECT_FALSE(window().FileExists(QStringLiteral("nofolder/there.txt")));
    EXPECT_FALSE(window().FileExists(QStringLiteral("folder")));
    EXPECT_FALSE(window().FileExists(QString()));
}
