// Only regular files count as files: pipes and devices are never opened in a
// way that could block, and never read.
#include "platform/file_test.h"
#include "platform/native.h"
#include "platform/qt_platform.h"
#include "support/main_window_fixture.h"
#include "support/watchdog.h"

#include <QDir>
#include <QLabel>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

std::string bytes(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

class FileTestTest : public WorkingFolderTest {
protected:
    void SetUp() override
    {
        WorkingFolderTest::SetUp();
        writeFile(QStringLiteral("movie.avi"), "movie");
        QDir().mkdir(QStringLiteral("folder"));
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
    EXPECT_TRUE(isReadableRegularFile(bytes(path(QStringLiteral("movie.avi")))));
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
    EXPECT_TRUE(files->fileExists(QStringLiteral("MOVIE.AVI")));
    EXPECT_TRUE(files->fileExists(QStringLiteral(".\\Movie.avi")));
    EXPECT_FALSE(files->fileExists(QStringLiteral("FOLDER")));
    EXPECT_FALSE(files->fileExists(QString()));
    EXPECT_FALSE(answeredAtOnce([&] { return files->fileExists(QStringLiteral("PIPE")); }, "pipe"));
}

TEST_F(FileTestTest, ThePictureLoaderLeavesPipesAndDevicesAlone)
{
    QtPictureLoader loader;
    EXPECT_TRUE(answeredAtOnce([&] { return loader.load(QStringLiteral("pipe"), QSize(100, 100)); }, "pipe").isNull());
    EXPECT_TRUE(loader.load(QStringLiteral("link-to-zero"), QSize(100, 100)).isNull());
}

using SpecialFilesAtStartUp = MainWindowTest;

TEST_F(SpecialFilesAtStartUp, APipeForAProjectFileIsNoProjectFile)
{
    ASSERT_EQ(::mkfifo("autorun.inf", 0644), 0);
    answeredAtOnce([&] { start(); return 0; }, "autorun.inf");
    EXPECT_EQ(project().ProjectFile, QString());
    EXPECT_EQ(project().TitleCount, QStringLiteral("0"));
    EXPECT_TRUE(fake.messages.shown.empty());
}

TEST_F(SpecialFilesAtStartUp, APipeForACoverIsAMissingCover)
{
    ASSERT_EQ(::mkfifo("cover.jpg", 0644), 0);
    writeFile(QStringLiteral("Autorun.inf"), projectFileBytes({QStringLiteral("[vidorun]"), QStringLiteral("cover=.\\cover.jpg")}));
    answeredAtOnce([&] { start(); return 0; }, "cover.jpg");

    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("The file .\\COVER.JPG does not exists!"));
    EXPECT_TRUE(fake.pictures.loaded.isEmpty());
    EXPECT_FALSE(label("NoPictureText")->isHidden());
}

TEST_F(SpecialFilesAtStartUp, ADeviceForACoverIsAMissingCover)
{
    writeFile(QStringLiteral("Autorun.inf"), projectFileBytes({QStringLiteral("[vidorun]"), QStringLiteral("cover=/dev/zero")}));
    start();

    ASSERT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(fake.messages.shown[0].text, QStringLiteral("The file /DEV/ZERO does not exists!"));
    EXPECT_TRUE(fake.pictures.loaded.isEmpty());
}

}  // namespace
