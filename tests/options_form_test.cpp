// Settings > Current settings: a snapshot of the project.
#include "child_window_fixture.h"

#include "windows/options_form.h"

#include <QLabel>

namespace vidorun::testing {
namespace {

class OptionsFormTest : public ChildWindowTest {
protected:
    void openSettings()
    {
        trigger("CURRENTSETTINGS");
        ASSERT_NE(child(), nullptr);
        ASSERT_EQ(child()->objectName(), QStringLiteral("OptionsForm"));
    }
    QString value(const char *name) const
    {
        auto *l = childControl<QLabel>(name);
        return l ? l->text() : QStringLiteral("<missing label>");
    }
};

TEST_F(OptionsFormTest, WindowIsLaidOutAsDesigned)
{
    start();
    openSettings();
    expectLayout(QStringLiteral("Vidorun ; settings for project <no title yet!>"), QSize(613, 159),
                 {
                     {"autorunlocationtext", 8, 16, 121, 17},
                     {"autorunlocation", 136, 16, 457, 17},
                     {"currentlanguagetext", 8, 32, 121, 17},
                     {"currentlanguage", 136, 32, 457, 17},
                     {"coverpicturepathtext", 8, 48, 121, 17},
                     {"coverpicturepath", 136, 48, 457, 17},
                     {"playerpathtext", 8, 64, 121, 17},
                     {"playerpath", 136, 64, 457, 17},
                     {"codecpathtext", 8, 80, 121, 17},
                     {"codecpath", 136, 80, 457, 17},
                     {"moviesinprojecttext", 16, 96, 113, 17},
                     {"Moviesinproject", 136, 96, 201, 17},
                     {"versiontext", 8, 120, 121, 17},
                     {"version", 136, 120, 457, 17},
                     {"CloseCMD", 512, 128, 89, 25},
                 });
    const std::pair<const char *, const char *> captions[] = {
        {"autorunlocationtext", "location of autorun.ini:"}, {"currentlanguagetext", "current language:"},
        {"coverpicturepathtext", "location of coverpicture:"}, {"playerpathtext", "location of player:"},
        {"codecpathtext", "location of codec:"},           {"moviesinprojecttext", "nr of movies in project:"},
        {"versiontext", "this version of Vidorun:"},
    };
    for (const auto &[name, text] : captions) {
        EXPECT_EQ(value(name), QLatin1String(text)) << name;
        EXPECT_TRUE(childControl<QLabel>(name)->alignment() & Qt::AlignRight) << name;
    }
    EXPECT_EQ(childControl<QPushButton>("CloseCMD")->text(), QStringLiteral("CLOSE"));
    expectFocusOn(childControl<QWidget>("CloseCMD"));
}

TEST_F(OptionsFormTest, AnEmptyProjectShowsNoneYet)
{
    start();
    openSettings();
    EXPECT_EQ(child()->windowTitle(), QStringLiteral("Vidorun ; settings for project <no title yet!>"));
    EXPECT_EQ(value("autorunlocation"), QStringLiteral("none ... yet"));
    EXPECT_EQ(value("currentlanguage"), QStringLiteral("not implemented yet!"));
    EXPECT_EQ(value("coverpicturepath"), QStringLiteral("none ... yet"));
    EXPECT_EQ(value("playerpath"), QStringLiteral("none ... yet"));
    EXPECT_EQ(value("codecpath"), QStringLiteral("none ... yet"));
    EXPECT_EQ(value("Moviesinproject"), QStringLiteral("0"));
    EXPECT_EQ(value("version"), QStringLiteral("4.0"));
    EXPECT_FALSE(window().isEnabled());
}

TEST_F(OptionsFormTest, AFullProjectIsShownAsStored)
{
    writeFile(QStringLiteral("Autorun.inf"), projectFileBytes({"[vidorun]"}));
    start();
    EXPECT_EQ(project().ProjectFile, QStringLiteral(".\\Autorun.inf"));
    openSettings();
    EXPECT_EQ(value("autorunlocation"), QStringLiteral(".\\Autorun.inf"));
    clickChild("CloseCMD");

    readProject({"[vidorun]", "the_title=Holiday 2026", "cover=d:\\cover.jpg", "player=d:\\player.exe",
                 "codec=d:\\codec.exe", "movie01=A.AVI", "title01=One", "mdisk01=CD", "movie02=B.AVI", "title02=Two",
                 "mdisk02=CD"});
    openSettings();
    EXPECT_EQ(child()->windowTitle(), QStringLiteral("Vidorun ; settings for project Holiday 2026"));
    EXPECT_EQ(value("autorunlocation"), path(QStringLiteral("projects/Autorun.inf")));
    EXPECT_EQ(value("coverpicturepath"), QStringLiteral("D:\\COVER.JPG"));
    EXPECT_EQ(value("playerpath"), QStringLiteral("D:\\PLAYER.EXE"));
    EXPECT_EQ(value("codecpath"), QStringLiteral("D:\\CODEC.EXE"));
    EXPECT_EQ(value("Moviesinproject"), QStringLiteral("2"));
    EXPECT_EQ(value("version"), QStringLiteral("4.0"));
}

TEST(SettingsSnapshot, OnlyAnEmptyTextIsMissing)
{
    Project p;
    p.ProjectTitle = QStringLiteral(" ");
    p.CoverPicturePath = QStringLiteral("  ");
    p.TitleCount = QStringLiteral("7");
    const SettingsSnapshot s = settingsSnapshot(p);
    EXPECT_EQ(s.caption, QStringLiteral("Vidorun ; settings for project  "));
    EXPECT_EQ(s.autorunlocation, QStringLiteral("none ... yet"));
    EXPECT_EQ(s.coverpicturepath, QStringLiteral("  "));
    EXPECT_EQ(s.playerpath, QStringLiteral("none ... yet"));
    EXPECT_EQ(s.Moviesinproject, QStringLiteral("7"));
}

TEST_F(OptionsFormTest, ReopeningShowsTheProjectAsItIsThen)
{
    start();
    openSettings();
    clickChild("CloseCMD");
    expectMainWindowBack();

    fake.input.answers.push_back(QStringLiteral("  Spaced  "));
    trigger("VIDORUNTITLE");
    writeFile(QStringLiteral("player.exe"), "MZ");
    fake.dialogs.answers.push_back(path(QStringLiteral("player.exe")));
    trigger("PLAYERLOCATION");

    openSettings();
    EXPECT_EQ(child()->windowTitle(), QStringLiteral("Vidorun ; settings for project   Spaced  "));
    EXPECT_EQ(value("playerpath"), path(QStringLiteral("player.exe")));
    EXPECT_EQ(value("codecpath"), QStringLiteral("none ... yet"));
}

TEST_F(OptionsFormTest, ALongPathIsCutOffAndTheWindowKeepsItsSize)
{
    start();
    const QString deep = QStringLiteral("deep/") + QString(200, QLatin1Char('x')) + QStringLiteral("/player.exe");
    writeFile(deep, "MZ");
    fake.dialogs.answers.push_back(path(deep));
    trigger("PLAYERLOCATION");
    openSettings();
    EXPECT_EQ(value("playerpath"), path(deep));
    EXPECT_EQ(childControl<QLabel>("playerpath")->geometry(), QRect(136, 64, 457, 17));
    EXPECT_EQ(child()->size(), QSize(613, 159));
}

TEST_F(OptionsFormTest, CloseEnterAndEscAllCloseIt)
{
    start();
    openSettings();
    clickChild("CloseCMD");
    expectMainWindowBack();

    openSettings();
    pressOnChild(Qt::Key_Return);
    expectMainWindowBack();

    openSettings();
    pressOnChild(Qt::Key_Escape);
    expectMainWindowBack();
}

}  // namespace
}  // namespace vidorun::testing
