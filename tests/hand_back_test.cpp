// What child windows hand back through the hidden transfer labels, applied
// when the main window becomes active again.
#include "support/main_window_fixture.h"
#include "support/sample_projects.h"

#include <functional>

using namespace vidorun;
using namespace vidorun::testing;

class HandBack : public MainWindowTest {
protected:
    void startWithMovies(int count)
    {
        std::vector<std::string> lines;
        for (int i = 1; i <= count; ++i) {
            const std::string n = std::to_string(i);
            addMovieLines(lines, i, "path" + n, "Title " + n, "CD" + n);
        }
        writeFile("Autorun.inf", projectText(lines));
        start();
    }

    // A child window (the about box) is open while `write` fills the
    // fields, then closes: the main window applies them.
    void handBack(const std::function<void()> &write)
    {
        trigger("ABOUTSCREEN");
        ASSERT_NE(child(), nullptr);
        EXPECT_FALSE(view().isWindowEnabled());
        write();
        clickChild("cmdOK");
        EXPECT_TRUE(view().isWindowEnabled());
    }

    void add(const std::string &name, const std::string &cd, const std::string &location)
    {
        handBack([&] {
            window().setTransferField("tempmoviecd", cd);
            window().setTransferField("tempmovielocation", location);
            window().setTransferField("tempmoviename", name);
        });
    }

    void remove(int number)
    {
        handBack([&] { window().setTransferField("tempremovemovie", std::to_string(number)); });
    }

    void expectFieldsIdle()
    {
        EXPECT_EQ(view().text("tempmoviename"), "empty");
        EXPECT_EQ(view().text("tempmoviecd"), "empty");
        EXPECT_EQ(view().text("tempmovielocation"), "empty");
        EXPECT_EQ(view().text("tempremovemovie"), "empty");
    }
};

TEST_F(HandBack, AnAddAppendsOnceAndKeepsTheTypedCase)
{
    startWithMovies(2);
    add("New one", "Disc3", "c:\\x.avi");
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"Title 1", "Title 2", "New one"}));
    EXPECT_EQ(view().text("TotalMoviesText"), "Total number of movies: 3");
    EXPECT_EQ(project().MovieCDs[3], "Disc3");
    EXPECT_EQ(project().MoviePaths[3], "c:\\x.avi");
    EXPECT_EQ(project().PathCount, "3");
    expectFieldsIdle();
    // Another activation changes nothing.
    handBack([] {});
    activate();
    EXPECT_EQ(view().itemCount("Movies"), 3);
}

TEST_F(HandBack, AnAddWithAFieldReadingEmptyIsNotApplied)
{
    startWithMovies(1);
    add("empty", "cd", "x.avi");
    EXPECT_EQ(view().itemCount("Movies"), 1);
    EXPECT_EQ(project().TitleCount, "1");
}

TEST_F(HandBack, RemovingMovieTwoOfFourMovesTheLaterOnesUp)
{
    startWithMovies(4);
    remove(2);
    const Project &p = project();
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"Title 1", "Title 3", "Title 4"}));
    EXPECT_EQ(p.MoviePaths[2], "PATH3");
    EXPECT_EQ(p.MovieCDs[3], "CD4");
    EXPECT_EQ(p.MovieTitles[4], "");
    EXPECT_EQ(p.MoviePaths[4], "");
    EXPECT_EQ(p.MovieCDs[4], "");
    EXPECT_EQ(p.TitleCount, "3");
    EXPECT_EQ(p.PathCount, "3");
    EXPECT_EQ(p.CDCount, "3");
    EXPECT_EQ(view().text("TotalMoviesText"), "Total number of movies: 3");
    expectFieldsIdle();
    handBack([] {});
    EXPECT_EQ(view().itemCount("Movies"), 3);
}

TEST_F(HandBack, RemovingTheLastMovieEmptiesItsElements)
{
    startWithMovies(3);
    remove(3);
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"Title 1", "Title 2"}));
    EXPECT_EQ(project().MovieTitles[3], "");
    EXPECT_EQ(project().MovieTitles[2], "Title 2");
}

TEST_F(HandBack, AnAddAndARemovalInOneActivationAddFirst)
{
    startWithMovies(2);
    handBack([&] {
        window().setTransferField("tempmoviecd", "CD9");
        window().setTransferField("tempmovielocation", "nine.avi");
        window().setTransferField("tempmoviename", "Nine");
        window().setTransferField("tempremovemovie", "3");
    });
    // Movie 3 is the one just added, so it goes again.
    EXPECT_EQ(listedTitles(), (std::vector<std::string>{"Title 1", "Title 2"}));
    expectFieldsIdle();
}

TEST_F(HandBack, ARemovalOutsideTheListIsIgnored)
{
    startWithMovies(2);
    remove(7);
    EXPECT_EQ(view().itemCount("Movies"), 2);
    EXPECT_EQ(project().TitleCount, "2");
    expectFieldsIdle();
}

TEST_F(HandBack, TheFieldsAreNeverShown)
{
    startWithMovies(1);
    window().setTransferField("tempmoviename", "pending");
    for (const char *field : {"tempmoviename", "tempmoviecd", "tempmovielocation", "tempremovemovie"})
        EXPECT_FALSE(view().isVisible(field)) << field;
}
