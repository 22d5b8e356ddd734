// Finding the files of a disc made on Windows, in the letter case the disc
// shows here.
#include "platform/disc_path.h"
#include "platform/file_places.h"
#include "projectfile/letter_case.h"
#include "support/temporary_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

using namespace vidorun;

namespace {

class DiscPathTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(disc().empty()); }

    // Makes an empty file (and its folders) on the disc.
    void make(const std::string &name)
    {
        const std::string full = disc() + '/' + name;
        vidorun::testing::makeFolders(full.substr(0, full.rfind('/')));
        const int fd = ::open(full.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        ASSERT_GE(fd, 0) << full;
        ::close(fd);
    }
    std::string disc() const { return m_disc->path(); }
    std::string on(const std::string &name) const { return disc() + '/' + name; }
    std::string resolve(const std::string &path) const { return resolveDiscPath(path, disc()); }

    std::unique_ptr<vidorun::testing::TemporaryFolder> m_disc = std::make_unique<vidorun::testing::TemporaryFolder>();
};

TEST_F(DiscPathTest, WindowsPathsFindTheirFilesOnALowerCaseDisc)
{
    make("autorun.inf");
    make("disc1.ini");
    make("movies/part1.avi");

    EXPECT_EQ(resolve(".\\Autorun.inf"), "autorun.inf");
    EXPECT_EQ(resolve("./AUTORUN.INF"), "autorun.inf");
    EXPECT_EQ(resolve("Autorun.inf"), "autorun.inf");
    EXPECT_EQ(resolve("DISC1.INI"), "disc1.ini");
    EXPECT_EQ(resolve("MOVIES\\PART1.AVI"), "movies/part1.avi");
    EXPECT_EQ(resolve("MOVIES\\\\PART1.AVI"), "movies/part1.avi");
    EXPECT_EQ(resolve("MOVIES\\..\\DISC1.INI"), "disc1.ini");
    EXPECT_EQ(resolve(".\\"), ".");
}

TEST_F(DiscPathTest, WhatIsThereAsWrittenIsUsedAsWritten)
{
    make("movies/part1.avi");
    make("odd\\name.avi");  // a Unix name with a backslash in it

    EXPECT_EQ(resolve("./movies/part1.avi"), "./movies/part1.avi");
    EXPECT_EQ(resolve("movies/../movies/part1.avi"), "movies/../movies/part1.avi");
    EXPECT_EQ(resolve("odd\\name.avi"), "odd\\name.avi");
    EXPECT_EQ(resolve(on("odd\\name.avi")), on("odd\\name.avi"));
    EXPECT_EQ(resolve(on("movies/part1.avi")), on("movies/part1.avi"));
}

TEST_F(DiscPathTest, DriveLettersAndTheDriveRootStandForTheWorkingFolder)
{
    make("movies/part1.avi");

    EXPECT_EQ(resolve("D:\\MOVIES\\PART1.AVI"), "movies/part1.avi");
    EXPECT_EQ(resolve("d:/movies/Part1.avi"), "movies/part1.avi");
    EXPECT_EQ(resolve("E:MOVIES\\PART1.AVI"), "movies/part1.avi");
    EXPECT_EQ(resolve("\\MOVIES\\PART1.AVI"), "movies/part1.avi");
}

TEST_F(DiscPathTest, JolietNamesKeepTheirOwnCase)
{
    make("Movies/Part One.avi");
    make("Café/Crème brûlée.AVI");
    make("ΣΤΟ ΣΠΙΤΙ/Фильм.avi");

    EXPECT_EQ(resolve("MOVIES\\PART ONE.AVI"), "Movies/Part One.avi");
    EXPECT_EQ(resolve("CAFÉ\\CRÈME BRÛLÉE.AVI"), "Café/Crème brûlée.AVI");
    EXPECT_EQ(resolve("στο σπιτι/ФИЛЬМ.AVI"), "ΣΤΟ ΣΠΙΤΙ/Фильм.avi");
}

TEST_F(DiscPathTest, AnExactMatchWinsThenTheFirstInByteOrder)
{
    make("readme.txt");
    make("README.TXT");
    make("ReadMe.txt");
    make("sub/b.avi");
    make("SUB/a.avi");

    EXPECT_EQ(resolve("README.TXT"), "README.TXT");
    EXPECT_EQ(resolve("readme.txt"), "readme.txt");
    EXPECT_EQ(resolve("ReadMe.txt"), "ReadMe.txt");
    EXPECT_EQ(resolve("Readme.TXT"), "README.TXT");
    // A folder's exact twin wins even where only the other holds the file.
    EXPECT_EQ(resolve("sub\\A.AVI"), "sub/A.AVI");
    EXPECT_EQ(resolve("Sub\\A.AVI"), "SUB/a.avi");
}

TEST_F(DiscPathTest, AMissingComponentKeepsTheRestAsWritten)
{
    make("movies/part1.avi");

    EXPECT_EQ(resolve("MOVIES\\PART9.AVI"), "movies/PART9.AVI");
    EXPECT_EQ(resolve("D:\\FILMS\\PART1.AVI"), "FILMS/PART1.AVI");
    EXPECT_EQ(resolve("MOVIES\\PART1.AVI\\MORE"), "movies/part1.avi/MORE");
    EXPECT_EQ(resolve(""), "");
    EXPECT_EQ(kindAt(on(resolve("MOVIES\\PART9.AVI"))), FileKind::Missing);
}

TEST_F(DiscPathTest, AbsolutePathsAreFoundFromTheRoot)
{
    make("movies/part1.avi");

    // A project made here and read back upper-cased.
    const std::string upper = projectUpper(on("movies/part1.avi"), true);
    EXPECT_EQ(resolve(upper), on("movies/part1.avi"));
    EXPECT_EQ(resolveDiscPath(upper, "/somewhere/else"), on("movies/part1.avi"));
}

TEST_F(DiscPathTest, ABigFolderResolvesQuickly)
{
    // Making 5000 files on some disks takes seconds; memory is quicker.
    if (::access("/dev/shm", W_OK) == 0)
        m_disc = std::make_unique<vidorun::testing::TemporaryFolder>("/dev/shm");
    make("big/sub/wanted.avi");
    for (int i = 0; i < 5000; ++i) {
        const int fd = ::open(on("big/movie" + std::to_string(i) + ".avi").c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }

    const auto begin = std::chrono::steady_clock::now();
    const std::string found = resolve("BIG\\MOVIE4999.AVI");
    const std::string deeper = resolve("BIG\\SUB\\WANTED.AVI");
    const auto took = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin);

    EXPECT_EQ(found, "big/movie4999.avi");
    EXPECT_EQ(deeper, "big/sub/wanted.avi");
    EXPECT_LT(took.count(), 100.0);
    RecordProperty("two lookups in a folder of 5000 entries, ms", std::to_string(took.count()));
    std::printf("two lookups in a folder of 5000 entries: %.2f ms\n", took.count());
}

TEST_F(DiscPathTest, LetterCaseIsIgnoredAsWindowsIgnoresIt)
{
    make("films/\xC3\xA9t\xC3\xA9/stra\xC3\x9F" "e.avi");
    make("films/caf\xE9.avi");  // a Windows-1252 name, no UTF-8

    EXPECT_EQ(resolve("FILMS\\\xC3\x89T\xC3\x89\\STRA\xC3\x9F" "E.AVI"), "films/\xC3\xA9t\xC3\xA9/stra\xC3\x9F" "e.avi");
    // ß is not SS, on Windows as here.
    EXPECT_EQ(resolve("FILMS\\\xC3\x89T\xC3\x89\\STRASSE.AVI"), "films/\xC3\xA9t\xC3\xA9/STRASSE.AVI");
    EXPECT_EQ(resolve("FILMS\\CAF\xE9.AVI"), "films/caf\xE9.avi");
}

}  // namespace
