#include "projectfile/item_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vidorun;

namespace {

std::vector<std::string> items(const std::string &bytes)
{
    MemorySource source(bytes);
    ItemReader reader(source);
    std::vector<std::string> result;
    while (!reader.atEnd())
        result.push_back(reader.next());
    return result;
}

using Items = std::vector<std::string>;

}  // namespace

TEST(ItemReader, SplitsAtCommasAndEveryKindOfLineEnd)
{
    EXPECT_EQ(items("ICON=Vidorun.exe,0\r\n"), (Items{"ICON=Vidorun.exe", "0"}));
    EXPECT_EQ(items("a\r\nb\nc\rd"), (Items{"a", "b", "c", "d"}));
    // The empty line between the sections is an (ignored) empty item.
    EXPECT_EQ(items("x\r\n\r\ny\r\n"), (Items{"x", "", "y"}));
    EXPECT_EQ(items(""), Items{});
}

TEST(ItemReader, SkipsBlanksAroundUnquotedItems)
{
    EXPECT_EQ(items("  \ttitle01=A b  \r\n"), (Items{"title01=A b"}));
    EXPECT_EQ(items("a , b\r\n"), (Items{"a", "b"}));
}

TEST(ItemReader, QuotedItemKeepsCommasAndLosesItsQuotes)
{
    EXPECT_EQ(items("\"title01=Alien, the director's cut\"\r\nnext\r\n"),
              (Items{"title01=Alien, the director's cut", "next"}));
    // Blanks inside quotes stay; text after the closing quote is dropped.
    EXPECT_EQ(items("\"a  \" tail,b\r\n"), (Items{"a  ", "b"}));
    // An unterminated quote runs to the end of the file, across lines.
    EXPECT_EQ(items("\"a\r\nb"), (Items{"a\r\nb"}));
}

TEST(ItemReader, HostileBytesNeverStopOrOverflowIt)
{
    std::string junk;
    for (int i = 0; i < 300000; ++i)
        junk.push_back(char(unsigned(i) * 7919u % 256));
    MemorySource source(junk);
    ItemReader reader(source);
    std::size_t count = 0;
    while (!reader.atEnd()) {
        EXPECT_LE(reader.next().size(), ItemReader::MaxItemBytes);
        ++count;
    }
    EXPECT_GT(count, 0u);
}

TEST(ItemReader, HugeLineIsCutToOneBoundedItem)
{
    const std::string line = "title01=" + std::string(5 * 1024 * 1024, 'x') + "\r\nmdisk01=Z\r\n";
    const Items result = items(line);
    ASSERT_EQ(result.size(), 2u);
    EXPECT_EQ(result[0].size(), ItemReader::MaxItemBytes);
    EXPECT_EQ(result[1], "mdisk01=Z");
}

TEST(ItemReader, NulBytesAreOrdinaryCharacters)
{
    const Items result = items(std::string("ti\0le,b", 7));
    ASSERT_EQ(result.size(), 2u);
    EXPECT_EQ(result[0], std::string("ti\0le", 5));
}

TEST(ItemReader, TellsWhetherTheFileIsUtf8)
{
    {
        MemorySource s("title01=Caf\xC3\xA9\r\n");
        ItemReader r(s);
        while (!r.atEnd())
            r.next();
        EXPECT_TRUE(r.utf8());
    }
    {
        MemorySource s("title01=Caf\xE9\r\n");
        ItemReader r(s);
        while (!r.atEnd())
            r.next();
        EXPECT_FALSE(r.utf8());
    }
}
