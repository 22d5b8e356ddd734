// Movie > Remove movie: the list of titles and the hand-over of a number.
#include "child_window_fixture.h"

#include <QLabel>
#include <QListWidget>

namespace vidorun::testing {
namespace {

class RemoveMovieTest : public ChildWindowTest {
protected:
    // A project of movies with these titles; movie n lives in Mn.AVI on CDn.
    void readMovies(const QStringList &titles)
    {
        QStringList lines{"[vidorun]"};
        for (int n = 1; n <= titles.size(); ++n) {
            const QString nn = QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
            lines << "movie" + nn + "=M" + QString::number(n) + ".AVI" << "title" + nn + "=" + titles[n - 1]
                  << "mdisk" + nn + "=CD" + QString::number(n);
        }
        readProject(lines);
    }
    void openRemoveMovie()
    {
        trigger("REMOVEMOVIE");
        ASSERT_NE(child(), nullptr);
        ASSERT_EQ(child()->objectName(), QStringLiteral("RemoveMovieForm"));
    }
    QListWidget *list() const { return childControl<QListWidget>("RemoveMovieList"); }
    QStringList lines() const
    {
        QStringList shown;
        for (int i = 0; i < list()->count(); ++i)
            shown << list()->item(i)->text();
        return shown;
    }
    void selectLine(int row)
    {
        QListWidgetItem *item = list()->item(row);
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualItemRect(item).center());
        ASSERT_TRUE(item->isSelected());
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
    expectLayout(QStringLiteral("remove movie"), QSize(466, 298),
                 {
                     {"SelectMovieText", 16, 48, 377, 17},
                     {"RemoveMovieList", 16, 80, 433, 160},
                     {"RemoveButton", 280, 256, 81, 25},
                     {"CloseButton", 368, 256, 81, 25},
                 });
    EXPECT_EQ(childControl<QLabel>("SelectMovieText")->text(),
              QStringLiteral("Select the movie to remove from this project:"));
    EXPECT_EQ(childControl<QPushButton>("RemoveButton")->text(), QStringLiteral("Remove"));
    EXPECT_EQ(childControl<QPushButton>("CloseButton")->text(), QStringLiteral("Close"));
    EXPECT_FALSE(list()->accessibleName().isEmpty());
    EXPECT_EQ(list()->selectionMode(), QAbstractItemView::SingleSelection);

    EXPECT_EQ(lines(), (QStringList{"Sunrise", "Harbour", "Night market"}));
    EXPECT_FALSE(window().isEnabled());
    // The list has the focus, and that selects nothing.
    expectFocusOn(list());
    EXPECT_TRUE(list()->selectedItems().isEmpty());
}

TEST_F(RemoveMovieTest, AnEmptyProjectHasNothingToRemove)
{
    start();
    trigger("REMOVEMOVIE");
    EXPECT_EQ(child(), nullptr);
    EXPECT_TRUE(window().isEnabled());
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("There are no movies to remove!"));
    EXPECT_EQ(fake.messages.shown[0].title, QStringLiteral("No movies te remove!"));
    EXPECT_EQ(fake.messages.shown[0].style, MsgStyle::Critical);
}

TEST_F(RemoveMovieTest, RemovingMovieTwoOfFourMovesTheLaterOnesUp)
{
    start();
    readMovies({"One", "Two", "Three", "Four"});
    removeLine(1);
    expectMainWindowBack();

    EXPECT_EQ(listedTitles(), (QStringList{"One", "Three", "Four"}));
    const Project &p = project();
    EXPECT_EQ(p.MovieTitles[2], QStringLiteral("Three"));
    EXPECT_EQ(p.MoviePaths[2], QStringLiteral("M3.AVI"));
    EXPECT_EQ(p.MovieCDs[2], QStringLiteral("CD3"));
    EXPECT_EQ(p.MovieTitles[3], QStringLiteral("Four"));
    EXPECT_EQ(p.MoviePaths[3], QStringLiteral("M4.AVI"));
    EXPECT_EQ(p.MovieCDs[3], QStringLiteral("CD4"));
    EXPECT_TRUE(p.MovieTitles[4].isEmpty());
    EXPECT_TRUE(p.MoviePaths[4].isEmpty());
    EXPECT_TRUE(p.MovieCDs[4].isEmpty());
    EXPECT_EQ(p.TitleCount, QStringLiteral("3"));
    EXPECT_EQ(p.PathCount, QStringLiteral("3"));
    EXPECT_EQ(p.CDCount, QStringLiteral("3"));
    EXPECT_EQ(label("tempremovemovie")->text(), QStringLiteral("empty"));
    EXPECT_TRUE(fake.messages.shown.empty());

    // The next opening lists what is left.
    openRemoveMovie();
    EXPECT_EQ(lines(), (QStringList{"One", "Three", "Four"}));
}

TEST_F(RemoveMovieTest, EqualTitlesAreTakenByTheirPosition)
{
    start();
    readMovies({"Part", "Part", "Other"});
    removeLine(1);
    expectMainWindowBack();
    EXPECT_EQ(listedTitles(), (QStringList{"Part", "Other"}));
    EXPECT_EQ(project().MoviePaths[1], QStringLiteral("M1.AVI"));
    EXPECT_EQ(project().MoviePaths[2], QStringLiteral("M3.AVI"));
}

TEST_F(RemoveMovieTest, RemoveWithoutASelectionSaysSoAndCloses)
{
    start();
    readMovies({"One", "Two"});
    openRemoveMovie();
    expectFocusOn(list());
    clickChild("RemoveButton");
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("You did not select a movie to remove!"));
    EXPECT_EQ(fake.messages.shown[0].title, QStringLiteral("Nothing to do!"));
    EXPECT_EQ(fake.messages.shown[0].style, MsgStyle::Critical);
    expectMainWindowBack();
    EXPECT_EQ(listedTitles(), (QStringList{"One", "Two"}));
    EXPECT_EQ(project().TitleCount, QStringLiteral("2"));
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
    pressOnChild(Qt::Key_Escape);
    expectMainWindowBack();

    // The close box (and Alt+F4) acts as Close.
    openRemoveMovie();
    selectLine(0);
    child()->close();
    expectMainWindowBack();

    EXPECT_EQ(listedTitles(), (QStringList{"One", "Two"}));
    EXPECT_EQ(label("tempremovemovie")->text(), QStringLiteral("empty"));
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(RemoveMovieTest, EnterOnTheListPressesNothing)
{
    start();
    readMovies({"One", "Two"});
    openRemoveMovie();
    selectLine(1);
    list()->setFocus();
    pressOnChild(Qt::Key_Return);
    ASSERT_NE(child(), nullptr);
    EXPECT_EQ(project().TitleCount, QStringLiteral("2"));

    // On a focused button Enter presses that button.
    childControl<QPushButton>("RemoveButton")->setFocus();
    pressOnChild(Qt::Key_Return);
    expectMainWindowBack();
    EXPECT_EQ(listedTitles(), (QStringList{"One"}));
}

}  // namespace
}  // namespace vidorun::testing
