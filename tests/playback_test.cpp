// The Play command: the selection, the disc check, the movie check, the
// start and the close switch.
#include "playback/play_logic.h"
#include "support/main_window_fixture.h"
#include "support/sample_projects.h"

#include <array>

namespace vidorun::testing {
namespace {

using Strings = std::vector<std::string>;

TEST(PlayLogic, MarkerNameIsTheLabelWithIniUpperCased)
{
    EXPECT_EQ(markerFileName("Disc1"), "DISC1.INI");
    EXPECT_EQ(markerFileName("HOLIDAY1"), "HOLIDAY1.INI");
    EXPECT_EQ(markerFileName(""), ".INI");
    EXPECT_EQ(markerFileName("my disc"), "MY DISC.INI");
    // As on the disc made on Windows: ß has no capital there.
    EXPECT_EQ(markerFileName("stra\u00DFe"), "STRA\u00DFE.INI");
}

TEST(PlayLogic, OnlyPlatformTwoDescribesTheStartAsCmd)
{
    const std::string path = "MOVIES\\MY HOLIDAY.AVI";
    EXPECT_EQ(startCommandLine("2", path), "CMD /C MOVIES\\MY HOLIDAY.AVI");
    for (const char *other : {"1", "0", "", " 2", "02", "4"})
        EXPECT_EQ(startCommandLine(other, path), "START MOVIES\\MY HOLIDAY.AVI") << other;
}

TEST(PlayLogic, OnlyExactlyOneClosesAfterPlay)
{
    EXPECT_TRUE(closesAfterPlay("1"));
    for (const char *other : {"0", "", " 1", "1 ", "01", "2"})
        EXPECT_FALSE(closesAfterPlay(other)) << other;
}

// Starts the program and reads a project with the given close switch and
// movies (title, path, label) through File > Read.
class PlayTest : public MainWindowTest {
protected:
    void startWith(const std::string &close, const std::vector<std::array<const char *, 3>> &entries)
    {
        std::vector<std::string> lines{"[vidorun]", "close=" + close};
        int n = 0;
        for (const auto &movie : entries)
            addMovieLines(lines, ++n, movie[1], movie[0], movie[2]);
        writeFile("PROJECT.INF", projectText(lines));
        start();
        fake.dialogs.answers.push_back("PROJECT.INF");
        trigger("OPENINIFILE");
        ASSERT_EQ(view().itemCount("Movies"), int(entries.size()));
    }

    // A movie added in this run through the Add movie window's hand-back:
    // it keeps the letter case it was typed in.
    void addMovie(const std::string &title, const std::string &path, const std::string &label)
    {
        trigger("ABOUTSCREEN");
        ASSERT_NE(child(), nullptr);
        window().setTransferField("tempmoviename", title);
        window().setTransferField("tempmovielocation", path);
        window().setTransferField("tempmoviecd", label);
        clickChild("cmdOK");
    }

    void select(int row) { ui.select(view(), "Movies", row); }
    std::string ejectCaption() { return view().text("EjectButton"); }
};

TEST_F(PlayTest, BothControlsAskForASelectionAndTouchNothingElse)
{
    writeFile("DISC1.INI", "");
    writeFile("A.AVI", "movie");
    startWith("1", {{"A", "A.AVI", "DISC1"}});
    ASSERT_EQ(view().currentIndex("Movies"), -1);

    click("PlayButton");
    trigger("PLAYMOVIE");

    const ShownMessage noneSelected{"There is no movie selected!", "Select a movie first!", MsgStyle::Critical};
    EXPECT_EQ(fake.messages.shown, (std::vector<ShownMessage>{noneSelected, noneSelected}));
    EXPECT_EQ(fake.launcher.documents, Strings{});
    EXPECT_TRUE(fake.media.commands.empty());
    EXPECT_EQ(ejectCaption(), "E J E C T");
    EXPECT_TRUE(ui.isShown(view()));
}

TEST_F(PlayTest, BothControlsPlayTheSelectedMovieAndPlayingTwiceStartsTwice)
{
    writeFile("HOLIDAY1.INI", "");
    writeFile("SUNRISE.AVI", "movie");
    writeFile("NIGHT.AVI", "movie");
    startWith("0", {{"Sunrise", "SUNRISE.AVI", "HOLIDAY1"}, {"Night", "NIGHT.AVI", "HOLIDAY1"}});

    select(1);
    click("PlayButton");
    trigger("PLAYMOVIE");
    select(0);
    click("PlayButton");

    EXPECT_EQ(fake.launcher.documents, (Strings{"NIGHT.AVI", "NIGHT.AVI", "SUNRISE.AVI"}));
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_TRUE(fake.media.commands.empty());
    EXPECT_TRUE(ui.isShown(view()));
    EXPECT_EQ(view().currentIndex("Movies"), 0);
}

TEST_F(PlayTest, MarkerIsLookedUpUpperCasedWhileTheMessageKeepsTheStoredLabel)
{
    writeFile("DISC1.INI", "");
    writeFile("clip one.avi", "movie");
    start();
    addMovie("Clip", "clip one.avi", "Disc1");
    addMovie("Other", "clip one.avi", "Disc2");
    ASSERT_EQ(listedTitles(), (Strings{"Clip", "Other"}));

    select(0);
    click("PlayButton");
    EXPECT_EQ(fake.launcher.documents, Strings{"clip one.avi"});
    EXPECT_TRUE(fake.messages.shown.empty());

    select(1);
    click("PlayButton");
    EXPECT_EQ(fake.messages.shown, (std::vector<ShownMessage>{
                  {"Please insert CD with label: 'Disc2'", "Wrong CD!", MsgStyle::Critical}}));
    EXPECT_EQ(fake.launcher.documents.size(), 1u);
}

TEST_F(PlayTest, WrongCdTogglesTheTrayOnceInWhicheverDirectionItIsBelieved)
{
    writeFile("A.AVI", "movie");
    startWith("1", {{"A", "A.AVI", "HOLIDAY2"}});
    select(0);

    click("PlayButton");
    EXPECT_EQ(fake.media.commands, Strings{"set CDAudio door open"});
    EXPECT_EQ(ejectCaption(), "&CLOSE");
    EXPECT_EQ(project().TrayState, "OPEN");

    click("PlayButton");
    EXPECT_EQ(fake.media.commands, (Strings{"set CDAudio door open", "set CDAudio door closed"}));
    EXPECT_EQ(ejectCaption(), "E J E C T");
    EXPECT_EQ(project().TrayState, "CLOSED");

    // After a press of Eject the tray is believed open: the next wrong disc closes it.
    click("EjectButton");
    trigger("PLAYMOVIE");
    EXPECT_EQ(fake.media.commands.back(), "set CDAudio door closed");
    EXPECT_EQ(fake.media.commands.size(), 4u);
    EXPECT_EQ(ejectCaption(), "E J E C T");

    ASSERT_EQ(fake.messages.shown.size(), 3u);
    EXPECT_EQ(fake.messages.shown[2].text, "Please insert CD with label: 'HOLIDAY2'");
    EXPECT_EQ(fake.launcher.documents, Strings{});
    EXPECT_TRUE(ui.isShown(view()));
}

TEST_F(PlayTest, EmptyLabelLooksForDotIni)
{
    writeFile("A.AVI", "movie");
    start();
    addMovie("A", "A.AVI", "");
    select(0);

    click("PlayButton");
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "Please insert CD with label: ''");
    EXPECT_EQ(fake.media.commands.size(), 1u);

    writeFile(".INI", "");
    click("PlayButton");
    EXPECT_EQ(fake.launcher.documents, Strings{"A.AVI"});
    EXPECT_EQ(fake.messages.shown.size(), 1u);
}

TEST_F(PlayTest, MissingOrEmptyMoviePathIsReportedAndNeverCloses)
{
    writeFile("D.INI", "");
    start();
    addMovie("Gone", "MOVIES\\GONE.AVI", "d");
    addMovie("Nothing", "", "d");

    select(0);
    click("PlayButton");
    select(1);
    trigger("PLAYMOVIE");

    EXPECT_EQ(fake.messages.shown,
              (std::vector<ShownMessage>{{"I can't find 'MOVIES\\GONE.AVI'", "Shit ... Error!", MsgStyle::Critical},
                                         {"I can't find ''", "Shit ... Error!", MsgStyle::Critical}}));
    EXPECT_EQ(fake.launcher.documents, Strings{});
    EXPECT_TRUE(fake.media.commands.empty());
    EXPECT_TRUE(ui.isShown(view()));
}

TEST_F(PlayTest, CloseSwitchOneEndsTheProgramAfterAStart)
{
    writeFile("HOLIDAY1.INI", "");
    writeFile("A.AVI", "movie");
    startWith("1", {{"A", "A.AVI", "HOLIDAY1"}});
    select(0);
    click("PlayButton");
    EXPECT_EQ(fake.launcher.documents.size(), 1u);
    EXPECT_FALSE(ui.isShown(view()));
}

TEST_F(PlayTest, CloseSwitchZeroOrEmptyKeepsTheMenu)
{
    writeFile("HOLIDAY1.INI", "");
    writeFile("A.AVI", "movie");
    for (const std::string close : {"0", ""}) {
        startWith(close, {{"A", "A.AVI", "HOLIDAY1"}});
        ASSERT_EQ(project().CloseAfterPlay, close);
        select(0);
        click("PlayButton");
        EXPECT_TRUE(ui.isShown(view())) << close;
    }
    EXPECT_EQ(fake.launcher.documents.size(), 2u);
}

TEST_F(PlayTest, FailedStartIsReportedAndTheMenuStaysEvenWithCloseOne)
{
    writeFile("HOLIDAY1.INI", "");
    writeFile("MY MOVIE.AVI", "movie");
    startWith("1", {{"Mine", "MY MOVIE.AVI", "HOLIDAY1"}});
    fake.launcher.fail = true;
    select(0);
    click("PlayButton");

    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text.rfind("I can't play 'MY MOVIE.AVI'", 0), 0u) << fake.messages.shown[0].text;
    EXPECT_NE(fake.messages.shown[0].text.find("no program opens this file"), std::string::npos);
    EXPECT_EQ(fake.messages.shown[0].title, "Shit ... Error!");
    EXPECT_EQ(fake.messages.shown[0].style, MsgStyle::Critical);
    EXPECT_TRUE(ui.isShown(view()));
}

TEST_F(PlayTest, TheStartIsDescribedByPlatformButTheMovieIsAlwaysHandedOverWhole)
{
    writeFile("HOLIDAY1.INI", "");
    writeFile("MY MOVIE & CO.AVI", "movie");
    for (int id : {2, 1, 0}) {
        fake.system.id = id;
        Strings log;
        startWith("0", {{"Mine", "MY MOVIE & CO.AVI", "HOLIDAY1"}});
        window().setStartLog([&log](const std::string &line) { log.push_back(line); });
        select(0);
        click("PlayButton");
        EXPECT_EQ(log, Strings{(id == 2 ? "CMD /C " : "START ") + std::string("MY MOVIE & CO.AVI")}) << id;
    }
    EXPECT_EQ(fake.launcher.documents, Strings(3, "MY MOVIE & CO.AVI"));
}

}  // namespace
}  // namespace vidorun::testing
