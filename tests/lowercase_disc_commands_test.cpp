// Play and the install buttons on a disc made on Windows and shown here in
// lower case: the checks pass and the files found are the ones started.
#include "lowercase_disc.h"

#include <QComboBox>
#include <QFile>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

using LowerCaseDiscCommands = LowerCaseDiscTest;

TEST_F(LowerCaseDiscCommands, PlayPassesTheChecksAndStartsTheFileFound)
{
    makeDisc();
    start();

    movies()->setCurrentIndex(0);
    click("PlayButton");
    movies()->setCurrentIndex(1);
    click("PlayButton");

    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_TRUE(fake.media.commands.empty());
    EXPECT_EQ(fake.launcher.documents, QStringList({QStringLiteral("movies/part1.avi"), QStringLiteral("movies/part2.avi")}));
}

TEST_F(LowerCaseDiscCommands, PlayMessagesShowTheStoredText)
{
    makeDisc({QStringLiteral("MOVIE03=D:\\MOVIES\\PART3.AVI"), QStringLiteral("TITLE03=Part three"),
              QStringLiteral("MDISK03=DISC1")});
    start();
    movies()->setCurrentIndex(2);
    click("PlayButton");
    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("I can't find 'D:\\MOVIES\\PART3.AVI'"));

    ASSERT_TRUE(QFile::remove(QStringLiteral("disc1.ini")));
    movies()->setCurrentIndex(0);
    click("PlayButton");
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_EQ(fake.messages.shown[1].text, QStringLiteral("Please insert CD with label: 'DISC1'"));
    EXPECT_TRUE(fake.launcher.documents.isEmpty());
}

TEST_F(LowerCaseDiscCommands, TheInstallButtonsStartTheInstallersFound)
{
    makeDisc();
    start();

    click("MPlayer");
    click("Codec_Button");

    EXPECT_TRUE(fake.messages.shown.empty());
    EXPECT_EQ(fake.launcher.programs, QStringList({QStringLiteral("player/setup.exe"), QStringLiteral("codec/install.exe")}));
}

}  // namespace
