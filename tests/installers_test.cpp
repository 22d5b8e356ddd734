// Choosing the player and codec installers, and running them.
#include "child_window_fixture.h"

#include "platform/native.h"

#include <filesystem>

namespace vidorun::testing {
namespace {

using Strings = std::vector<std::string>;

// Player and codec, as the tests drive them.
struct Installer {
    const char *name;
    const char *selectItem;
    const char *button;
    const char *menuItem;
    std::string Project::*setting;
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
    std::string setting() const { return project().*installer().setting; }
    void select(const std::optional<std::string> &chosen)
    {
        fake.dialogs.answers.push_back(chosen);
        trigger(installer().selectItem);
    }
    std::string installerFile(const std::string &name)
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
    const std::string setup = installerFile("Setup Files/setup.exe");
    select(setup);

    ASSERT_EQ(fake.dialogs.uses.size(), 1u);
    const FileDialogRequest &asked = fake.dialogs.uses[0].request;
    EXPECT_EQ(fake.dialogs.uses[0].kind, FileDialogKind::Open);
    EXPECT_EQ(asked.title, installer().dialogTitle);
    EXPECT_EQ(asked.filter, "Executables (*.exe)|*.exe");
    EXPECT_EQ(asked.filterIndex, 1);
    EXPECT_EQ(asked.flags, 4);

    EXPECT_EQ(setting(), setup);
    const std::string other = installer().setting == &Project::PlayerPath ? project().CodecPath : project().PlayerPath;
    EXPECT_EQ(other, "");
    EXPECT_TRUE(fake.messages.shown.empty());

    // A cancel keeps the setting; the next dialog starts on the last name.
    select(std::nullopt);
    EXPECT_EQ(fake.dialogs.uses[1].request.fileName, setup);
    EXPECT_EQ(setting(), setup);
}

TEST_P(InstallersTest, SelectRefusesAMissingFile)
{
    start();
    const std::string setup = installerFile("setup.exe");
    select(setup);
    select(path("gone.exe"));
    EXPECT_EQ(fake.messages.shown,
              (std::vector<ShownMessage>{{installer().notFound, "Shit ... Error!", MsgStyle::Critical}}));
    EXPECT_EQ(setting(), setup);
}

TEST_P(InstallersTest, NothingAttachedSaysSoOnOneLine)
{
    start();
    installBothWays();
    const ShownMessage refused{installer().notAttached, installer().notAttachedTitle, MsgStyle::Critical};
    EXPECT_EQ(fake.messages.shown, (std::vector<ShownMessage>{refused, refused}));
    EXPECT_EQ(fake.launcher.programs, Strings{});
}

TEST_P(InstallersTest, AMissingInstallerIsNamedOnASecondLine)
{
    const std::string setup = installerFile("SETUP.EXE");
    start();
    select(setup);
    removeAll(setup);
    installBothWays();
    const ShownMessage refused{std::string(installer().notAttached) + "\r\n(it should be in " + setup + ")",
                               installer().notAttachedTitle, MsgStyle::Critical};
    EXPECT_EQ(fake.messages.shown, (std::vector<ShownMessage>{refused, refused}));
    EXPECT_EQ(fake.launcher.programs, Strings{});
}

TEST_P(InstallersTest, AnExistingInstallerIsStartedWhole)
{
    start();
    // Not an executable, but it exists: it is handed to the start all the same.
    const std::string setup = installerFile("Player & Codec/setup it.exe");
    select(setup);
    installBothWays();
    EXPECT_EQ(fake.launcher.programs, (Strings{setup, setup}));
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_P(InstallersTest, AFailedStartIsReportedAndTheProgramStaysOpen)
{
    start();
    const std::string setup = installerFile("setup.exe");
    select(setup);
    fake.launcher.fail = true;
    click(installer().button);
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_NE(fake.messages.shown[0].text.find(setup), std::string::npos);
    EXPECT_EQ(fake.messages.shown[0].style, MsgStyle::Critical);
    EXPECT_TRUE(ui.isShown(view()));
}

INSTANTIATE_TEST_SUITE_P(PlayerAndCodec, InstallersTest, ::testing::Values(Player, Codec),
                         [](const ::testing::TestParamInfo<Installer> &info) { return std::string(info.param.name); });

// The real launcher of this system, on an otherwise fake platform.
class RealLauncherTest : public ChildWindowTest {
protected:
    void startWithRealLauncher()
    {
        Platform platform = fake.platform();
        start(Platform{platform.messages, platform.input, platform.dialogs, *m_launcher, platform.media,
                       platform.system, platform.files, platform.pictures});
    }
    std::unique_ptr<Launcher> m_launcher = makeNativeLauncher();
};

// Puts the stand-in installer into `folder` under `name`; it records its
// start into the file that `record` names.
std::string placeRecordingInstaller(const std::string &folder, const std::string &name, const std::string &record)
{
    const std::string setup = folder + '/' + name;
    writeFileAt(setup, readFileAt(RECORD_START_PROGRAM));
    makeRunnable(setup, true);
    setEnvironment("VIDORUN_START_RECORD", record);
    // In the system's own way of writing a path.
    return std::filesystem::path(setup).make_preferred().string();
}

TEST_F(RealLauncherTest, APathWithBlanksIsStartedAsOneProgram)
{
    // A command interpreter would split this path at its blanks and the ";".
    const std::string record = path("started.txt");
    const std::string setup = placeRecordingInstaller(path("Player Setup"), "setup me; echo broken.exe", record);

    startWithRealLauncher();
    fake.dialogs.answers.push_back(setup);
    trigger("PLAYERLOCATION");
    ASSERT_EQ(project().PlayerPath, setup);
    click("MPlayer");

    ASSERT_TRUE(ui.waitFor([&] { return !readFile("started.txt").empty(); })) << "the installer never ran";
    const std::string started = readFile("started.txt");
    const std::size_t lineEnd = started.find('\n');
    ASSERT_NE(lineEnd, std::string::npos) << started;
    EXPECT_EQ(started.substr(0, lineEnd), "1") << "no arguments are added";
    const std::string program = started.substr(lineEnd + 1);
    EXPECT_EQ(program.find('\n'), std::string::npos) << started;
    EXPECT_EQ(std::filesystem::path(program).filename().string(), "setup me; echo broken.exe");
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(RealLauncherTest, AFileThatCannotBeRunIsReported)
{
    // Neither a program the system can run nor a script.
    const std::string setup = path("codec setup.exe");
    writeFile("codec setup.exe", std::string(64, '\0'));
    makeRunnable(setup, false);

    startWithRealLauncher();
    fake.dialogs.answers.push_back(setup);
    trigger("CODECLOCATION");
    click("Codec_Button");
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_NE(fake.messages.shown[0].text.find(setup), std::string::npos);
    EXPECT_EQ(fake.messages.shown[0].title, "Shit ... Error!");
    EXPECT_EQ(fake.messages.shown[0].style, MsgStyle::Critical);
    EXPECT_TRUE(ui.isShown(view()));
}

}  // namespace
}  // namespace vidorun::testing
