// Only regular files count as files: pipes and devices are never opened in a
// way that could block, and never read.
#include "platform/file_test.h"
#include "platform/native.h"
#include "support/main_window_fixture.h"
#include "support/watchdog.h"
#include "ui/qt/qt_pictures.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

class FileTestTest : public FolderTest {
protected:
    void SetUp() override
    {
        FolderTest::SetUp();
        writeFile("movie.avi", "movie");
        makeFolders(path("folder"));
        ASSERT_EQ(::mkfifo("pipe", 0644), 0);
        ASSERT_EQ(::symlink("movie.avi", "link-to-movie"), 0);
        ASSERT_EQ(::symlink("pipe", "link-to-pipe"), 0);
        ASSERT_EQ(::symlink("/dev/zero", "link-to-zero"), 0);
        ASSERT_EQ(::symlink("nowhere", "dangling-link"), 0);
    }
};

TEST_F(FileTestTest, RegularFilesAndLinksToThemAreFiles)
{
    EXPECT_TRUE(isReadableRegularFile("movie.avi"));
    EXPECT_TRUE(isReadableRegularFile(path("movie.avi")));
    EXPECT_TRUE(isReadableRegularFile("link-to-movie"));
}

TEST_F(FileTestTest, MissingFilesFoldersAndEmptyNamesAreNot)
{
    EXPECT_FALSE(isReadableRegularFile("missing.avi"));
    EXPECT_FALSE(isReadableRegularFile("missing/movie.avi"));
    EXPECT_FALSE(isReadableRegularFile("movie.avi/more"));
    EXPECT_FALSE(isReadableRegularFile("folder"));
    EXPECT_FALSE(isReadableRegularFile(""));
    EXPECT_FALSE(isReadableRegularFile("dangling-link"));
}

TEST_F(FileTestTest, PipesAndDevicesAreNotAndNeverBlock)
{
    EXPECT_FALSE(answeredAtOnce([] { return isReadableRegularFile("pipe"); }, "pipe"));
    EXPECT_FALSE(answeredAtOnce([] { return isReadableRegularFile("link-to-pipe"); }, "pipe"));
    EXPECT_FALSE(isReadableRegularFile("/dev/zero"));
    EXPECT_FALSE(isReadableRegularFile("link-to-zero"));
}

TEST_F(FileTestTest, AFileTheUserMayNotReadIsNot)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    ASSERT_EQ(::chmod("movie.avi", 0), 0);
    EXPECT_FALSE(isReadableRegularFile("movie.avi"));
}

TEST_F(FileTestTest, TheFileSystemTestsTheFileItFindsInAnyCase)
{
    const auto files = makeNativeFileSystem();
    EXPECT_TRUE(files->fileExists("MOVIE.AVI"));
    EXPECT_TRUE(files->fileExists(".\\Movie.avi"));
    EXPECT_FALSE(files->fileExists("FOLDER"));
    EXPECT_FALSE(files->fileExists(""));
    EXPECT_FALSE(answeredAtOnce([&] { return files->fileExists("PIPE"); }, "pipe"));
}

TEST_F(FileTestTest, ThePictureLoaderLeavesPipesAndDevicesAlone)
{
    EXPECT_EQ(answeredAtOnce([&] { return ui::qt::loadPicture("pipe", 100, 100); }, "pipe"), nullptr);
    EXPECT_EQ(ui::qt::loadPicture("link-to-zero", 100, 100), nullptr);
}

using SpecialFilesAtStartUp = MainWindowTest;

TEST_F(SpecialFilesAtStartUp, APipeForAProjectFileIsNoProjectFile)
{
    ASSERT_EQ(::mkfifo("autorun.inf", 0644), 0);
    answeredAtOnce([&] { start(); return 0; }, "autorun.inf");
    EXPECT_EQ(project().ProjectFile, "");
    EXPECT_EQ(project().TitleCount, "0");
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(SpecialFilesAtStartUp, APipeForACoverIsAMissingCover)
{
    ASSERT_EQ(::mkfifo("cover.jpg", 0644), 0);
    writeFile("Autorun.inf", projectText({"[vidorun]", "cover=.\\cover.jpg"}));
    answeredAtOnce([&] { start(); return 0; }, "cover.jpg");

    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "The file .\\COVER.JPG does not exists!");
    EXPECT_TRUE(fake.pictures.loaded.empty());
    EXPECT_TRUE(view().isVisible("NoPictureText"));
}

TEST_F(SpecialFilesAtStartUp, ADeviceForACoverIsAMissingCover)
{
    writeFile("Autorun.inf", projectText({"[vidorun]", "cover=/dev/zero"}));
    start();

    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, "The file /DEV/ZERO does not exists!");
    EXPECT_TRUE(fake.pictures.loaded.empty());
}

}  // namespace
