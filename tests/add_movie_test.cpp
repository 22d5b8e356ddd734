// Movie > Add movie: the window, its checks, the file choice and the hand-over.
#include "child_window_fixture.h"

#include "projectfile/letter_case.h"
#include "support/sample_projects.h"

namespace vidorun::testing {
namespace {

using Strings = std::vector<std::string>;

class AddMovieTest : public ChildWindowTest {
protected:
    void openAddMovie()
    {
        trigger("ADDMOVIE");
        expectOpen("AddMovieForm");
    }
    void type(std::string_view box, std::string_view text) { typeInChild(box, text); }
    // A real movie file in the working folder, by its full path.
    std::string movieFile(const std::string &name)
    {
        writeFile(name, "RIFF....AVI LIST");
        return path(name);
    }
    // Fills the window and presses OK; the dialog answers `chosen`.
    void addMovie(const std::string &name, const std::string &cd, const std::optional<std::string> &chosen)
    {
        openAddMovie();
        type("MovieName", name);
        type("MovieCD", cd);
        fake.dialogs.answers.push_back(chosen);
        clickChild("BrowseButton");
        clickChild("OKButton");
    }
};

TEST_F(AddMovieTest, WindowIsLaidOutAsDesigned)
{
    start();
    openAddMovie();
    expectLayout("add movie", 416, 124,
                 {
                     {"MovieTitleText", 8, 16, 81, 17},
                     {"MovieName", 104, 16, 305, 19},
                     {"MovieLocationText", 8, 32, 81, 17},
                     {"MovieCD", 104, 32, 305, 19},
                     {"Label1", 8, 48, 81, 17},
                     {"MovieLocation", 104, 48, 305, 19},
                     {"BrowseButton", 176, 80, 73, 25},
                     {"OKButton", 256, 80, 73, 25},
                     {"CancelButton", 336, 80, 73, 25},
                 });
    const ui::Window &d = child()->description();
    for (const char *name : {"MovieTitleText", "MovieLocationText", "Label1"})
        EXPECT_EQ(d.control(name)->align, ui::Align::Right) << name;
    EXPECT_EQ(childView().text("MovieTitleText"), "Movie Name:");
    EXPECT_EQ(childView().text("MovieLocationText"), "Located on:");
    EXPECT_EQ(childView().text("Label1"), "Location:");
    EXPECT_EQ(childView().text("BrowseButton"), "Location...");

    for (const char *name : {"MovieName", "MovieCD", "MovieLocation"}) {
        EXPECT_EQ(childView().text(name), "") << name;
        EXPECT_FALSE(d.control(name)->accessibleName.empty()) << name;
    }
    EXPECT_FALSE(childView().isEnabled("MovieLocation"));
    EXPECT_FALSE(view().isWindowEnabled());

    // Focus starts on Location... and goes round Browse, OK, Cancel, the
    // location (once it takes typing), the CD label and the name.
    expectFocusOn("BrowseButton");
    expectTabVisits({"OKButton", "CancelButton", "MovieCD", "MovieName", "BrowseButton"});
    fake.dialogs.answers.push_back(movieFile("SUNRISE.AVI"));
    clickChild("BrowseButton");
    expectFocusOn("BrowseButton");
    expectTabVisits({"OKButton", "CancelButton", "MovieLocation", "MovieCD", "MovieName", "BrowseButton"});
}

TEST_F(AddMovieTest, EnterPressesOnlyAFocusedButtonAndEscDoesNothing)
{
    start();
    openAddMovie();
    type("MovieName", "Sunrise");
    type("MovieCD", "HOLIDAY1");
    EXPECT_TRUE(child()->description().defaultButton.empty()) << "no button is the default";
    pressOnChild(Key::Enter);
    pressOnChild(Key::Escape);
    ASSERT_NE(child(), nullptr);
    EXPECT_TRUE(fake.dialogs.uses.empty());
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(project().TitleCount, "0");

    // As on Windows, Enter presses the button that has the focus.
    childView().setFocus("BrowseButton");
    fake.dialogs.answers.push_back(std::nullopt);
    pressOnChild(Key::Enter);
    EXPECT_EQ(fake.dialogs.uses.size(), 1u);
    ASSERT_NE(child(), nullptr);
}

TEST_F(AddMovieTest, OkChecksTheNameFirstThenTheCdLabel)
{
    start();
    openAddMovie();
    clickChild("OKButton");
    EXPECT_EQ(fake.messages.shown, (std::vector<ShownMessage>{
                  {"Please fill in a name for your movie", "Did we forgot something?", MsgStyle::Critical}}));

    type("MovieName", "Sunrise");
    clickChild("OKButton");
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_EQ(fake.messages.shown[1].text, "Please fill in location for your movie");
    EXPECT_EQ(fake.messages.shown[1].title, "Did we forgot something?");

    // A blank is a filled-in name; the window stays open with what was typed.
    ASSERT_NE(child(), nullptr);
    EXPECT_EQ(childView().text("MovieName"), "Sunrise");
    EXPECT_TRUE(fake.dialogs.uses.empty());
    EXPECT_EQ(view().text("tempmoviename"), "empty");
}

TEST_F(AddMovieTest, BrowseAsksForAMovieAndFillsTheLocation)
{
    start();
    openAddMovie();
    const std::string movie = movieFile("MOVIES/SUNRISE.AVI");
    fake.dialogs.answers.push_back(movie);
    clickChild("BrowseButton");

    ASSERT_EQ(fake.dialogs.uses.size(), 1u);
    const FileDialogRequest &asked = fake.dialogs.uses[0].request;
    EXPECT_EQ(fake.dialogs.uses[0].kind, FileDialogKind::Open);
    EXPECT_EQ(asked.title, "Select a movie to add");
    EXPECT_EQ(asked.filter, "All Files (*.*)|*.*|Movies (*.avi)|*.avi");
    EXPECT_EQ(asked.filterIndex, 2);
    EXPECT_EQ(asked.flags, 4);
    EXPECT_EQ(asked.fileName, "");
    EXPECT_EQ(childView().text("MovieLocation"), movie);
    EXPECT_TRUE(childView().isEnabled("MovieLocation"));
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(AddMovieTest, BrowseRefusesAMissingFileAndACancelChangesNothing)
{
    start();
    openAddMovie();
    fake.dialogs.answers.push_back(path("GONE.AVI"));
    clickChild("BrowseButton");
    EXPECT_EQ(fake.messages.shown, (std::vector<ShownMessage>{{"The movie " + path("GONE.AVI") + " does not exists!",
                                                               "Shit ... Error!", MsgStyle::Critical}}));

    clickChild("BrowseButton");  // cancelled
    EXPECT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(childView().text("MovieLocation"), "");
    EXPECT_FALSE(childView().isEnabled("MovieLocation"));
    ASSERT_NE(child(), nullptr);
}

TEST_F(AddMovieTest, OkHandsTheMovieOverAndItIsListedLast)
{
    start();
    readProject({"[vidorun]", "movie01=A.AVI", "title01=First", "mdisk01=ONE"});
    const std::string movie = movieFile("Second Movie.avi");
    addMovie("Second", "two", movie);

    expectMainWindowBack();
    EXPECT_EQ(listedTitles(), (Strings{"First", "Second"}));
    EXPECT_EQ(project().TitleCount, "2");
    EXPECT_EQ(project().MoviePaths[2], movie);
    EXPECT_EQ(project().MovieCDs[2], "two");
    EXPECT_EQ(view().text("TotalMoviesText"), "Total number of movies: 2");
    for (const char *field : {"tempmoviename", "tempmoviecd", "tempmovielocation"})
        EXPECT_EQ(view().text(field), "empty") << field;
}

TEST_F(AddMovieTest, OkWithoutAFileOffersTheDialogOnce)
{
    start();
    const std::string movie = movieFile("SUNRISE.AVI");

    // The dialog chooses the file: the movie is added with it.
    openAddMovie();
    type("MovieName", "Sunrise");
    type("MovieCD", "HOLIDAY1");
    fake.dialogs.answers.push_back(movie);
    clickChild("OKButton");
    ASSERT_EQ(fake.dialogs.uses.size(), 1u);
    EXPECT_EQ(fake.dialogs.uses[0].request.title, "Select a movie to add");
    expectMainWindowBack();
    EXPECT_EQ(project().MoviePaths[1], movie);

    // The dialog is cancelled: the movie is added all the same, without a path.
    openAddMovie();
    type("MovieName", "Night");
    type("MovieCD", "HOLIDAY2");
    clickChild("OKButton");
    EXPECT_EQ(fake.dialogs.uses.size(), 2u);
    expectMainWindowBack();
    EXPECT_EQ(project().TitleCount, "2");
    EXPECT_EQ(project().MovieTitles[2], "Night");
    EXPECT_EQ(project().MoviePaths[2], "");
    EXPECT_EQ(project().MovieCDs[2], "HOLIDAY2");
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(AddMovieTest, TheWordEmptyIsNeverAdded)
{
    start();
    const std::string movie = movieFile("SUNRISE.AVI");
    addMovie("empty", "HOLIDAY1", movie);
    EXPECT_EQ(project().TitleCount, "0");
    addMovie("Sunrise", "empty", movie);
    EXPECT_EQ(project().TitleCount, "0");

    // A path typed over with "empty".
    openAddMovie();
    type("MovieName", "Sunrise");
    type("MovieCD", "HOLIDAY1");
    fake.dialogs.answers.push_back(movie);
    clickChild("BrowseButton");
    childView().setText("MovieLocation", "");
    type("MovieLocation", "empty");
    clickChild("OKButton");
    expectMainWindowBack();
    EXPECT_EQ(project().TitleCount, "0");
    EXPECT_EQ(listedTitles(), Strings{});
}

TEST_F(AddMovieTest, BrowseStartsOnTheNameChosenLastInAnyFileDialog)
{
    start();
    const std::string project = path("elsewhere/Autorun.inf");
    writeFile("elsewhere/Autorun.inf", projectText({"[vidorun]"}));
    fake.dialogs.answers.push_back(project);
    trigger("OPENINIFILE");

    openAddMovie();
    clickChild("BrowseButton");
    ASSERT_EQ(fake.dialogs.uses.size(), 2u);
    EXPECT_EQ(fake.dialogs.uses[1].request.fileName, project);
}

TEST_F(AddMovieTest, AnEditedLocationIsHandedOverAsTyped)
{
    start();
    openAddMovie();
    type("MovieName", "Sunrise");
    type("MovieCD", "HOLIDAY1");
    fake.dialogs.answers.push_back(movieFile("SUNRISE.AVI"));
    clickChild("BrowseButton");
    childView().setText("MovieLocation", "");
    type("MovieLocation", "  D:\\Movies\\Not there.avi");
    clickChild("OKButton");
    expectMainWindowBack();
    EXPECT_EQ(project().MoviePaths[1], "  D:\\Movies\\Not there.avi");
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(AddMovieTest, CancelAndTheCloseBoxHandNothingOverAndTheNextOpeningIsFresh)
{
    start();
    openAddMovie();
    type("MovieName", "Sunrise");
    type("MovieCD", "HOLIDAY1");
    fake.dialogs.answers.push_back(movieFile("SUNRISE.AVI"));
    clickChild("BrowseButton");
    clickChild("CancelButton");
    expectMainWindowBack();
    EXPECT_EQ(project().TitleCount, "0");
    EXPECT_EQ(view().text("tempmoviename"), "empty");

    openAddMovie();
    EXPECT_EQ(childView().text("MovieName"), "");
    EXPECT_EQ(childView().text("MovieCD"), "");
    EXPECT_EQ(childView().text("MovieLocation"), "");
    EXPECT_FALSE(childView().isEnabled("MovieLocation"));

    // The close box and Alt+F4 act as Cancel.
    type("MovieName", "Sunrise");
    type("MovieCD", "HOLIDAY1");
    ui.closeBox(childView());
    expectMainWindowBack();
    EXPECT_EQ(project().TitleCount, "0");

    openAddMovie();
    type("MovieName", "Sunrise");
    type("MovieCD", "HOLIDAY1");
    pressOnChild(Key::AltF4);
    expectMainWindowBack();
    EXPECT_EQ(project().TitleCount, "0");
}

TEST_F(AddMovieTest, AFullProjectRefusesAnotherMovie)
{
    Strings lines{"[vidorun]"};
    for (int n = 1; n <= 98; ++n)
        addMovieLines(lines, n, "M" + twoDigits(n) + ".AVI", "Movie " + twoDigits(n), "CD");
    start();
    readProject(lines);
    ASSERT_EQ(project().TitleCount, "98");

    // The 99th movie still fits in a project file...
    addMovie("Movie 99", "CD", movieFile("M99.AVI"));
    expectMainWindowBack();
    ASSERT_EQ(project().TitleCount, "99");
    EXPECT_TRUE(fake.messages.shown.empty());

    // ...a 100th would be lost on the next write, so the window stays shut.
    trigger("ADDMOVIE");
    EXPECT_EQ(child(), nullptr);
    EXPECT_TRUE(view().isWindowEnabled());
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_NE(fake.messages.shown[0].text.find("99"), std::string::npos);
    EXPECT_NE(fake.messages.shown[0].text.find("full"), std::string::npos);
    EXPECT_EQ(fake.messages.shown[0].style, MsgStyle::Critical);
    EXPECT_EQ(project().TitleCount, "99");

    // A hand-made file whose path table is full, though it lists one title:
    // refused as well, not taken and then dropped.
    Strings paths{"[vidorun]", "title01=Only one"};
    for (int n = 0; n < 100; ++n)
        paths.push_back("movie01=M01.AVI");
    fake.messages.shown.clear();
    readProject(paths);
    ASSERT_EQ(project().TitleCount, "1");
    trigger("ADDMOVIE");
    EXPECT_EQ(child(), nullptr);
    ASSERT_EQ(fake.messages.shown.size(), 2u) << "the counter check, then the refusal";
    EXPECT_EQ(fake.messages.shown[1].title, "No room for another movie!");
}

// The author's whole road: movies added through the window, the project
// written, and read back as another project.
class AuthorRoundTrip : public AddMovieTest {};

TEST_F(AuthorRoundTrip, AddedMoviesAreWrittenAndReadBack)
{
    start();
    addMovie("Sunrise, the long cut", "Holiday1", movieFile("one.avi"));
    addMovie("Night", "Holiday2", movieFile("two.avi"));
    ASSERT_EQ(listedTitles(), (Strings{"Sunrise, the long cut", "Night"}));

    const std::string saved = path("disc/Autorun.inf");
    makeFolders(path("disc"));
    fake.dialogs.answers.push_back(saved);
    trigger("SAVEFILE");
    ASSERT_TRUE(fake.messages.shown.empty());

    // After the Write, the movie dialog offers the project file's name.
    openAddMovie();
    fake.dialogs.answers.push_back(std::nullopt);
    clickChild("BrowseButton");
    EXPECT_EQ(fake.dialogs.uses.back().request.fileName, saved);
    clickChild("CancelButton");

    fake.dialogs.answers.push_back(saved);
    trigger("OPENINIFILE");
    const Project &p = project();
    EXPECT_EQ(p.TitleCount, "2");
    EXPECT_EQ(p.PathCount, "2");
    EXPECT_EQ(p.CDCount, "2");
    EXPECT_EQ(listedTitles(), (Strings{"Sunrise, the long cut", "Night"}));
    // Paths and labels come back upper-cased, as the reader stores them.
    EXPECT_EQ(p.MoviePaths[1], projectUpper(path("one.avi"), false));
    EXPECT_EQ(p.MovieCDs[2], "HOLIDAY2");
    EXPECT_TRUE(fake.messages.shown.empty());
}

}  // namespace
}  // namespace vidorun::testing
