// The names publishing gives files on a disc: a few names as an author
// meets them, then the promises of safe_names.h over arbitrary names.
#include "base/utf8.h"
#include "disccheck/disc_names.h"
#include "fuzz/fuzz_entries.h"
#include "publish/safe_names.h"

#include <gtest/gtest.h>

#include <random>

using namespace vidorun;

namespace {

using Names = std::vector<std::string>;

Names namedInOneFolder(const Names &names, NameLetters letters = NameLetters::Any)
{
    FolderNames folder;
    Names given;
    for (const std::string &name : names)
        given.push_back(folder.add(name, letters).name);
    return given;
}

TEST(SafeNames, KeepWhatADiscHoldsAndMendTheRest)
{
    EXPECT_EQ(safeFileName("Sunrise over the bay.avi", NameLetters::Any),
              "Sunrise over the bay.avi");
    EXPECT_EQ(safeFileName("Sunrise: over the bay?.avi", NameLetters::Any),
              "Sunrise_ over the bay_.avi");
    EXPECT_EQ(safeFileName("con.avi", NameLetters::Any), "_con.avi");
    EXPECT_EQ(safeFileName("nul. ", NameLetters::Any), "_nul");
    EXPECT_EQ(safeFileName("Café.avi", NameLetters::Any), "Café.avi");
    EXPECT_EQ(safeFileName("Café Straße Ærø.avi", NameLetters::Ascii),
              "Cafe Strasse AEro.avi");
    EXPECT_EQ(safeFileName("日本.avi", NameLetters::Ascii), "__.avi");
    EXPECT_EQ(safeFileName("\xF0\x9F\x8E\xAC.avi", NameLetters::Any), "_.avi");

    const std::string longName = std::string(70, 'x') + ".avi";
    EXPECT_EQ(safeFileName(longName, NameLetters::Any), std::string(60, 'x') + ".avi");

    // Names that are one to Windows are numbered, the first kept as it is.
    EXPECT_EQ(namedInOneFolder({"Part.avi", "PART.AVI", "part.avi", "Part_2.avi"}),
              Names({"Part.avi", "PART_2.AVI", "part_3.avi", "Part_2_2.avi"}));
    EXPECT_EQ(volumeIdentifier("Holiday 1"), "HOLIDAY_1");
    EXPECT_EQ(volumeIdentifier("Férias-2026"), "FERIAS_2026");
    EXPECT_EQ(volumeIdentifier("日本"), "VIDORUN");
}

// Random folders of names drawn from what breaks names: the characters
// Windows refuses, controls, surrogates alone and in pairs, letters of many
// scripts, blanks and dots at the end, device names, great lengths.
TEST(SafeNames, EveryNameOfAnyFolderIsSafeUniqueAndTheSameEachTime)
{
    static const std::u16string pieces[] = {
        u"a", u"Z", u"0", u".", u" ", u"..", u"_", u"*", u"/", u":", u";", u"?", u"\\", u"<", u">", u"\"", u"|",
        u"\x01", u"\x1f", u"\t", u"é", u"É", u"ß", u"ſ", u"ǅ", u"ﬁ", u"Я", u"я", u"日本", u"\xD83C\xDFAC",
        u"\xD83C", u"\xDFAC", u"\xFFFD", u"CON", u"nul", u"Com1", u"LPT9", u".avi", u".AVI", u"x.tar.gz",
        u"ΣΑΣ", u"ς", u"İ", u"ı", u"\x7F", u"€"};
    std::mt19937 random(20261208);
    for (int round = 0; round < 400; ++round) {
        std::string input(1, char(random() % 4));
        const int names = 1 + int(random() % 12);
        for (int n = 0; n < names; ++n) {
            std::u16string name;
            const int length = int(random() % (random() % 8 == 0 ? 90 : 8));
            for (int i = 0; i < length; ++i)
                name += pieces[random() % std::size(pieces)];
            if (input[0] & 2) {
                for (const char16_t c : name) {
                    input += char(c & 0xFF);
                    input += char(c >> 8);
                }
            } else {
                input += fromUtf16(name);
            }
            if (n + 1 < names)
                input += '\n';
        }
        const auto *data = reinterpret_cast<const std::uint8_t *>(input.data());
        ASSERT_EQ(fuzz::safeNamesViolation(data, input.size()), "") << "round " << round;
    }
}

}  // namespace
