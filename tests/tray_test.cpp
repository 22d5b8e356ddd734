// The CD tray toggle: its steps, the Eject button, and the Linux drive layer.
#include "playback/play_logic.h"
#include "support/main_window_fixture.h"

#include <chrono>

#if defined(__linux__)
#include "platform/native.h"
#include "platform/unix_media_control.h"

#include <sys/stat.h>
#endif

namespace vidorun::testing {
namespace {

TEST(TraySteps, ClosedOpensOpenClosesAnythingElseDoesNothing)
{
    const std::optional<TrayStep> open = trayStep("CLOSED");
    ASSERT_TRUE(open);
    EXPECT_EQ(open->caption, "&CLOSE");
    EXPECT_EQ(open->command, "set CDAudio door open");
    EXPECT_EQ(open->nextState, "OPEN");

    const std::optional<TrayStep> close = trayStep("OPEN");
    ASSERT_TRUE(close);
    EXPECT_EQ(close->caption, "E J E C T");
    EXPECT_EQ(close->command, "set CDAudio door closed");
    EXPECT_EQ(close->nextState, "CLOSED");

    for (const char *other : {"closed", "Open", "", " OPEN"})
        EXPECT_FALSE(trayStep(other)) << other;
}

using EjectTest = MainWindowTest;

TEST_F(EjectTest, AlternatesCaptionCommandAndStateWhateverTheDriveAnswers)
{
    fake.media.result = 263;  // no drive
    start();
    EXPECT_EQ(view().text("EjectButton"), "E J E C T");

    const std::vector<std::string> expected{"set CDAudio door open", "set CDAudio door closed",
                                            "set CDAudio door open"};
    const std::vector<std::string> captions{"&CLOSE", "E J E C T", "&CLOSE"};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        click("EjectButton");
        EXPECT_EQ(fake.media.commands.back(), expected[i]);
        EXPECT_EQ(view().text("EjectButton"), captions[i]);
        EXPECT_EQ(project().TrayState, i % 2 == 0 ? "OPEN" : "CLOSED");
    }
    EXPECT_EQ(fake.media.commands, expected);
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(EjectTest, AltCPressesTheButtonWhileItReadsClose)
{
    start();
    click("EjectButton");
    ASSERT_EQ(view().text("EjectButton"), "&CLOSE");
    activate();
    press(Key::AltC);
    // An access key presses the button the animated way, a moment later.
    EXPECT_TRUE(ui.waitFor([&] { return fake.media.commands.size() == 2; }));
    EXPECT_EQ(fake.media.commands.back(), "set CDAudio door closed");
}

// Sees, at the moment each command is sent, what the window shows and believes.
class WitnessMediaControl final : public MediaControl {
public:
    int sendString(const std::string &command) override
    {
        seen.push_back({command, main ? main->view().text("EjectButton") : std::string(),
                        main ? main->project().TrayState : std::string()});
        return 262;
    }
    struct Seen {
        std::string command;
        std::string caption;
        std::string state;
    };
    std::vector<Seen> seen;
    VidorunMain *main = nullptr;
};

TEST_F(EjectTest, SetsTheCaptionBeforeSendingAndTheStateAfter)
{
    WitnessMediaControl witness;
    start(Platform{fake.messages, fake.input, fake.dialogs, fake.launcher, witness, fake.system, fake.files,
                   fake.pictures});
    witness.main = &window();

    click("EjectButton");
    click("EjectButton");

    ASSERT_EQ(witness.seen.size(), 2u);
    EXPECT_EQ(witness.seen[0].command, "set CDAudio door open");
    EXPECT_EQ(witness.seen[0].caption, "&CLOSE");
    EXPECT_EQ(witness.seen[0].state, "CLOSED");
    EXPECT_EQ(witness.seen[1].command, "set CDAudio door closed");
    EXPECT_EQ(witness.seen[1].caption, "E J E C T");
    EXPECT_EQ(witness.seen[1].state, "OPEN");
    m_window.reset();  // before the witness it reports to
}

#if defined(__linux__)

using UnixTray = FolderTest;

long long millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

TEST_F(UnixTray, AnswersUnknownStringsWithoutTouchingADrive)
{
    writeFile("drive", "");
    UnixMediaControl media({path("drive")});
    EXPECT_EQ(media.sendString("play CDAudio"), MciError::UnrecognizedCommand);
    EXPECT_EQ(media.sendString("set CDAudio door ajar"), MciError::UnrecognizedCommand);
    EXPECT_EQ(media.sendString(""), MciError::UnrecognizedCommand);
    // MCI reads its words in any case; a plain file as drive proves the request got as far as the drive.
    EXPECT_EQ(media.sendString("SET cdaudio DOOR Open"), MciError::Hardware);
}

TEST_F(UnixTray, MissingOrUnfitDrivesAnswerAnErrorAtOnce)
{
    UnixMediaControl none({path("no-such-drive")});
    EXPECT_EQ(none.sendString("set CDAudio door open"), MciError::InvalidDeviceName);

    // A pipe nobody writes to would hang a blocking open for ever.
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    writeFile("plain", "");
    UnixMediaControl unfit({path("no-such-drive"), path("fifo")});
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(unfit.sendString("set CDAudio door open"), MciError::Hardware);
    EXPECT_EQ(unfit.sendString("set CDAudio door closed"), MciError::Hardware);
    EXPECT_LT(millisecondsSince(started), 1000);
}

TEST(UnixTrayDefaultDrive, WithoutADriveTheRealControlReturnsAtOnce)
{
    struct stat info {};
    if (::stat("/dev/cdrom", &info) == 0 || ::stat("/dev/sr0", &info) == 0)
        GTEST_SKIP() << "this machine has a CD drive; its tray is left alone";
    const std::unique_ptr<MediaControl> media = makeNativeMediaControl();
    const auto started = std::chrono::steady_clock::now();
    EXPECT_NE(media->sendString("set CDAudio door open"), 0);
    EXPECT_NE(media->sendString("set CDAudio door closed"), 0);
    EXPECT_LT(millisecondsSince(started), 1000);
}

#endif

}  // namespace
}  // namespace vidorun::testing
