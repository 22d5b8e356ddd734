// Project files far bigger than any the program writes, read as the Read
// command and start-up read them: the reader streams, so memory stays flat
// and time grows with the size alone.
#include "playback/play_logic.h"
#include "platform/file_places.h"
#include "projectfile/project_reader.h"
#include "support/process_memory.h"
#include "support/temporary_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <random>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

constexpr std::int64_t MiB = 1024 * 1024;
// What reading may add to the process's peak: the reader's buffer and one
// item, the hundred titles of a list, and some slack.
constexpr std::int64_t AllowedGrowthKb = 4 * 1024;

// One MiB of what a hostile disc might carry: movie keys by the thousand
// (numbers that repeat, are negative or have a point), lines far over the
// item limit, runs of commas, quotes that open and close across lines, and
// random bytes with NULs and bytes that are no UTF-8.
std::string junkBlock(unsigned seed)
{
    std::mt19937 random(seed);
    auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    std::string block;
    block.reserve(MiB + 64 * 1024);
    while (std::int64_t(block.size()) < MiB) {
        switch (pick(0, 6)) {
        case 0:
        case 1: {
            static const char *const keys[] = {"title", "movie", "mdisk", "TITLE", "Movie"};
            static const char *const numbers[] = {"01", "07", "99", "00", "-1", "1.5", " 3", "x"};
            block += std::string(keys[pick(0, 4)]) + numbers[pick(0, 7)] + "=Value " + std::to_string(pick(0, 99999));
            block += pick(0, 3) ? "\r\n" : ",";
            break;
        }
        case 2:
            block += "title42=" + std::string(std::size_t(pick(5000, 20000)), 'L') + "\r\n";
            break;
        case 3:
            block += std::string(std::size_t(pick(1, 300)), ',');
            break;
        case 4:
            block += "\"cover=A,B\r\nC" + std::string(std::size_t(pick(0, 200)), ' ') + "\" after the quote\n";
            break;
        default: {
            const int n = pick(100, 2000);
            for (int i = 0; i < n; ++i)
                block += char(pick(0, 255));
            break;
        }
        }
    }
    block.resize(std::size_t(MiB));
    return block;
}

class BigProjectFileTest : public FolderTest {
protected:
    // Writes `head` and then `block` until the file holds `total` bytes,
    // without ever holding the whole file in memory.
    void writeBig(const char *name, const std::string &head, const std::string &block, std::int64_t total)
    {
        std::FILE *file = std::fopen(path(name).c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::int64_t written = std::int64_t(std::fwrite(head.data(), 1, head.size(), file));
        for (std::int64_t left = total - written; left > 0; left -= std::int64_t(block.size()))
            written += std::int64_t(std::fwrite(block.data(), 1, std::size_t(std::min<std::int64_t>(left, std::int64_t(block.size()))), file));
        ASSERT_EQ(std::fclose(file), 0);
        ASSERT_EQ(written, total);
    }

    // Reads the file as the Read command does: counters at "0", then every
    // item into the project.
    ReadOutcome readBig(const char *what, const char *name, std::int64_t bytes)
    {
        m_project = Project();
        m_project.TitleCount = m_project.PathCount = m_project.CDCount = "0";
        ReadOutcome outcome;
        const auto begin = std::chrono::steady_clock::now();
        const std::int64_t growthKb =
            ProcessMemory::peakGrowthKb([&] { outcome = readProjectFile(path(name), m_project); });
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
        std::printf("[ figures  ] %s: %.0f MB in %.2f s, %.0f MB/s, peak grew by %lld kB\n", what,
                    double(bytes) / 1e6, seconds, double(bytes) / 1e6 / seconds, static_cast<long long>(growthKb));
        RecordProperty("seconds", std::to_string(seconds));
        RecordProperty("peakGrowthKb", std::to_string(growthKb));
        if (!SanitizerBuild && growthKb >= 0) {
            EXPECT_LT(growthKb, AllowedGrowthKb);
        }
        return outcome;
    }

    Project m_project;
};

// The probe the bounds rest on sees memory that is held while reading.
TEST(ProcessMemoryProbe, SeesMemoryHeldMeanwhile)
{
    if (SanitizerBuild)
        GTEST_SKIP() << "sanitizers keep memory of their own";
    const std::int64_t growthKb = ProcessMemory::peakGrowthKb([] {
        const std::string held(std::size_t(32 * MiB), 'x');
        EXPECT_EQ(held.back(), 'x');
    });
    if (growthKb < 0)
        GTEST_SKIP() << "this system tells no peak memory";
    EXPECT_GE(growthKb, 31 * 1024);
}

// What the Read command and start-up go on with: the counters, the list,
// the caption's title, and the cover they look for.
TEST_F(BigProjectFileTest, ReadsA200MegabyteJunkFileInFlatMemory)
{
    const std::int64_t total = 200 * MiB;
    writeBig("Junk.inf", "[autorun]\r\nOPEN=Vidorun.exe\r\n\r\n[vidorun]\r\nthe_title=Big\r\n", junkBlock(2026), total);

    const ReadOutcome outcome = readBig("a junk project file", "Junk.inf", total);

    ASSERT_TRUE(outcome.opened);
    // Thousands of title lines, listed no further than the tables reach.
    EXPECT_GT(counterValue(m_project.TitleCount), 1000);
    EXPECT_EQ(listableMovies(m_project), MaxMovieNumber);
    EXPECT_EQ(m_project.MovieTitles[42].size(), std::size_t(4096 - 8)) << "an over-long item keeps its first 4096 bytes";
    EXPECT_EQ(outcome.title, "Big");
    // The counters disagree and the cover is no file: the read says so and goes on.
    EXPECT_TRUE(m_project.TitleCount != m_project.PathCount || m_project.PathCount != m_project.CDCount);
    EXPECT_FALSE(m_project.CoverPicturePath.empty());
    EXPECT_NE(kindAt(path(m_project.CoverPicturePath)), FileKind::File);
}

// A file without a single line end or comma is one item: the reader keeps its
// first 4096 bytes and skips the rest, quoted or not.
TEST_F(BigProjectFileTest, TheReadCommandReadsFilesWithoutLineEndsInFlatMemory)
{
    const std::int64_t total = 64 * MiB;
    struct Case {
        const char *name;
        std::string head;
    };
    for (const Case &c : {Case{"one unquoted item", "the_title="}, Case{"one quote never closed", "\"the_title="}}) {
        SCOPED_TRACE(c.name);
        writeBig("Endless.inf", c.head, std::string(64 * 1024, 'A'), total);

        const ReadOutcome outcome = readBig(c.name, "Endless.inf", total);

        EXPECT_EQ(m_project.ProjectTitle, std::string(4096 - 10, 'A'));
        EXPECT_EQ(outcome.title, m_project.ProjectTitle);
        // Nothing for a message to say: the counters agree and there is no cover.
        EXPECT_EQ(m_project.TitleCount, "0");
        EXPECT_EQ(m_project.PathCount, "0");
        EXPECT_TRUE(m_project.CoverPicturePath.empty());
        removeAll(path("Endless.inf"));
    }
}

}  // namespace
