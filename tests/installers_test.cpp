// Choosing the player and codec installers, and running them.
#include "child_window_fixture.h"

#include "platform/native.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vidorun::testing {
namespace {

// Player and codec, as the tests drive them.
struct Installer {
    const char *name;
    const char *selectItem;
    const char *button;
    const char *menuItem;
    QString Project::*setting;
    const char *dialogTitle;
    const char *notFound;
    const char *notAttached;
    const char *notAttachedTitle;
};

void PrintTo(const Installer &installer, std::ostream *out)
{
    *out << installer.name;
}

const Installer Player{"player",
                       "PLAYERLOCATION",
                       "MPlayer",
                       "INSTALLPLAYER",
                       &Project::PlayerPath,
                       "Select your favorite player",
                       "This player does not exists!",
                       "There is no player attached!",
                       "What!  No PLAYER?"};
const Installer Codec{"codec",
                      "CODECLOCATION",
                      "Codec_Button",
                      "INSTALLCODEC",
                      &Project::CodecPath,
                      "Select your favorite codec",
                      "This codec does not exists!",
                      "There is no codec attached!",
                      "What!  No CODEC?"};

class InstallersTest : public ChildWindowTest, public ::testing::WithParamInterface<Installer> {
protected:
    const Installer &installer() const { return GetParam(); }
    QString setting() const { return project().*installer().setting; }
    void select(const std::optional<QString> &chosen)
    {
        fake.dialogs.answers.push_back(chosen);
        trigger(installer().selectItem);
    }
    QString installerFile(const QString &name)
    {
        writeFile(name, "MZ setup");
        return path(name);
    }
    // Runs the installer through its button, then through its menu item;
    // both must give the same result.
    void installBothWays()
    {
        click(installer().button);
        trigger(installer().menuItem);
    }
};

TEST_P(InstallersTest, SelectSetsOnlyItsOwnSetting)
{
    start();
    const QString setup = installerFile(QStringLiteral("Setup Files/setup.exe"));
    select(setup);

    ASSERT_EQ(fake.dialogs.uses.size(), 1u);
    const FileDialogRequest &asked = fake.dialogs.uses[0].request;
    EXPECT_EQ(fake.dialogs.uses[0].kind, FileDialogKind::Open);
    EXPECT_EQ(asked.title, QLatin1String(installer().dialogTitle));
    EXPECT_EQ(asked.filter, QStringLiteral("Executables (*.exe)|*.exe"));
    EXPECT_EQ(asked.filterIndex, 1);
    EXPECT_EQ(asked.flags, 4);

    EXPECT_EQ(setting(), setup);
    const QString other = installer().setting == &Project::PlayerPath ? project().CodecPath : project().PlayerPath;
    EXPECT_TRUE(other.isEmpty());
    EXPECT_TRUE(fake.messages.shown.empty());

    // A cancel keeps the setting; the next dialog starts on the last name.
    select(std::nullopt);
    EXPECT_EQ(fake.dialogs.uses[1].request.fileName, setup);
    EXPECT_EQ(setting(), setup);
}

TEST_P(InstallersTest, SelectRefusesAMissingFile)
{
    start();
    const QString setup = installerFile(QStringLiteral("setup.exe"));
    select(setup);
    select(path(QStringLiteral("gone.exe")));
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, QLatin1String(installer().notFound));
    EXPECT_EQ(fake.messages.shown[0].title, QStringLiteral("Shit ... Error!"));
    EXPECT_EQ(fake.messages.shown[0].style, MsgStyle::Critical);
    EXPECT_EQ(setting(), setup);
}

TEST_P(InstallersTest, NothingAttachedSaysSoOnOneLine)
{
    start();
    installBothWays();
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    for (const ShownMessage &shown : fake.messages.shown) {
        EXPECT_EQ(shown.text, QLatin1String(installer().notAttached));
        EXPECT_EQ(shown.title, QLatin1String(installer().notAttachedTitle));
        EXPECT_EQ(shown.style, MsgStyle::Critical);
    }
    EXPECT_TRUE(fake.launcher.programs.isEmpty());
}

TEST_P(InstallersTest, AMissingInstallerIsNamedOnASecondLine)
{
    const QString setup = installerFile(QStringLiteral("SETUP.EXE"));
    start();
    select(setup);
    QFile::remove(setup);
    installBothWays();
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    for (const ShownMessage &shown : fake.messages.shown) {
        EXPECT_EQ(shown.text, QLatin1String(installer().notAttached) + "\r\n(it should be in " + setup + ")");
        EXPECT_EQ(shown.title, QLatin1String(installer().notAttachedTitle));
        EXPECT_EQ(shown.style, MsgStyle::Critical);
    }
    EXPECT_TRUE(fake.launcher.programs.isEmpty());
}

TEST_P(InstallersTest, AnExistingInstallerIsStartedWhole)
{
    start();
    // Not an executable, but it exists: it is handed to the start all the same.
    const QString setup = installerFile(QStringLiteral("Player & Codec/setup it.exe"));
    select(setup);
    installBothWays();
    EXPECT_EQ(fake.launcher.programs, (QStringList{setup, setup}));
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_P(InstallersTest, AFailedStartIsReportedAndTheProgramStaysOpen)
{
    start();
    const QString setup = installerFile(QStringLiteral("setup.exe"));
    select(setup);
    fake.launcher.fail = true;
    click(installer().button);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_TRUE(fake.messages.shown[0].text.contains(setup));
    EXPECT_EQ(fake.messages.shown[0].style, MsgStyle::Critical);
    EXPECT_TRUE(window().isVisible());
}

INSTANTIATE_TEST_SUITE_P(PlayerAndCodec, InstallersTest, ::testing::Values(Player, Codec),
                         [](const ::testing::TestParamInfo<Installer> &info) { return std::string(info.param.name); });

// The real launcher of this system, on an otherwise fake platform.
class RealLauncherTest : public ChildWindowTest {
protected:
    void startWithRealLauncher()
    {
        Platform platform = fake.platform();
        Platform real{platform.messages, platform.input, platform.dialogs, *m_launcher,
                      platform.media,    platform.system, platform.files,  platform.pictures};
        m_window = std::make_unique<VidorunMain>(real);
        m_window->show();
    }
    std::unique_ptr<Launcher> m_launcher = makeNativeLauncher();
};

// Puts the stand-in installer into the working folder under `name`; it
// records its start into the file that `record` names.
QString placeRecordingInstaller(const QString &folder, const QString &name, const QString &record)
{
    QDir().mkpath(folder);
    const QString setup = QDir(folder).filePath(name);
    EXPECT_TRUE(QFile::copy(QStringLiteral(RECORD_START_PROGRAM), setup));
    qputenv("VIDORUN_START_RECORD", QFile::encodeName(record));
    return QDir::toNativeSeparators(setup);
}

TEST_F(RealLauncherTest, APathWithBlanksIsStartedAsOneProgram)
{
    // A command interpreter would split this path at its blanks and the ";".
    const QString record = path(QStringLiteral("started.txt"));
    const QString setup = placeRecordingInstaller(path(QStringLiteral("Player Setup")),
                                                  QStringLiteral("setup me; echo broken.exe"), record);

    startWithRealLauncher();
    fake.dialogs.answers.push_back(setup);
    trigger("PLAYERLOCATION");
    ASSERT_EQ(project().PlayerPath, setup);
    click("MPlayer");

    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile(record).size() > 0; }, 10000)) << "the installer never ran";
    const QStringList started = QString::fromLocal8Bit(readFile(QStringLiteral("started.txt"))).split(QLatin1Char('\n'));
    ASSERT_EQ(started.size(), 2);
    EXPECT_EQ(started[0], QStringLiteral("1")) << "no arguments are added";
    EXPECT_EQ(QFileInfo(started[1]).fileName(), QStringLiteral("setup me; echo broken.exe"));
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(RealLauncherTest, AFileThatCannotBeRunIsReported)
{
    // Neither a program the system can run nor a script.
    const QString setup = path(QStringLiteral("codec setup.exe"));
    writeFile(QStringLiteral("codec setup.exe"), QByteArray(64, '\0'));
#ifndef Q_OS_WIN
    ASSERT_TRUE(QFile::setPermissions(setup, QFile::ReadOwner | QFile::WriteOwner));
#endif

    startWithRealLauncher();
    fake.dialogs.answers.push_back(setup);
    trigger("CODECLOCATION");
    click("Codec_Button");
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_TRUE(fake.messages.shown[0].text.contains(setup));
    EXPECT_EQ(fake.messages.shown[0].title, QStringLiteral("Shit ... Error!"));
    EXPECT_EQ(fake.messages.shown[0].style, MsgStyle::Critical);
    EXPECT_TRUE(window().isVisible());
}

}  // namespace
}  // namespace vidorun::testing
