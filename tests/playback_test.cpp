// The Play command: the selection, the disc check, the movie check, the
// start and the close switch.
#include "playback/play_logic.h"
#include "support/main_window_fixture.h"

#include <QComboBox>
#include <QLabel>
#include <QLoggingCategory>
#include <QPushButton>

namespace vidorun::testing {
namespace {

TEST(PlayLogic, MarkerNameIsTheLabelWithIniUpperCased)
{
    EXPECT_EQ(markerFileName(QStringLiteral("Disc1")), QStringLiteral("DISC1.INI"));
    EXPECT_EQ(markerFileName(QStringLiteral("HOLIDAY1")), QStringLiteral("HOLIDAY1.INI"));
    EXPECT_EQ(markerFileName(QString()), QStringLiteral(".INI"));
    EXPECT_EQ(markerFileName(QStringLiteral("my disc")), QStringLiteral("MY DISC.INI"));
    // As on the disc made on Windows: ß has no capital there.
    EXPECT_EQ(markerFileName(QStringLiteral("stra\u00DFe")), QStringLiteral("STRA\u00DFE.INI"));
}

TEST(PlayLogic, OnlyPlatformTwoDescribesTheStartAsCmd)
{
    const QString path = QStringLiteral("MOVIES\\MY HOLIDAY.AVI");
    EXPECT_EQ(startCommandLine(QStringLiteral("2"), path), QStringLiteral("CMD /C MOVIES\\MY HOLIDAY.AVI"));
    for (const char *other : {"1", "0", "", " 2", "02", "4"})
        EXPECT_EQ(startCommandLine(QLatin1String(other), path), QStringLiteral("START MOVIES\\MY HOLIDAY.AVI"))
            << other;
}

TEST(PlayLogic, OnlyExactlyOneClosesAfterPlay)
{
    EXPECT_TRUE(closesAfterPlay(QStringLiteral("1")));
    for (const char *other : {"0", "", " 1", "1 ", "01", "2"})
        EXPECT_FALSE(closesAfterPlay(QLatin1String(other))) << other;
}

// Starts the program and reads a project with the given close switch and
// movies (title, path, label) through File > Read.
class PlayTest : public MainWindowTest {
protected:
    void startWith(const QString &close, const std::vector<std::array<const char *, 3>> &entries)
    {
        QStringList lines{QStringLiteral("[vidorun]"), QStringLiteral("close=") + close};
        int n = 0;
        for (const auto &movie : entries) {
            const QString number = QStringLiteral("%1").arg(++n, 2, 10, QLatin1Char('0'));
            lines << QStringLiteral("movie") + number + QLatin1Char('=') + QLatin1String(movie[1])
                  << QStringLiteral("title") + number + QLatin1Char('=') + QLatin1String(movie[0])
                  << QStringLiteral("mdisk") + number + QLatin1Char('=') + QLatin1String(movie[2]);
        }
        writeFile(QStringLiteral("PROJECT.INF"), projectFileBytes(lines));
        start();
        fake.dialogs.answers.push_back(QStringLiteral("PROJECT.INF"));
        trigger("OPENINIFILE");
        ASSERT_EQ(movies()->count(), int(entries.size()));
    }

    // A movie added in this run through the Add movie window's hand-back:
    // it keeps the letter case it was typed in.
    void addMovie(const QString &title, const QString &path, const QString &label)
    {
        window().tempmoviename->setText(title);
        window().tempmovielocation->setText(path);
        window().tempmoviecd->setText(label);
        auto *child = new ChildWindow(window(), 100, 50);
        window().openChildWindow(child);
        child->unload();
    }

    void select(int row) { movies()->setCurrentIndex(row); }
    QString ejectCaption() const { return button("EjectButton")->text(); }
};

TEST_F(PlayTest, BothControlsAskForASelectionAndTouchNothingElse)
{
    writeFile(QStringLiteral("DISC1.INI"), {});
    writeFile(QStringLiteral("A.AVI"), "movie");
    startWith(QStringLiteral("1"), {{"A", "A.AVI", "DISC1"}});
    ASSERT_EQ(movies()->currentIndex(), -1);

    click("PlayButton");
    trigger("PLAYMOVIE");

    ASSERT_EQ(fake.messages.shown.size(), 2u);
    for (const ShownMessage &shown : fake.messages.shown) {
        EXPECT_EQ(shown.text, QStringLiteral("There is no movie selected!"));
        EXPECT_EQ(shown.title, QStringLiteral("Select a movie first!"));
        EXPECT_EQ(shown.style, MsgStyle::Critical);
    }
    EXPECT_TRUE(fake.launcher.documents.isEmpty());
    EXPECT_TRUE(fake.media.commands.empty());
    EXPECT_EQ(ejectCaption(), QStringLiteral("E J E C T"));
    EXPECT_TRUE(window().isVisible());
}

TEST_F(PlayTest, BothControlsPlayTheSelectedMovieAndPlayingTwiceStartsTwice)
{
    writeFile(QStringLiteral("HOLIDAY1.INI"), {});
    writeFile(QStringLiteral("SUNRISE.AVI"), "movie");
    writeFile(QStringLiteral("NIGHT.AVI"), "movie");
    startWith(QStringLiteral("0"), {{"Sunrise", "SUNRISE.AVI", "HOLIDAY1"}, {"Night", "NIGHT.AVI", "HOLIDAY1"}});

    select(1);
    click("PlayButton");
    trigger("PLAYMOVIE");
    select(0);
    click("PlayButton");

    EXPECT_EQ(fake.launcher.documents,
              QStringList({QStringLiteral("NIGHT.AVI"), QStringLiteral("NIGHT.AVI"), QStringLiteral("SUNRISE.AVI")}));
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_TRUE(fake.media.commands.empty());
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(movies()->currentIndex(), 0);
}

TEST_F(PlayTest, MarkerIsLookedUpUpperCasedWhileTheMessageKeepsTheStoredLabel)
{
    writeFile(QStringLiteral("DISC1.INI"), {});
    writeFile(QStringLiteral("clip one.avi"), "movie");
    start();
    addMovie(QStringLiteral("Clip"), QStringLiteral("clip one.avi"), QStringLiteral("Disc1"));
    addMovie(QStringLiteral("Other"), QStringLiteral("clip one.avi"), QStringLiteral("Disc2"));
    ASSERT_EQ(listedTitles(), QStringList({QStringLiteral("Clip"), QStringLiteral("Other")}));

    select(0);
    click("PlayButton");
    EXPECT_EQ(fake.launcher.documents, QStringList{QStringLiteral("clip one.avi")});
    EXPECT_TRUE(fake.messages.shown.empty());

    select(1);
    click("PlayButton");
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("Please insert CD with label: 'Disc2'"));
    EXPECT_EQ(fake.messages.shown[0].title, QStringLiteral("Wrong CD!"));
    EXPECT_EQ(fake.messages.shown[0].style, MsgStyle::Critical);
    EXPECT_EQ(fake.launcher.documents.size(), 1);
}

TEST_F(PlayTest, WrongCdTogglesTheTrayOnceInWhicheverDirectionItIsBelieved)
{
    writeFile(QStringLiteral("A.AVI"), "movie");
    startWith(QStringLiteral("1"), {{"A", "A.AVI", "HOLIDAY2"}});
    select(0);

    click("PlayButton");
    EXPECT_EQ(fake.media.commands, std::vector<std::string>{"set CDAudio door open"});
    EXPECT_EQ(ejectCaption(), QStringLiteral("&CLOSE"));
    EXPECT_EQ(project().TrayState, QStringLiteral("OPEN"));

    click("PlayButton");
    EXPECT_EQ(fake.media.commands, (std::vector<std::string>{"set CDAudio door open", "set CDAudio door closed"}));
    EXPECT_EQ(ejectCaption(), QStringLiteral("E J E C T"));
    EXPECT_EQ(project().TrayState, QStringLiteral("CLOSED"));

    // After a press of Eject the tray is believed open: the next wrong disc closes it.
    click("EjectButton");
    trigger("PLAYMOVIE");
    EXPECT_EQ(fake.media.commands.back(), "set CDAudio door closed");
    EXPECT_EQ(fake.media.commands.size(), 4u);
    EXPECT_EQ(ejectCaption(), QStringLiteral("E J E C T"));

    ASSERT_EQ(fake.messages.shown.size(), 3u);
    EXPECT_EQ(fake.messages.shown[2].text, QStringLiteral("Please insert CD with label: 'HOLIDAY2'"));
    EXPECT_TRUE(fake.launcher.documents.isEmpty());
    EXPECT_TRUE(window().isVisible());
}

TEST_F(PlayTest, EmptyLabelLooksForDotIni)
{
    writeFile(QStringLiteral("A.AVI"), "movie");
    start();
    addMovie(QStringLiteral("A"), QStringLiteral("A.AVI"), QString());
    select(0);

    click("PlayButton");
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("Please insert CD with label: ''"));
    EXPECT_EQ(fake.media.commands.size(), 1u);

    writeFile(QStringLiteral(".INI"), {});
    click("PlayButton");
    EXPECT_EQ(fake.launcher.documents, QStringList{QStringLiteral("A.AVI")});
    EXPECT_EQ(fake.messages.shown.size(), 1u);
}

TEST_F(PlayTest, MissingOrEmptyMoviePathIsReportedAndNeverCloses)
{
    writeFile(QStringLiteral("D.INI"), {});
    start();
    addMovie(QStringLiteral("Gone"), QStringLiteral("MOVIES\\GONE.AVI"), QStringLiteral("d"));
    addMovie(QStringLiteral("Nothing"), QString(), QStringLiteral("d"));

    select(0);
    click("PlayButton");
    select(1);
    trigger("PLAYMOVIE");

    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("I can't find 'MOVIES\\GONE.AVI'"));
    EXPECT_EQ(fake.messages.shown[1].text, QStringLiteral("I can't find ''"));
    for (const ShownMessage &shown : fake.messages.shown) {
        EXPECT_EQ(shown.title, QStringLiteral("Shit ... Error!"));
        EXPECT_EQ(shown.style, MsgStyle::Critical);
    }
    EXPECT_TRUE(fake.launcher.documents.isEmpty());
    EXPECT_TRUE(fake.media.commands.empty());
    EXPECT_TRUE(window().isVisible());
}

TEST_F(PlayTest, CloseSwitchOneEndsTheProgramAfterAStart)
{
    writeFile(QStringLiteral("HOLIDAY1.INI"), {});
    writeFile(QStringLiteral("A.AVI"), "movie");
    startWith(QStringLiteral("1"), {{"A", "A.AVI", "HOLIDAY1"}});
    select(0);
    click("PlayButton");
    EXPECT_EQ(fake.launcher.documents.size(), 1);
    EXPECT_FALSE(window().isVisible());
}

TEST_F(PlayTest, CloseSwitchZeroOrEmptyKeepsTheMenu)
{
    writeFile(QStringLiteral("HOLIDAY1.INI"), {});
    writeFile(QStringLiteral("A.AVI"), "movie");
    for (const QString &close : {QStringLiteral("0"), QString()}) {
        startWith(close, {{"A", "A.AVI", "HOLIDAY1"}});
        ASSERT_EQ(project().CloseAfterPlay, close);
        select(0);
        click("PlayButton");
        EXPECT_TRUE(window().isVisible()) << close.toStdString();
    }
    EXPECT_EQ(fake.launcher.documents.size(), 2);
}

TEST_F(PlayTest, FailedStartIsReportedAndTheMenuStaysEvenWithCloseOne)
{
    writeFile(QStringLiteral("HOLIDAY1.INI"), {});
    writeFile(QStringLiteral("MY MOVIE.AVI"), "movie");
    startWith(QStringLiteral("1"), {{"Mine", "MY MOVIE.AVI", "HOLIDAY1"}});
    fake.launcher.fail = true;
    select(0);
    click("PlayButton");

    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_TRUE(fake.messages.shown[0].text.startsWith(QStringLiteral("I can't play 'MY MOVIE.AVI'")));
    EXPECT_TRUE(fake.messages.shown[0].text.contains(QStringLiteral("no program opens this file")));
    EXPECT_EQ(fake.messages.shown[0].title, QStringLiteral("Shit ... Error!"));
    EXPECT_EQ(fake.messages.shown[0].style, MsgStyle::Critical);
    EXPECT_TRUE(window().isVisible());
}

// Collects what the Play command logs about each start.
class StartLog {
public:
    StartLog()
    {
        s_lines = &lines;
        QLoggingCategory::setFilterRules(QStringLiteral("vidorun.playback.info=true"));
        m_previous = qInstallMessageHandler(&StartLog::record);
    }
    ~StartLog()
    {
        qInstallMessageHandler(m_previous);
        QLoggingCategory::setFilterRules(QString());
        s_lines = nullptr;
    }
    QStringList lines;

private:
    static void record(QtMsgType, const QMessageLogContext &context, const QString &message)
    {
        if (s_lines && qstrcmp(context.category, "vidorun.playback") == 0)
            s_lines->append(message);
    }
    static inline QStringList *s_lines = nullptr;
    QtMessageHandler m_previous = nullptr;
};

TEST_F(PlayTest, TheStartIsDescribedByPlatformButTheMovieIsAlwaysHandedOverWhole)
{
    writeFile(QStringLiteral("HOLIDAY1.INI"), {});
    writeFile(QStringLiteral("MY MOVIE & CO.AVI"), "movie");
    for (int id : {2, 1, 0}) {
        fake.system.id = id;
        StartLog log;
        startWith(QStringLiteral("0"), {{"Mine", "MY MOVIE & CO.AVI", "HOLIDAY1"}});
        select(0);
        click("PlayButton");
        EXPECT_EQ(log.lines, QStringList{(id == 2 ? QStringLiteral("CMD /C ") : QStringLiteral("START "))
                                         + QStringLiteral("MY MOVIE & CO.AVI")})
            << id;
    }
    EXPECT_EQ(fake.launcher.documents, QStringList(3, QStringLiteral("MY MOVIE & CO.AVI")));
}

}  // namespace
}  // namespace vidorun::testing
