// A disc made on Windows, mounted here as plain ISO 9660: its names show in
// lower case while its Autorun.inf holds upper-case Windows paths. The program
// finds every file, and keeps and shows the paths as the project holds them.
#include "lowercase_disc.h"
#include "projectfile/letter_case.h"

#include <QLabel>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

using LowerCaseDisc = LowerCaseDiscTest;

TEST_F(LowerCaseDisc, StartUpListsTheMoviesAndShowsTheCover)
{
    makeDisc();
    start();

    EXPECT_EQ(project().ProjectFile, ".\\Autorun.inf");
    EXPECT_EQ(listedTitles(), QStringList({QStringLiteral("Part one"), QStringLiteral("Part two")}));
    EXPECT_EQ(label("TotalMoviesText")->text(), QStringLiteral("Total number of movies: 2"));
    EXPECT_EQ(window().windowTitle(), QStringLiteral("Vidorun ; Our Holiday"));
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(fake.pictures.loaded, QStringList({QStringLiteral("cover.jpg")}));
    EXPECT_TRUE(label("NoPictureText")->isHidden());
}

TEST_F(LowerCaseDisc, ThePathsStayAsStoredAndAllAreFound)
{
    makeDisc();
    start();

    const Project &p = project();
    EXPECT_EQ(p.CoverPicturePath, ".\\COVER.JPG");
    EXPECT_EQ(p.PlayerPath, "D:\\PLAYER\\SETUP.EXE");
    EXPECT_EQ(p.CodecPath, "CODEC\\INSTALL.EXE");
    EXPECT_EQ(p.MoviePaths[1], "D:\\MOVIES\\PART1.AVI");
    EXPECT_EQ(p.MoviePaths[2], ".\\MOVIES\\PART2.AVI");
    EXPECT_EQ(p.MovieCDs[1], "DISC1");

    for (const std::string &stored : {p.CoverPicturePath, p.PlayerPath, p.CodecPath, p.MoviePaths[1], p.MoviePaths[2],
                                      p.MovieCDs[1] + ".INI"})
        EXPECT_TRUE(window().FileExists(stored)) << stored;
    EXPECT_EQ(fake.files.resolve(p.MoviePaths[1]), "movies/part1.avi");
    EXPECT_EQ(fake.files.resolve(p.PlayerPath), "player/setup.exe");
    EXPECT_EQ(fake.files.resolve("DISC1.INI"), "disc1.ini");
}

TEST_F(LowerCaseDisc, MissingFilesFailCleanlyAndMessagesShowTheStoredText)
{
    makeDisc({QStringLiteral("COVER=.\\PICTURES\\MISSING.JPG"), QStringLiteral("TITLE03=Part three")});
    start();

    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_TRUE(fake.messages.shown[0].text.startsWith(QStringLiteral("There is an error in .\\Autorun.inf\r\n")));
    EXPECT_EQ(fake.messages.shown[1].text, QStringLiteral("The file .\\PICTURES\\MISSING.JPG does not exists!"));
    EXPECT_FALSE(label("NoPictureText")->isHidden());
    EXPECT_TRUE(fake.pictures.loaded.isEmpty());

    EXPECT_FALSE(window().FileExists(QStringLiteral("MOVIES\\PART9.AVI")));
    EXPECT_FALSE(window().FileExists(QStringLiteral("D:\\FILMS\\PART1.AVI")));
    EXPECT_FALSE(window().FileExists(QStringLiteral("DISC2.INI")));
    EXPECT_FALSE(window().FileExists(QStringLiteral("D:\\MOVIES")));
}

TEST_F(LowerCaseDisc, AnExactTwinWinsOverOneInAnotherCase)
{
    makeDisc();
    writePicture(QStringLiteral("COVER.JPG"), Qt::blue);
    start();

    EXPECT_EQ(fake.pictures.loaded, QStringList({QStringLiteral("COVER.JPG")}));
}

// The author made the project on Linux; the reader upper-cases what it wrote.
TEST_F(LowerCaseDisc, AProjectWrittenHereIsFoundAfterReadingBack)
{
    writePicture(QStringLiteral("pictures/our cover.jpg"), Qt::green);
    writeFile(QStringLiteral("movies/part1.avi"), "movie");
    writeFile(QStringLiteral("Autorun.inf"),
              projectFileBytes({QStringLiteral("[vidorun]"),
                                QStringLiteral("cover=") + path(QStringLiteral("pictures/our cover.jpg")),
                                QStringLiteral("movie01=") + path(QStringLiteral("movies/part1.avi")),
                                QStringLiteral("title01=Part one"), QStringLiteral("mdisk01=Disc1")}));
    start();

    EXPECT_EQ(project().CoverPicturePath, projectUpper(path(QStringLiteral("pictures/our cover.jpg")).toStdString(), true));
    EXPECT_EQ(fake.pictures.loaded, QStringList({path(QStringLiteral("pictures/our cover.jpg"))}));
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_TRUE(window().FileExists(project().MoviePaths[1]));
    EXPECT_EQ(fake.files.resolve(project().MoviePaths[1]), path(QStringLiteral("movies/part1.avi")).toStdString());
}

}  // namespace
