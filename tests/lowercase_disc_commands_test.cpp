// Play and the install buttons on a disc made on Windows and shown here in
// lower case: the checks pass and the files found are the ones started.
#include "lowercase_disc.h"

using namespace vidorun;
using namespace vidorun::testing;

namespace {

using LowerCaseDiscCommands = LowerCaseDiscTest;
using Strings = std::vector<std::string>;

TEST_F(LowerCaseDiscCommands, PlayPassesTheChecksAndStartsTheFileFound)
{
    makeDisc();
    start();

    ui.select(view(), "Movies", 0);
    click("PlayButton");
    ui.select(view(), "Movies", 1);
    click("PlayButton");

    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_TRUE(fake.media.commands.empty());
    EXPECT_EQ(fake.launcher.documents, (Strings{"movies/part1.avi", "movies/part2.avi"}));
}

TEST_F(LowerCaseDiscCommands, PlayMessagesShowTheStoredText)
{
    makeDisc({"MOVIE03=D:\\MOVIES\\PART3.AVI", "TITLE03=Part three", "MDISK03=DISC1"});
    start();
    ui.select(view(), "Movies", 2);
    click("PlayButton");
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "I can't find 'D:\\MOVIES\\PART3.AVI'");

    removeAll(path("disc1.ini"));
    ui.select(view(), "Movies", 0);
    click("PlayButton");
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_EQ(fake.messages.shown[1].text, "Please insert CD with label: 'DISC1'");
    EXPECT_EQ(fake.launcher.documents, Strings{});
}

TEST_F(LowerCaseDiscCommands, TheInstallButtonsStartTheInstallersFound)
{
    makeDisc();
    start();

    click("MPlayer");
    click("Codec_Button");

    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(fake.launcher.programs, (Strings{"player/setup.exe", "codec/install.exe"}));
}

}  // namespace
