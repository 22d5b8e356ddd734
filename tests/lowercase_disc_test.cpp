// A disc made on Windows, mounted here as plain ISO 9660: its names show in
// lower case while its Autorun.inf holds upper-case Windows paths. The program
// finds every file, and keeps and shows the paths as the project holds them.
#include "lowercase_disc.h"
#include "projectfile/letter_case.h"

using namespace vidorun;
using namespace vidorun::testing;

namespace {

using LowerCaseDisc = LowerCaseDiscTest;
using Strings = std::vector<std::string>;

TEST_F(LowerCaseDisc, StartUpListsTheMoviesAndShowsTheCover)
{
    makeDisc();
    start();

    EXPECT_EQ(project().ProjectFile, ".\\Autorun.inf");
    EXPECT_EQ(listedTitles(), (Strings{"Part one", "Part two"}));
    EXPECT_EQ(view().text("TotalMoviesText"), "Total number of movies: 2");
    EXPECT_EQ(view().caption(), "Vidorun ; Our Holiday");
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(fake.pictures.loaded, Strings{"cover.jpg"});
    EXPECT_FALSE(view().isVisible("NoPictureText"));
    EXPECT_TRUE(ui.showsPicture(view(), "CoverPicture"));
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
    makeDisc({"COVER=.\\PICTURES\\MISSING.JPG", "TITLE03=Part three"});
    start();

    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_EQ(fake.messages.shown[0].text.rfind("There is an error in .\\Autorun.inf\r\n", 0), 0u);
    EXPECT_EQ(fake.messages.shown[1].text, "The file .\\PICTURES\\MISSING.JPG does not exists!");
    EXPECT_TRUE(view().isVisible("NoPictureText"));
    EXPECT_EQ(fake.pictures.loaded, Strings{});

    EXPECT_FALSE(window().FileExists("MOVIES\\PART9.AVI"));
    EXPECT_FALSE(window().FileExists("D:\\FILMS\\PART1.AVI"));
    EXPECT_FALSE(window().FileExists("DISC2.INI"));
    EXPECT_FALSE(window().FileExists("D:\\MOVIES"));
}

TEST_F(LowerCaseDisc, AnExactTwinWinsOverOneInAnotherCase)
{
    makeDisc();
    writePicture("COVER.JPG", 0, 0, 255);
    start();

    EXPECT_EQ(fake.pictures.loaded, Strings{"COVER.JPG"});
}

// The author made the project on Linux; the reader upper-cases what it wrote.
TEST_F(LowerCaseDisc, AProjectWrittenHereIsFoundAfterReadingBack)
{
    writePicture("pictures/our cover.jpg", 0, 255, 0);
    writeFile("movies/part1.avi", "movie");
    writeFile("Autorun.inf", projectText({"[vidorun]", "cover=" + path("pictures/our cover.jpg"),
                                          "movie01=" + path("movies/part1.avi"), "title01=Part one",
                                          "mdisk01=Disc1"}));
    start();

    EXPECT_EQ(project().CoverPicturePath, projectUpper(path("pictures/our cover.jpg"), true));
    EXPECT_EQ(fake.pictures.loaded, Strings{path("pictures/our cover.jpg")});
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_TRUE(window().FileExists(project().MoviePaths[1]));
    EXPECT_EQ(fake.files.resolve(project().MoviePaths[1]), path("movies/part1.avi"));
}

}  // namespace
