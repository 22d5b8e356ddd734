// What child windows hand back through the hidden transfer labels, applied
// when the main window becomes active again.
#include "support/main_window_fixture.h"

#include <QComboBox>
#include <QLabel>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

class TrivialChild : public ChildWindow {
public:
    explicit TrivialChild(VidorunMain &main) : ChildWindow(main, 100, 50) {}
};

}  // namespace

class HandBack : public MainWindowTest {
protected:
    void startWithMovies(int count)
    {
        QStringList lines;
        for (int i = 1; i <= count; ++i) {
            const QString nn = QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0'));
            lines << "movie" + nn + "=path" + QString::number(i) << "title" + nn + "=Title " + QString::number(i)
                  << "mdisk" + nn + "=CD" + QString::number(i);
        }
        writeFile(QStringLiteral("Autorun.inf"), projectFileBytes(lines));
        start();
    }

    // A child window that writes its fields, then closes: the main window applies them.
    void handBack(const std::function<void()> &write)
    {
        auto *child = new TrivialChild(window());
        window().openChildWindow(child);
        EXPECT_FALSE(window().isEnabled());
        write();
        child->unload();
        EXPECT_TRUE(window().isEnabled());
    }

    void add(const QString &name, const QString &cd, const QString &location)
    {
        handBack([&] {
            window().tempmoviecd->setText(cd);
            window().tempmovielocation->setText(location);
            window().tempmoviename->setText(name);
        });
    }

    void remove(int number)
    {
        handBack([&] { window().tempremovemovie->setText(QString::number(number)); });
    }

    void expectFieldsIdle()
    {
        EXPECT_EQ(window().tempmoviename->text(), QStringLiteral("empty"));
        EXPECT_EQ(window().tempmoviecd->text(), QStringLiteral("empty"));
        EXPECT_EQ(window().tempmovielocation->text(), QStringLiteral("empty"));
        EXPECT_EQ(window().tempremovemovie->text(), QStringLiteral("empty"));
    }
};

TEST_F(HandBack, AnAddAppendsOnceAndKeepsTheTypedCase)
{
    startWithMovies(2);
    add(QStringLiteral("New one"), QStringLiteral("Disc3"), QStringLiteral("c:\\x.avi"));
    EXPECT_EQ(listedTitles(), (QStringList{"Title 1", "Title 2", "New one"}));
    EXPECT_EQ(label("TotalMoviesText")->text(), QStringLiteral("Total number of movies: 3"));
    EXPECT_EQ(project().MovieCDs[3], QStringLiteral("Disc3"));
    EXPECT_EQ(project().MoviePaths[3], QStringLiteral("c:\\x.avi"));
    EXPECT_EQ(project().PathCount, QStringLiteral("3"));
    expectFieldsIdle();
    // Another activation changes nothing.
    handBack([] {});
    EXPECT_EQ(movies()->count(), 3);
}

TEST_F(HandBack, AnAddWithAFieldReadingEmptyIsNotApplied)
{
    startWithMovies(1);
    add(QStringLiteral("empty"), QStringLiteral("cd"), QStringLiteral("x.avi"));
    EXPECT_EQ(movies()->count(), 1);
    EXPECT_EQ(project().TitleCount, QStringLiteral("1"));
}

TEST_F(HandBack, RemovingMovieTwoOfFourMovesTheLaterOnesUp)
{
    startWithMovies(4);
    remove(2);
    const Project &p = project();
    EXPECT_EQ(listedTitles(), (QStringList{"Title 1", "Title 3", "Title 4"}));
    EXPECT_EQ(p.MoviePaths[2], QStringLiteral("PATH3"));
    EXPECT_EQ(p.MovieCDs[3], QStringLiteral("CD4"));
    EXPECT_TRUE(p.MovieTitles[4].isEmpty());
    EXPECT_TRUE(p.MoviePaths[4].isEmpty());
    EXPECT_TRUE(p.MovieCDs[4].isEmpty());
    EXPECT_EQ(p.TitleCount, QStringLiteral("3"));
    EXPECT_EQ(p.PathCount, QStringLiteral("3"));
    EXPECT_EQ(p.CDCount, QStringLiteral("3"));
    EXPECT_EQ(label("TotalMoviesText")->text(), QStringLiteral("Total number of movies: 3"));
    expectFieldsIdle();
    handBack([] {});
    EXPECT_EQ(movies()->count(), 3);
}

TEST_F(HandBack, RemovingTheLastMovieEmptiesItsElements)
{
    startWithMovies(3);
    remove(3);
    EXPECT_EQ(listedTitles(), (QStringList{"Title 1", "Title 2"}));
    EXPECT_TRUE(project().MovieTitles[3].isEmpty());
    EXPECT_EQ(project().MovieTitles[2], QStringLiteral("Title 2"));
}

TEST_F(HandBack, AnAddAndARemovalInOneActivationAddFirst)
{
    startWithMovies(2);
    handBack([&] {
        window().tempmoviecd->setText(QStringLiteral("CD9"));
        window().tempmovielocation->setText(QStringLiteral("nine.avi"));
        window().tempmoviename->setText(QStringLiteral("Nine"));
        window().tempremovemovie->setText(QStringLiteral("3"));
    });
    // Movie 3 is the one just added, so it goes again.
    EXPECT_EQ(listedTitles(), (QStringList{"Title 1", "Title 2"}));
    expectFieldsIdle();
}

TEST_F(HandBack, ARemovalOutsideTheListIsIgnored)
{
    startWithMovies(2);
    remove(7);
    EXPECT_EQ(movies()->count(), 2);
    EXPECT_EQ(project().TitleCount, QStringLiteral("2"));
    expectFieldsIdle();
}

TEST_F(HandBack, TheFieldsAreNeverShown)
{
    startWithMovies(1);
    window().tempmoviename->setText(QStringLiteral("pending"));
    for (QLabel *field : {window().tempmoviename, window().tempmoviecd, window().tempmovielocation,
                          window().tempremovemovie})
        EXPECT_FALSE(field->isVisible());
}
