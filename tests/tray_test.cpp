// The CD tray toggle: its steps, the Eject button, and the Linux drive layer.
#include "playback/play_logic.h"
#include "support/main_window_fixture.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

#if defined(__linux__)
#include "platform/native.h"
#include "platform/unix_media_control.h"

#include <sys/stat.h>
#endif

namespace vidorun::testing {
namespace {

TEST(TraySteps, ClosedOpensOpenClosesAnythingElseDoesNothing)
{
    const std::optional<TrayStep> open = trayStep(QStringLiteral("CLOSED"));
    ASSERT_TRUE(open);
    EXPECT_EQ(open->caption, QStringLiteral("&CLOSE"));
    EXPECT_EQ(open->command, "set CDAudio door open");
    EXPECT_EQ(open->nextState, QStringLiteral("OPEN"));

    const std::optional<TrayStep> close = trayStep(QStringLiteral("OPEN"));
    ASSERT_TRUE(close);
    EXPECT_EQ(close->caption, QStringLiteral("E J E C T"));
    EXPECT_EQ(close->command, "set CDAudio door closed");
    EXPECT_EQ(close->nextState, QStringLiteral("CLOSED"));

    for (const char *other : {"closed", "Open", "", " OPEN"})
        EXPECT_FALSE(trayStep(QLatin1String(other))) << other;
}

using EjectTest = MainWindowTest;

TEST_F(EjectTest, AlternatesCaptionCommandAndStateWhateverTheDriveAnswers)
{
    fake.media.result = 263;  // no drive
    start();
    QPushButton *eject = button("EjectButton");
    ASSERT_NE(eject, nullptr);
    EXPECT_EQ(eject->text(), QStringLiteral("E J E C T"));

    const std::vector<std::string> expected{"set CDAudio door open", "set CDAudio door closed",
                                            "set CDAudio door open"};
    const QStringList captions{QStringLiteral("&CLOSE"), QStringLiteral("E J E C T"), QStringLiteral("&CLOSE")};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        click("EjectButton");
        EXPECT_EQ(fake.media.commands.back(), expected[i]);
        EXPECT_EQ(eject->text(), captions[int(i)]);
        EXPECT_EQ(project().TrayState, i % 2 == 0 ? QStringLiteral("OPEN") : QStringLiteral("CLOSED"));
    }
    EXPECT_EQ(fake.media.commands, expected);
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(EjectTest, AltCPressesTheButtonWhileItReadsClose)
{
    start();
    click("EjectButton");
    ASSERT_EQ(button("EjectButton")->text(), QStringLiteral("&CLOSE"));
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    QTest::keyClick(&window(), Qt::Key_C, Qt::AltModifier);
    // An access key presses the button the animated way, a moment later.
    EXPECT_TRUE(QTest::qWaitFor([&] { return fake.media.commands.size() == 2; }, 2000));
    EXPECT_EQ(fake.media.commands.back(), "set CDAudio door closed");
}

// Sees, at the moment each command is sent, what the window shows and believes.
class WitnessMediaControl final : public MediaControl {
public:
    int sendString(const std::string &command) override
    {
        seen.push_back({command, eject ? eject->text() : QString(), main ? main->project().TrayState : QString()});
        return 262;
    }
    struct Seen {
        std::string command;
        QString caption;
        QString state;
    };
    std::vector<Seen> seen;
    QPushButton *eject = nullptr;
    VidorunMain *main = nullptr;
};

TEST_F(EjectTest, SetsTheCaptionBeforeSendingAndTheStateAfter)
{
    WitnessMediaControl witness;
    VidorunMain main(Platform{fake.messages, fake.input, fake.dialogs, fake.launcher, witness, fake.system,
                              fake.files, fake.pictures});
    witness.main = &main;
    witness.eject = main.findChild<QPushButton *>(QStringLiteral("EjectButton"));
    main.show();

    QTest::mouseClick(witness.eject, Qt::LeftButton);
    QTest::mouseClick(witness.eject, Qt::LeftButton);

    ASSERT_EQ(witness.seen.size(), 2u);
    EXPECT_EQ(witness.seen[0].command, "set CDAudio door open");
    EXPECT_EQ(witness.seen[0].caption, QStringLiteral("&CLOSE"));
    EXPECT_EQ(witness.seen[0].state, QStringLiteral("CLOSED"));
    EXPECT_EQ(witness.seen[1].command, "set CDAudio door closed");
    EXPECT_EQ(witness.seen[1].caption, QStringLiteral("E J E C T"));
    EXPECT_EQ(witness.seen[1].state, QStringLiteral("OPEN"));
}

#if defined(__linux__)

using UnixTray = WorkingFolderTest;

TEST_F(UnixTray, AnswersUnknownStringsWithoutTouchingADrive)
{
    writeFile(QStringLiteral("drive"), {});
    UnixMediaControl media({path(QStringLiteral("drive")).toStdString()});
    EXPECT_EQ(media.sendString("play CDAudio"), MciError::UnrecognizedCommand);
    EXPECT_EQ(media.sendString("set CDAudio door ajar"), MciError::UnrecognizedCommand);
    EXPECT_EQ(media.sendString(""), MciError::UnrecognizedCommand);
    // MCI reads its words in any case; a plain file as drive proves the request got as far as the drive.
    EXPECT_EQ(media.sendString("SET cdaudio DOOR Open"), MciError::Hardware);
}

TEST_F(UnixTray, MissingOrUnfitDrivesAnswerAnErrorAtOnce)
{
    UnixMediaControl none({path(QStringLiteral("no-such-drive")).toStdString()});
    EXPECT_EQ(none.sendString("set CDAudio door open"), MciError::InvalidDeviceName);

    // A pipe nobody writes to would hang a blocking open for ever.
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(QStringLiteral("fifo"))).constData(), 0600), 0);
    writeFile(QStringLiteral("plain"), {});
    UnixMediaControl unfit({path(QStringLiteral("no-such-drive")).toStdString(),
                            path(QStringLiteral("fifo")).toStdString()});
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(unfit.sendString("set CDAudio door open"), MciError::Hardware);
    EXPECT_EQ(unfit.sendString("set CDAudio door closed"), MciError::Hardware);
    EXPECT_LT(timer.elapsed(), 1000);
}

TEST(UnixTrayDefaultDrive, WithoutADriveTheRealControlReturnsAtOnce)
{
    if (QFileInfo::exists(QStringLiteral("/dev/cdrom")) || QFileInfo::exists(QStringLiteral("/dev/sr0")))
        GTEST_SKIP() << "this machine has a CD drive; its tray is left alone";
    const std::unique_ptr<MediaControl> media = makeNativeMediaControl();
    QElapsedTimer timer;
    timer.start();
    EXPECT_NE(media->sendString("set CDAudio door open"), 0);
    EXPECT_NE(media->sendString("set CDAudio door closed"), 0);
    EXPECT_LT(timer.elapsed(), 1000);
}

#endif

}  // namespace
}  // namespace vidorun::testing
