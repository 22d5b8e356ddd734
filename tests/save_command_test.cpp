#include "support/main_window_fixture.h"
#include "support/sample_projects.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

const QByteArray Holiday = holidayProject();

class SaveCommandTest : public MainWindowTest {
protected:
    // Loads a project through File > Read, then forgets the dialogs and
    // messages that took.
    void load(const QString &name)
    {
        fake.dialogs.answers.push_back(path(name));
        trigger("OPENINIFILE");
        fake.dialogs.uses.clear();
        fake.messages.shown.clear();
    }

    void save(const std::optional<QString> &chosen)
    {
        fake.dialogs.answers.push_back(chosen);
        trigger("SAVEFILE");
    }

    QStringList folderEntries() const
    {
        return QDir(m_folder.path()).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

TEST_F(SaveCommandTest, OffersAutorunInfInTheSaveDialog)
{
    start();
    save(std::nullopt);
    ASSERT_EQ(fake.dialogs.uses.size(), 1u);
    const auto &use = fake.dialogs.uses.front();
    EXPECT_EQ(use.kind, FileDialogKind::Save);
    EXPECT_EQ(use.request.title, "Select a location to save your 'Autorun.inf'");
    EXPECT_EQ(use.request.filter, "Autorun file (autorun.inf)|*.inf");
    EXPECT_EQ(use.request.filterIndex, 1);
    EXPECT_EQ(use.request.flags, 4);
    EXPECT_EQ(use.request.fileName, "Autorun.inf");
    EXPECT_TRUE(window().ComDlg().CancelError);
}

TEST_F(SaveCommandTest, WritesANewFileWithoutAsking)
{
    writeFile("Holiday.inf", Holiday);
    start();
    load("Holiday.inf");
    save(path("Autorun.inf"));
    EXPECT_EQ(readFile("Autorun.inf"), Holiday);
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(listedTitles(), QStringList({"Sunrise, over the bay", "The harbour at noon"}));
}

TEST_F(SaveCommandTest, AnsweringNoLeavesTheExistingFileAsItWas)
{
    writeFile("Holiday.inf", Holiday);
    const QByteArray earlier = "[vidorun]\r\ntitle01=Earlier\r\n";
    writeFile("Autorun.inf", earlier);
    start();
    load("Holiday.inf");
    fake.messages.answers = {MsgAnswer::No};
    save(path("Autorun.inf"));

    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "Overwrite existing file?");
    EXPECT_EQ(fake.messages.shown[0].title, "File already exists!");
    EXPECT_EQ(fake.messages.shown[0].style, MsgStyle::Question);
    EXPECT_EQ(readFile("Autorun.inf"), earlier);
}

TEST_F(SaveCommandTest, AnsweringYesReplacesTheFile)
{
    writeFile("Holiday.inf", Holiday);
    writeFile("Autorun.inf", QByteArray(10000, 'x'));
    start();
    load("Holiday.inf");
    fake.messages.answers = {MsgAnswer::Yes};
    save(path("Autorun.inf"));

    EXPECT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(readFile("Autorun.inf"), Holiday);
    EXPECT_EQ(folderEntries(), QStringList({"Autorun.inf", "Holiday.inf"}));
}

TEST_F(SaveCommandTest, ACancelWritesNothingAndKeepsTheLastChosenName)
{
    writeFile("Holiday.inf", Holiday);
    start();
    load("Holiday.inf");
    save(std::nullopt);
    EXPECT_EQ(folderEntries(), QStringList{"Holiday.inf"});
    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(window().ComDlg().FileName, path("Holiday.inf"));
}

TEST_F(SaveCommandTest, TheNextDialogStartsWithTheSavedName)
{
    start();
    save(path("Saved.inf"));
    EXPECT_EQ(window().ComDlg().FileName, path("Saved.inf"));
    trigger("OPENINIFILE");  // cancelled: no answer scripted
    ASSERT_EQ(fake.dialogs.uses.size(), 2u);
    EXPECT_EQ(fake.dialogs.uses[1].request.fileName, path("Saved.inf"));
}

TEST_F(SaveCommandTest, AnEmptyProjectIsTenLinesAndItsCloseSwitchBecomesZero)
{
    start();
    ASSERT_TRUE(project().CloseAfterPlay.isEmpty());
    save(path("Autorun.inf"));
    EXPECT_EQ(readFile("Autorun.inf"), projectFileBytes({"[autorun]", "OPEN=Vidorun.exe", "ICON=Vidorun.exe,0", "",
                                                         "[vidorun]", "close=0", "the_title=", "cover=", "player=",
                                                         "codec="}));
    EXPECT_EQ(project().CloseAfterPlay, "0");
}

TEST_F(SaveCommandTest, AFailedSaveSaysSoAndNamesTheReason)
{
    start();
    const QString target = path("gone/Autorun.inf");
    save(target);

    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text,
              "The file " + target + " could not be written!\r\n\r\n" + reasonForNoFileAt(target)
                  + "\r\n\r\nNothing was saved.");
    EXPECT_EQ(fake.messages.shown[0].title, ErrorTitle);
    EXPECT_EQ(fake.messages.shown[0].style, MsgStyle::Critical);
    EXPECT_TRUE(folderEntries().isEmpty());
}

// Titles outside Windows-1252 make the file UTF-8, western ones keep the
// code page; either way the Read command gets back what was saved.
TEST_F(SaveCommandTest, SavedTitlesReadBackThroughTheReadCommand)
{
    const QByteArray utf8 = projectFileBytes({
        "[autorun]", "OPEN=Vidorun.exe", "ICON=Vidorun.exe,0", "", "[vidorun]", "close=0",
        "the_title=\u041e\u0442\u043f\u0443\u0441\u043a", "cover=", "player=", "codec=",
        "movie01=A.AVI", "\"title01=\u65e5\u672c, caf\u00e9 \"", "mdisk01=CD1",
    });
    writeFile("Utf8.inf", utf8);
    start();
    load("Utf8.inf");
    const QStringList titles = listedTitles();
    ASSERT_EQ(titles, QStringList{"\u65e5\u672c, caf\u00e9 "});

    save(path("Copy.inf"));
    EXPECT_EQ(readFile("Copy.inf"), utf8);
    load("Copy.inf");
    EXPECT_EQ(listedTitles(), titles);
    EXPECT_EQ(window().windowTitle(), "Vidorun ; \u041e\u0442\u043f\u0443\u0441\u043a");
}

TEST_F(SaveCommandTest, TheDemoProjectSavesBackToTheSameBytes)
{
    for (const char *name : {"Autorun.inf", "COVER.JPG"}) {
        QFile demo(QStringLiteral(VIDORUN_DEMO_DIR "/") + QLatin1String(name));
        ASSERT_TRUE(demo.open(QIODevice::ReadOnly));
        writeFile(QLatin1String(name), demo.readAll());
    }
    const QByteArray original = readFile("Autorun.inf");
    start();
    load("Autorun.inf");
    ASSERT_EQ(listedTitles().size(), 3);

    fake.messages.answers = {MsgAnswer::Yes};
    save(path("Autorun.inf"));
    EXPECT_EQ(readFile("Autorun.inf"), original);
    fake.messages.answers = {MsgAnswer::Yes};
    save(path("Autorun.inf"));
    EXPECT_EQ(readFile("Autorun.inf"), original);
}

}  // namespace
