// The rules of names and media that discs and FAT32 sticks hold, which the
// disc check judges by and publishing writes by.
#include "base/utf8.h"
#include "disccheck/disc_names.h"

#include <gtest/gtest.h>

using namespace vidorun;

namespace {

TEST(DiscNames, EachFaultIsFoundInItsOrder)
{
    const struct {
        const char16_t *name;
        NameFault fault;
    } names[] = {
        {u"Sunrise over the bay.avi", NameFault::None},
        {u"\u0141\u00F3d\u017A \u0424\u0438\u043B\u044C\u043C.avi", NameFault::None},
        {u"..", NameFault::Empty},
        {u"What? Where.avi", NameFault::ForbiddenCharacter},
        {u"tab\there.avi", NameFault::ControlCharacter},
        {u"film \U0001F3AC.avi", NameFault::BeyondBmp},
        {u"nul", NameFault::DeviceName},
        {u"Com1.txt.avi", NameFault::DeviceName},
        {u"AUX .avi", NameFault::DeviceName},
        {u"com0.avi", NameFault::None},
        {u"console.avi", NameFault::None},
        {u"notes.", NameFault::TrailingDotOrBlank},
        {u"notes ", NameFault::TrailingDotOrBlank},
        // Too long comes first, before its characters.
        {u"?aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", NameFault::TooLong},
    };
    for (const auto &[name, fault] : names)
        EXPECT_EQ(nameFault(fromUtf16(name)), fault) << fromUtf16(name);
    EXPECT_EQ(faultyCharacterText("a:b"), "':'");
    EXPECT_EQ(faultyCharacterText("ab"), "");
}

// One name on the disc: equal but for letter case, or in the first 64
// characters Joliet keeps.
TEST(DiscNames, NamesOfOneFolderThatAreOneOnTheDisc)
{
    const std::string base(64, 'a');
    EXPECT_EQ(jolietKey("MVI_4301.AVI"), jolietKey("mvi_4301.avi"));
    EXPECT_EQ(jolietKey("\u0424\u0418\u041B\u042C\u041C"), jolietKey("\u0444\u0438\u043B\u044C\u043C"));
    EXPECT_EQ(jolietKey(base + "1.avi"), jolietKey(base + "2.avi"));
    EXPECT_NE(jolietKey("a1.avi"), jolietKey("a2.avi"));
}

// genisoimage -R moves the folder at ISO 9660's ninth level, counting the
// root, and below it each that would be so again (seen on folders 20 deep).
TEST(DiscNames, FoldersGenisoimageMovesIntoRrMoved)
{
    std::vector<int> moved;
    for (int level = 1; level <= 20; ++level) {
        if (movedToRrMoved(level))
            moved.push_back(level);
    }
    EXPECT_EQ(moved, (std::vector<int>{8, 14, 20}));
}

}  // namespace
