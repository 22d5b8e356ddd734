// Project files far bigger than any the program writes, read through the
// main window: the reader streams, so memory stays flat and time grows with
// the size alone.
#include "support/main_window_fixture.h"
#include "support/process_memory.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

constexpr qint64 MiB = 1024 * 1024;
// What reading may add to the process's peak: the reader's buffer and one
// item, the list's hundred titles, and some slack for Qt.
constexpr qint64 AllowedGrowthKb = 4 * 1024;

// One MiB of what a hostile disc might carry: movie keys by the thousand
// (numbers that repeat, are negative or have a point), lines far over the
// item limit, runs of commas, quotes that open and close across lines, and
// random bytes with NULs and bytes that are no UTF-8.
QByteArray junkBlock(unsigned seed)
{
    std::mt19937 random(seed);
    auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    QByteArray block;
    block.reserve(MiB + 64 * 1024);
    while (block.size() < MiB) {
        switch (pick(0, 6)) {
        case 0:
        case 1: {
            static const char *const keys[] = {"title", "movie", "mdisk", "TITLE", "Movie"};
            static const char *const numbers[] = {"01", "07", "99", "00", "-1", "1.5", " 3", "x"};
            block += QByteArray(keys[pick(0, 4)]) + numbers[pick(0, 7)] + "=Value " + QByteArray::number(pick(0, 99999));
            block += pick(0, 3) ? "\r\n" : ",";
            break;
        }
        case 2:
            block += "title42=" + QByteArray(pick(5000, 20000), 'L') + "\r\n";
            break;
        case 3:
            block += QByteArray(pick(1, 300), ',');
            break;
        case 4:
            block += "\"cover=A,B\r\nC" + QByteArray(pick(0, 200), ' ') + "\" after the quote\n";
            break;
        default: {
            const int n = pick(100, 2000);
            for (int i = 0; i < n; ++i)
                block += char(pick(0, 255));
            break;
        }
        }
    }
    block.truncate(MiB);
    return block;
}

class BigProjectFileTest : public MainWindowTest {
protected:
    // Writes `head` and then `block` until the file holds `total` bytes,
    // without ever holding the whole file in memory.
    void writeBig(const QString &name, const QByteArray &head, const QByteArray &block, qint64 total)
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(head), head.size());
        for (qint64 left = total - head.size(); left > 0; left -= block.size())
            ASSERT_EQ(file.write(block.left(qsizetype(std::min<qint64>(left, block.size())))),
                      std::min<qint64>(left, block.size()));
        ASSERT_EQ(file.size(), total);
    }

    template<typename Read>
    void measure(const char *what, qint64 bytes, Read read)
    {
        QElapsedTimer timer;
        timer.start();
        const qint64 growthKb = ProcessMemory::peakGrowthKb(read);
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        std::printf("[ figures  ] %s: %.0f MB in %.2f s, %.0f MB/s, peak grew by %lld kB\n", what,
                    double(bytes) / 1e6, seconds, double(bytes) / 1e6 / seconds, static_cast<long long>(growthKb));
        RecordProperty("seconds", std::to_string(seconds));
        RecordProperty("peakGrowthKb", std::to_string(growthKb));
        if (!SanitizerBuild && growthKb >= 0) {
            EXPECT_LT(growthKb, AllowedGrowthKb);
        }
    }
};

// The probe the bounds rest on sees memory that is held while reading.
TEST(ProcessMemoryProbe, SeesMemoryHeldMeanwhile)
{
    if (SanitizerBuild)
        GTEST_SKIP() << "sanitizers keep memory of their own";
    const qint64 growthKb = ProcessMemory::peakGrowthKb([] {
        const QByteArray held(32 * MiB, 'x');
        EXPECT_EQ(held.back(), 'x');
    });
    if (growthKb < 0)
        GTEST_SKIP() << "this system tells no peak memory";
    EXPECT_GE(growthKb, 31 * 1024);
}

// The Read command runs the same steps as start-up: read, check the
// counters, show the cover, fill the list.
TEST_F(BigProjectFileTest, ReadsA200MegabyteJunkFileInFlatMemory)
{
    start();
    const qint64 total = 200 * MiB;
    writeBig("Junk.inf", "[autorun]\r\nOPEN=Vidorun.exe\r\n\r\n[vidorun]\r\nthe_title=Big\r\n", junkBlock(2026), total);
    fake.dialogs.answers.push_back(path("Junk.inf"));

    measure("a junk project file", total, [this] { trigger("OPENINIFILE"); });

    // Thousands of title lines, listed no further than the tables reach.
    EXPECT_GT(counterValue(project().TitleCount), 1000);
    EXPECT_EQ(listedTitles().size(), MaxMovieNumber);
    EXPECT_EQ(project().MovieTitles[42].size(), qsizetype(4096 - 8)) << "an over-long item keeps its first 4096 bytes";
    EXPECT_EQ(window().windowTitle(), "Vidorun ; Big");
    // The counters disagree and the cover is no file: the read says so and goes on.
    ASSERT_EQ(fake.messages.shown.size(), 2u);
    EXPECT_TRUE(fake.messages.shown[0].text.startsWith("There is an error in " + path("Junk.inf")));
    EXPECT_TRUE(fake.messages.shown[1].text.endsWith(" does not exists!"));
    EXPECT_TRUE(QFile::remove(path("Junk.inf")));
}

// A file without a single line end or comma is one item: the reader keeps its
// first 4096 bytes and skips the rest, quoted or not.
TEST_F(BigProjectFileTest, TheReadCommandReadsFilesWithoutLineEndsInFlatMemory)
{
    start();
    const qint64 total = 64 * MiB;
    struct Case {
        const char *name;
        QByteArray head;
    };
    for (const Case &c : {Case{"one unquoted item", "the_title="}, Case{"one quote never closed", "\"the_title="}}) {
        SCOPED_TRACE(c.name);
        writeBig("Endless.inf", c.head, QByteArray(64 * 1024, 'A'), total);
        fake.dialogs.answers.push_back(path("Endless.inf"));

        measure(c.name, total, [this] { trigger("OPENINIFILE"); });

        EXPECT_EQ(project().ProjectTitle, QString(4096 - 10, u'A'));
        EXPECT_EQ(window().windowTitle(), "Vidorun ; " + project().ProjectTitle);
        EXPECT_TRUE(fake.messages.shown.empty());
        EXPECT_TRUE(QFile::remove(path("Endless.inf")));
    }
}

}  // namespace
