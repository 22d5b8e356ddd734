// Movie > Add movie: the window, its checks, the file choice and the hand-over.
#include "child_window_fixture.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>

namespace vidorun::testing {
namespace {

class AddMovieTest : public ChildWindowTest {
protected:
    void openAddMovie()
    {
        trigger("ADDMOVIE");
        ASSERT_NE(child(), nullptr);
        ASSERT_EQ(child()->objectName(), QStringLiteral("AddMovieForm"));
    }
    QLineEdit *box(const char *name) const { return childControl<QLineEdit>(name); }
    void type(const char *boxName, const QString &text)
    {
        ASSERT_NE(box(boxName), nullptr) << boxName;
        box(boxName)->setFocus();
        QTest::keyClicks(box(boxName), text);
    }
    // A real movie file in the working folder, by its full path.
    QString movieFile(const QString &name)
    {
        writeFile(name, QByteArray("RIFF....AVI LIST"));
        return path(name);
    }
    // Fills the window and presses OK; the dialog answers `chosen`.
    void addMovie(const QString &name, const QString &cd, const std::optional<QString> &chosen)
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
    expectLayout(QStringLiteral("add movie"), QSize(416, 124),
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
    for (const char *name : {"MovieTitleText", "MovieLocationText", "Label1"})
        EXPECT_TRUE(childControl<QLabel>(name)->alignment() & Qt::AlignRight) << name;
    EXPECT_EQ(childControl<QLabel>("MovieTitleText")->text(), QStringLiteral("Movie Name:"));
    EXPECT_EQ(childControl<QLabel>("MovieLocationText")->text(), QStringLiteral("Located on:"));
    EXPECT_EQ(childControl<QLabel>("Label1")->text(), QStringLiteral("Location:"));
    EXPECT_EQ(childControl<QPushButton>("BrowseButton")->text(), QStringLiteral("Location..."));

    for (const char *name : {"MovieName", "MovieCD", "MovieLocation"}) {
        EXPECT_TRUE(box(name)->text().isEmpty()) << name;
        EXPECT_FALSE(box(name)->accessibleName().isEmpty()) << name;
    }
    EXPECT_FALSE(box("MovieLocation")->isEnabled());
    EXPECT_FALSE(window().isEnabled());

    // Focus starts on Location... and goes round Browse, OK, Cancel, the
    // location, the CD label and the name.
    expectFocusOn(childControl<QWidget>("BrowseButton"));
    QStringList chain;
    QWidget *w = childControl<QWidget>("BrowseButton");
    for (int i = 0; i < 6; ++i, w = w->nextInFocusChain()) {
        while (!(w->focusPolicy() & Qt::TabFocus))
            w = w->nextInFocusChain();
        chain << w->objectName();
    }
    EXPECT_EQ(chain, (QStringList{"BrowseButton", "OKButton", "CancelButton", "MovieLocation", "MovieCD", "MovieName"}));
}

TEST_F(AddMovieTest, EnterPressesOnlyAFocusedButtonAndEscDoesNothing)
{
    start();
    openAddMovie();
    type("MovieName", QStringLiteral("Sunrise"));
    type("MovieCD", QStringLiteral("HOLIDAY1"));
    for (const char *name : {"OKButton", "CancelButton", "BrowseButton"})
        EXPECT_FALSE(childControl<QPushButton>(name)->isDefault()) << name;
    QTest::keyClick(box("MovieCD"), Qt::Key_Return);
    QTest::keyClick(box("MovieCD"), Qt::Key_Escape);
    ASSERT_NE(child(), nullptr);
    EXPECT_TRUE(fake.dialogs.uses.empty());
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(project().TitleCount, QStringLiteral("0"));

    // As on Windows, Enter presses the button that has the focus.
    childControl<QPushButton>("BrowseButton")->setFocus();
    fake.dialogs.answers.push_back(std::nullopt);
    QTest::keyClick(childControl<QPushButton>("BrowseButton"), Qt::Key_Return);
    EXPECT_EQ(fake.dialogs.uses.size(), 1u);
    ASSERT_NE(child(), nullptr);
}

TEST_F(AddMovieTest, OkChecksTheNameFirstThenTheCdLabel)
{
    start();
    openAddMovie();
    clickChild("OKButton");
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("Please fill in a name for your movie"));
    EXPECT_EQ(fake.messages.shown[0].title, QStringLiteral("Did we forgot something?"));
    EXPECT_EQ(fake.messages.shown[0].style, MsgStyle::Critical);

    type("MovieName", QStringLiteral("Sunrise"));
    clickChild("OKButton");
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_EQ(fake.messages.shown[1].text, QStringLiteral("Please fill in location for your movie"));
    EXPECT_EQ(fake.messages.shown[1].title, QStringLiteral("Did we forgot something?"));

    // A blank is a filled-in name; the window stays open with what was typed.
    ASSERT_NE(child(), nullptr);
    EXPECT_EQ(box("MovieName")->text(), QStringLiteral("Sunrise"));
    EXPECT_TRUE(fake.dialogs.uses.empty());
    EXPECT_EQ(label("tempmoviename")->text(), QStringLiteral("empty"));
}

TEST_F(AddMovieTest, BrowseAsksForAMovieAndFillsTheLocation)
{
    start();
    openAddMovie();
    const QString movie = movieFile(QStringLiteral("MOVIES/SUNRISE.AVI"));
    fake.dialogs.answers.push_back(movie);
    clickChild("BrowseButton");

    ASSERT_EQ(fake.dialogs.uses.size(), 1u);
    const FileDialogRequest &asked = fake.dialogs.uses[0].request;
    EXPECT_EQ(fake.dialogs.uses[0].kind, FileDialogKind::Open);
    EXPECT_EQ(asked.title, QStringLiteral("Select a movie to add"));
    EXPECT_EQ(asked.filter, QStringLiteral("All Files (*.*)|*.*|Movies (*.avi)|*.avi"));
    EXPECT_EQ(asked.filterIndex, 2);
    EXPECT_EQ(asked.flags, 4);
    EXPECT_TRUE(asked.fileName.isEmpty());
    EXPECT_EQ(box("MovieLocation")->text(), movie);
    EXPECT_TRUE(box("MovieLocation")->isEnabled());
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(AddMovieTest, BrowseRefusesAMissingFileAndACancelChangesNothing)
{
    start();
    openAddMovie();
    fake.dialogs.answers.push_back(path(QStringLiteral("GONE.AVI")));
    clickChild("BrowseButton");
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_TRUE(fake.messages.shown[0].text.contains(path(QStringLiteral("GONE.AVI"))));
    EXPECT_TRUE(fake.messages.shown[0].text.endsWith(QStringLiteral(" does not exists!")));
    EXPECT_EQ(fake.messages.shown[0].title, QStringLiteral("Shit ... Error!"));
    EXPECT_EQ(fake.messages.shown[0].style, MsgStyle::Critical);

    clickChild("BrowseButton");  // cancelled
    EXPECT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_TRUE(box("MovieLocation")->text().isEmpty());
    EXPECT_FALSE(box("MovieLocation")->isEnabled());
    ASSERT_NE(child(), nullptr);
}

TEST_F(AddMovieTest, OkHandsTheMovieOverAndItIsListedLast)
{
    start();
    readProject({"[vidorun]", "movie01=A.AVI", "title01=First", "mdisk01=ONE"});
    const QString movie = movieFile(QStringLiteral("Second Movie.avi"));
    addMovie(QStringLiteral("Second"), QStringLiteral("two"), movie);

    expectMainWindowBack();
    EXPECT_EQ(listedTitles(), (QStringList{"First", "Second"}));
    EXPECT_EQ(project().TitleCount, QStringLiteral("2"));
    EXPECT_EQ(project().MoviePaths[2], movie);
    EXPECT_EQ(project().MovieCDs[2], QStringLiteral("two"));
    EXPECT_EQ(label("TotalMoviesText")->text(), QStringLiteral("Total number of movies: 2"));
    for (const char *field : {"tempmoviename", "tempmoviecd", "tempmovielocation"})
        EXPECT_EQ(label(field)->text(), QStringLiteral("empty")) << field;
}

TEST_F(AddMovieTest, OkWithoutAFileOffersTheDialogOnce)
{
    start();
    const QString movie = movieFile(QStringLiteral("SUNRISE.AVI"));

    // The dialog chooses the file: the movie is added with it.
    openAddMovie();
    type("MovieName", QStringLiteral("Sunrise"));
    type("MovieCD", QStringLiteral("HOLIDAY1"));
    fake.dialogs.answers.push_back(movie);
    clickChild("OKButton");
    ASSERT_EQ(fake.dialogs.uses.size(), 1u);
    EXPECT_EQ(fake.dialogs.uses[0].request.title, QStringLiteral("Select a movie to add"));
    expectMainWindowBack();
    EXPECT_EQ(project().MoviePaths[1], movie);

    // The dialog is cancelled: the movie is added all the same, without a path.
    openAddMovie();
    type("MovieName", QStringLiteral("Night"));
    type("MovieCD", QStringLiteral("HOLIDAY2"));
    clickChild("OKButton");
    EXPECT_EQ(fake.dialogs.uses.size(), 2u);
    expectMainWindowBack();
    EXPECT_EQ(project().TitleCount, QStringLiteral("2"));
    EXPECT_EQ(project().MovieTitles[2], QStringLiteral("Night"));
    EXPECT_EQ(project().MoviePaths[2], QString());
    EXPECT_EQ(project().MovieCDs[2], QStringLiteral("HOLIDAY2"));
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(AddMovieTest, TheWordEmptyIsNeverAdded)
{
    start();
    const QString movie = movieFile(QStringLiteral("SUNRISE.AVI"));
    addMovie(QStringLiteral("empty"), QStringLiteral("HOLIDAY1"), movie);
    EXPECT_EQ(project().TitleCount, QStringLiteral("0"));
    addMovie(QStringLiteral("Sunrise"), QStringLiteral("empty"), movie);
    EXPECT_EQ(project().TitleCount, QStringLiteral("0"));

    // A path typed over with "empty".
    openAddMovie();
    type("MovieName", QStringLiteral("Sunrise"));
    type("MovieCD", QStringLiteral("HOLIDAY1"));
    fake.dialogs.answers.push_back(movie);
    clickChild("BrowseButton");
    box("MovieLocation")->selectAll();
    type("MovieLocation", QStringLiteral("empty"));
    clickChild("OKButton");
    expectMainWindowBack();
    EXPECT_EQ(project().TitleCount, QStringLiteral("0"));
    EXPECT_TRUE(listedTitles().isEmpty());
}

TEST_F(AddMovieTest, BrowseStartsOnTheNameChosenLastInAnyFileDialog)
{
    start();
    const QString project = path(QStringLiteral("elsewhere/Autorun.inf"));
    writeFile(QStringLiteral("elsewhere/Autorun.inf"), projectFileBytes({"[vidorun]"}));
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
    type("MovieName", QStringLiteral("Sunrise"));
    type("MovieCD", QStringLiteral("HOLIDAY1"));
    fake.dialogs.answers.push_back(movieFile(QStringLiteral("SUNRISE.AVI")));
    clickChild("BrowseButton");
    box("MovieLocation")->clear();
    type("MovieLocation", QStringLiteral("  D:\\Movies\\Not there.avi"));
    clickChild("OKButton");
    expectMainWindowBack();
    EXPECT_EQ(project().MoviePaths[1], QStringLiteral("  D:\\Movies\\Not there.avi"));
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(AddMovieTest, CancelAndTheCloseBoxHandNothingOverAndTheNextOpeningIsFresh)
{
    start();
    openAddMovie();
    type("MovieName", QStringLiteral("Sunrise"));
    type("MovieCD", QStringLiteral("HOLIDAY1"));
    fake.dialogs.answers.push_back(movieFile(QStringLiteral("SUNRISE.AVI")));
    clickChild("BrowseButton");
    clickChild("CancelButton");
    expectMainWindowBack();
    EXPECT_EQ(project().TitleCount, QStringLiteral("0"));
    EXPECT_EQ(label("tempmoviename")->text(), QStringLiteral("empty"));

    openAddMovie();
    EXPECT_TRUE(box("MovieName")->text().isEmpty());
    EXPECT_TRUE(box("MovieCD")->text().isEmpty());
    EXPECT_TRUE(box("MovieLocation")->text().isEmpty());
    EXPECT_FALSE(box("MovieLocation")->isEnabled());

    // The close box (and Alt+F4, which the window manager turns into the
    // same close request) acts as Cancel.
    type("MovieName", QStringLiteral("Sunrise"));
    type("MovieCD", QStringLiteral("HOLIDAY1"));
    child()->close();
    expectMainWindowBack();
    EXPECT_EQ(project().TitleCount, QStringLiteral("0"));
}

TEST_F(AddMovieTest, AFullProjectRefusesAnotherMovie)
{
    QStringList lines{"[vidorun]"};
    for (int n = 1; n <= 98; ++n) {
        const QString nn = QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
        lines << "movie" + nn + "=M" + nn + ".AVI" << "title" + nn + "=Movie " + nn << "mdisk" + nn + "=CD";
    }
    start();
    readProject(lines);
    ASSERT_EQ(project().TitleCount, QStringLiteral("98"));

    // The 99th movie still fits in a project file...
    addMovie(QStringLiteral("Movie 99"), QStringLiteral("CD"), movieFile(QStringLiteral("M99.AVI")));
    expectMainWindowBack();
    ASSERT_EQ(project().TitleCount, QStringLiteral("99"));
    EXPECT_TRUE(fake.messages.shown.empty());

    // ...a 100th would be lost on the next write, so the window stays shut.
    trigger("ADDMOVIE");
    EXPECT_EQ(child(), nullptr);
    EXPECT_TRUE(window().isEnabled());
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_TRUE(fake.messages.shown[0].text.contains(QStringLiteral("99")));
    EXPECT_TRUE(fake.messages.shown[0].text.contains(QStringLiteral("full")));
    EXPECT_EQ(fake.messages.shown[0].style, MsgStyle::Critical);
    EXPECT_EQ(project().TitleCount, QStringLiteral("99"));

    // A hand-made file whose path table is full, though it lists one title:
    // refused as well, not taken and then dropped.
    QStringList paths{"[vidorun]", "title01=Only one"};
    for (int n = 0; n < 100; ++n)
        paths << "movie01=M01.AVI";
    fake.messages.shown.clear();
    readProject(paths);
    ASSERT_EQ(project().TitleCount, QStringLiteral("1"));
    trigger("ADDMOVIE");
    EXPECT_EQ(child(), nullptr);
    ASSERT_EQ(fake.messages.shown.size(), 2u) << "the counter check, then the refusal";
    EXPECT_EQ(fake.messages.shown[1].title, QStringLiteral("No room for another movie!"));
}

}  // namespace
}  // namespace vidorun::testing

namespace vidorun::testing {
namespace {

// The author's whole road: movies added through the window, the project
// written, and read back as another project.
class AuthorRoundTrip : public AddMovieTest {};

TEST_F(AuthorRoundTrip, AddedMoviesAreWrittenAndReadBack)
{
    start();
    addMovie(QStringLiteral("Sunrise, the long cut"), QStringLiteral("Holiday1"), movieFile(QStringLiteral("one.avi")));
    addMovie(QStringLiteral("Night"), QStringLiteral("Holiday2"), movieFile(QStringLiteral("two.avi")));
    ASSERT_EQ(listedTitles(), (QStringList{"Sunrise, the long cut", "Night"}));

    const QString saved = path(QStringLiteral("disc/Autorun.inf"));
    QDir().mkpath(path(QStringLiteral("disc")));
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
    EXPECT_EQ(p.TitleCount, QStringLiteral("2"));
    EXPECT_EQ(p.PathCount, QStringLiteral("2"));
    EXPECT_EQ(p.CDCount, QStringLiteral("2"));
    EXPECT_EQ(listedTitles(), (QStringList{"Sunrise, the long cut", "Night"}));
    // Paths and labels come back upper-cased, as the reader stores them.
    EXPECT_EQ(p.MoviePaths[1], path(QStringLiteral("one.avi")).toUpper());
    EXPECT_EQ(p.MovieCDs[2], QStringLiteral("HOLIDAY2"));
    EXPECT_TRUE(fake.messages.shown.empty());
}

}  // namespace
}  // namespace vidorun::testing
