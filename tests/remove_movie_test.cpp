// Movie > Remove movie: the list of titles and the hand-over of a number.
#include "child_window_fixture.h"
#include "support/sample_projects.h"

namespace vidorun::testing {
namespace {

using Strings = std::vector<std::string>;

class RemoveMovieTest : public ChildWindowTest {
protected:
    // A project of movies with these titles; movie n lives in Mn.AVI on CDn.
    void readMovies(const Strings &titles)
    {
        Strings lines{"[vidorun]"};
        for (std::size_t i = 0; i < titles.size(); ++i) {
            const std::string n = std::to_string(i + 1);
            addMovieLines(lines, int(i + 1), "M" + n + ".AVI", titles[i], "CD" + n);
        }
        readProject(lines);
    }
    void openRemoveMovie()
    {
        trigger("REMOVEMOVIE");
        expectOpen("RemoveMovieForm");
    }
    Strings lines()
    {
        Strings shown;
        for (int i = 0; i < childView().itemCount("RemoveMovieList"); ++i)
            shown.push_back(childView().itemText("RemoveMovieList", i));
        return shown;
    }
    void selectLine(int row)
    {
        selectInChild("RemoveMovieList", row);
        ASSERT_EQ(childView().currentIndex("RemoveMovieList"), row);
    }
    void removeLine(int row)
    {
        openRemoveMovie();
        selectLine(row);
        clickChild("RemoveButton");
    }
};

TEST_F(RemoveMovieTest, WindowIsLaidOutAsDesignedAndListsEveryTitle)
{
    start();
    readMovies({"Sunrise", "Harbour", "Night market"});
    openRemoveMovie();
    expectLayout("remove movie", 466, 298,
                 {
                     {"SelectMovieText", 16, 48, 377, 17},
                     {"RemoveMovieList", 16, 80, 433, 160},
                     {"RemoveButton", 280, 256, 81, 25},
                     {"CloseButton", 368, 256, 81, 25},
                 });
    EXPECT_EQ(childView().text("SelectMovieText"), "Select the movie to remove from this project:");
    EXPECT_EQ(childView().text("RemoveButton"), "Remove");
    EXPECT_EQ(childView().text("CloseButton"), "Close");
    const ui::Control &list = *child()->description().control("RemoveMovieList");
    EXPECT_FALSE(list.accessibleName.empty());
    EXPECT_EQ(list.kind, ui::ControlKind::ListBox) << "one line selectable";

    EXPECT_EQ(lines(), (Strings{"Sunrise", "Harbour", "Night market"}));
    EXPECT_FALSE(view().isWindowEnabled());
    // The list has the focus, and that selects nothing.
    expectFocusOn("RemoveMovieList");
    EXPECT_EQ(childView().currentIndex("RemoveMovieList"), -1);
    // Choosing another line drops the first: one line at a time.
    selectLine(0);
    selectLine(2);
}

TEST_F(RemoveMovieTest, AnEmptyProjectHasNothingToRemove)
{
    start();
    trigger("REMOVEMOVIE");
    EXPECT_EQ(child(), nullptr);
    EXPECT_TRUE(view().isWindowEnabled());
    EXPECT_EQ(fake.messages.shown, (std::vector<ShownMessage>{
                  {"There are no movies to remove!", "No movies te remove!", MsgStyle::Critical}}));
}

TEST_F(RemoveMovieTest, RemovingMovieTwoOfFourMovesTheLaterOnesUp)
{
    start();
    readMovies({"One", "Two", "Three", "Four"});
    removeLine(1);
    expectMainWindowBack();

    EXPECT_EQ(listedTitles(), (Strings{"One", "Three", "Four"}));
    const Project &p = project();
    EXPECT_EQ(p.MovieTitles[2], "Three");
    EXPECT_EQ(p.MoviePaths[2], "M3.AVI");
    EXPECT_EQ(p.MovieCDs[2], "CD3");
    EXPECT_EQ(p.MovieTitles[3], "Four");
    EXPECT_EQ(p.MoviePaths[3], "M4.AVI");
    EXPECT_EQ(p.MovieCDs[3], "CD4");
    EXPECT_EQ(p.MovieTitles[4], "");
    EXPECT_EQ(p.MoviePaths[4], "");
    EXPECT_EQ(p.MovieCDs[4], "");
    EXPECT_EQ(p.TitleCount, "3");
    EXPECT_EQ(p.PathCount, "3");
    EXPECT_EQ(p.CDCount, "3");
    EXPECT_EQ(view().text("tempremovemovie"), "empty");
    EXPECT_TRUE(fake.messages.shown.empty());

    // The next opening lists what is left.
    openRemoveMovie();
    EXPECT_EQ(lines(), (Strings{"One", "Three", "Four"}));
}

TEST_F(RemoveMovieTest, EqualTitlesAreTakenByTheirPosition)
{
    start();
    readMovies({"Part", "Part", "Other"});
    removeLine(1);
    expectMainWindowBack();
    EXPECT_EQ(listedTitles(), (Strings{"Part", "Other"}));
    EXPECT_EQ(project().MoviePaths[1], "M1.AVI");
    EXPECT_EQ(project().MoviePaths[2], "M3.AVI");
}

TEST_F(RemoveMovieTest, RemoveWithoutASelectionSaysSoAndCloses)
{
    start();
    readMovies({"One", "Two"});
    openRemoveMovie();
    expectFocusOn("RemoveMovieList");
    clickChild("RemoveButton");
    EXPECT_EQ(fake.messages.shown, (std::vector<ShownMessage>{
                  {"You did not select a movie to remove!", "Nothing to do!", MsgStyle::Critical}}));
    expectMainWindowBack();
    EXPECT_EQ(listedTitles(), (Strings{"One", "Two"}));
    EXPECT_EQ(project().TitleCount, "2");
}

TEST_F(RemoveMovieTest, CloseEscAndTheCloseBoxRemoveNothing)
{
    start();
    readMovies({"One", "Two"});

    openRemoveMovie();
    selectLine(0);
    clickChild("CloseButton");
    expectMainWindowBack();

    // Esc presses Close.
    openRemoveMovie();
    selectLine(0);
    pressOnChild(Key::Escape);
    expectMainWindowBack();

    // The close box and Alt+F4 act as Close.
    openRemoveMovie();
    selectLine(0);
    ui.closeBox(childView());
    expectMainWindowBack();

    openRemoveMovie();
    selectLine(0);
    pressOnChild(Key::AltF4);
    expectMainWindowBack();

    EXPECT_EQ(listedTitles(), (Strings{"One", "Two"}));
    EXPECT_EQ(view().text("tempremovemovie"), "empty");
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(RemoveMovieTest, EnterOnTheListPressesNothing)
{
    start();
    readMovies({"One", "Two"});
    openRemoveMovie();
    selectLine(1);
    expectFocusOn("RemoveMovieList");
    pressOnChild(Key::Enter);
    ASSERT_NE(child(), nullptr);
    EXPECT_EQ(project().TitleCount, "2");

    // On a focused button Enter presses that button.
    pressOnChild(Key::Tab);
    expectFocusOn("RemoveButton");
    pressOnChild(Key::Enter);
    expectMainWindowBack();
    EXPECT_EQ(listedTitles(), (Strings{"One"}));
}

}  // namespace
}  // namespace vidorun::testing
