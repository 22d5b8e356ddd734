#include "projectfile/letter_case.h"
#include "projectfile/project_reader.h"

#include <gtest/gtest.h>

using namespace vidorun;

namespace {

Project freshProject()
{
    Project p;
    p.TitleCount = p.PathCount = p.CDCount = "0";
    return p;
}

ReadOutcome read(const std::string &bytes, Project &p)
{
    MemorySource source(bytes);
    return readProjectItems(source, p);
}

const std::string ThreeMovies =
    "[autorun]\r\nOPEN=Vidorun.exe\r\nICON=Vidorun.exe,0\r\n\r\n[vidorun]\r\n"
    "close=1\r\nthe_title=Holiday 2000\r\ncover=d:\\work\\cover.jpg\r\nplayer=d:\\work\\player.exe\r\n"
    "codec=d:\\work\\codec.exe\r\n"
    "movie01=d:\\movies\\part1.avi\r\ntitle01=Part one\r\nmdisk01=Holiday1\r\n"
    "movie02=d:\\movies\\part2.avi\r\ntitle02=Part two\r\nmdisk02=Holiday2\r\n"
    "movie03=d:\\movies\\part3.avi\r\ntitle03=Part Three\r\nmdisk03=Holiday2\r\n";

}  // namespace

TEST(ProjectReader, ReadsTheProgramsOwnLayout)
{
    Project p = freshProject();
    const ReadOutcome outcome = read(ThreeMovies, p);
    EXPECT_EQ(p.TitleCount, "3");
    EXPECT_EQ(p.PathCount, "3");
    EXPECT_EQ(p.CDCount, "3");
    // Titles keep their case; paths, labels and settings are upper-cased.
    EXPECT_EQ(p.MovieTitles[3], "Part Three");
    EXPECT_EQ(p.MoviePaths[1], "D:\\MOVIES\\PART1.AVI");
    EXPECT_EQ(p.MovieCDs[2], "HOLIDAY2");
    EXPECT_EQ(p.ProjectTitle, "Holiday 2000");
    EXPECT_EQ(p.CoverPicturePath, "D:\\WORK\\COVER.JPG");
    EXPECT_EQ(p.PlayerPath, "D:\\WORK\\PLAYER.EXE");
    EXPECT_EQ(p.CodecPath, "D:\\WORK\\CODEC.EXE");
    EXPECT_EQ(p.CloseAfterPlay, "1");
    ASSERT_TRUE(outcome.title.has_value());
    EXPECT_EQ(*outcome.title, "Holiday 2000");
    EXPECT_EQ(p.KeyNumber, 3);
}

TEST(ProjectReader, KeysInAnyCaseAnywhereInTheFile)
{
    Project p = freshProject();
    read("Title01=Mixed\r\nCOVER=x.jpg\r\n[other]\r\nMdIsK01=cd\r\nMOVIE01=a.avi\r\n", p);
    EXPECT_EQ(p.MovieTitles[1], "Mixed");
    EXPECT_EQ(p.CoverPicturePath, "X.JPG");
    EXPECT_EQ(p.MovieCDs[1], "CD");
    EXPECT_EQ(p.TitleCount, "1");
}

TEST(ProjectReader, ValuesAreCutAtFixedPositions)
{
    Project p = freshProject();
    // "title1=x" has a one-digit number: the value starts one character late.
    read("title1=xyz\r\nthe_title = Spaced\r\ncover=\r\n", p);
    EXPECT_EQ(p.MovieTitles[1], "yz");
    EXPECT_EQ(p.ProjectTitle, "= Spaced");
    EXPECT_EQ(p.CoverPicturePath, std::string());
}

TEST(ProjectReader, CommaCutsAValueAndTheRestIsAnItemOfItsOwn)
{
    Project p = freshProject();
    read("title01=Alien, the director's cut\r\ntitle02=A,cover=sneaky.jpg\r\n", p);
    EXPECT_EQ(p.MovieTitles[1], "Alien");
    EXPECT_EQ(p.MovieTitles[2], "A");
    EXPECT_EQ(p.CoverPicturePath, "SNEAKY.JPG");
}

TEST(ProjectReader, NumberedKeysCountLinesNotMovies)
{
    Project p = freshProject();
    read("movie05=a\r\ntitle05=T\r\nmdisk05=c\r\ntitle05=Again\r\ntitle00=Zero\r\n", p);
    EXPECT_EQ(p.TitleCount, "3");
    EXPECT_EQ(p.PathCount, "1");
    EXPECT_EQ(p.MovieTitles[5], "Again");
    EXPECT_EQ(p.MovieTitles[0], "Zero");
    EXPECT_TRUE(p.MovieTitles[1].empty());
}

TEST(ProjectReader, FieldsTheFileLacksKeepTheirValues)
{
    Project p = freshProject();
    p.ProjectTitle = "Old";
    p.PlayerPath = "P";
    const ReadOutcome outcome = read("codec=c.exe\r\n", p);
    EXPECT_EQ(p.ProjectTitle, "Old");
    EXPECT_EQ(p.PlayerPath, "P");
    EXPECT_FALSE(outcome.title.has_value());
}

TEST(ProjectReader, KeyNumbersAreReadAsNumbers)
{
    EXPECT_EQ(keyNumber("05"), 5);
    EXPECT_EQ(keyNumber(" 5"), 5);
    EXPECT_EQ(keyNumber("+5"), 5);
    EXPECT_EQ(keyNumber("-1"), -1);
    EXPECT_EQ(keyNumber("2."), 2);
    EXPECT_EQ(keyNumber(".5"), 0);  // half rounds to even
    EXPECT_EQ(keyNumber("1x"), 1);
    EXPECT_EQ(keyNumber("xx"), 0);
    EXPECT_EQ(keyNumber("="), 0);
    EXPECT_EQ(keyNumber(""), 0);
    EXPECT_EQ(keyNumber("99"), 99);
}

TEST(ProjectReader, HostileNumbersStayInsideTheTables)
{
    Project p = freshProject();
    read("title-1=neg\r\ntitle+5=plus\r\ntitle 5=blank\r\ntitle2.5=half\r\ntitle.5=zero\r\ntitle1x=one\r\n", p);
    // The negative line is skipped; every other line counts.
    EXPECT_EQ(p.TitleCount, "5");
    EXPECT_EQ(p.MovieTitles[5], "blank");
    EXPECT_EQ(p.MovieTitles[2], "=half");  // three-character number: cut one late
    EXPECT_EQ(p.MovieTitles[0], "zero");
    EXPECT_EQ(p.MovieTitles[1], "one");
}

TEST(ProjectReader, ManyTitleLinesRaiseTheCounterPastTheTables)
{
    Project p = freshProject();
    std::string bytes;
    for (int i = 0; i < 150; ++i)
        bytes += "title" + std::to_string(10 + i % 90) + "=t\r\n";
    read(bytes, p);
    EXPECT_EQ(p.TitleCount, "150");
    EXPECT_EQ(listableMovies(p), 100);
}

TEST(ProjectReader, DecodesUtf8OrTheCodePage)
{
    Project utf8 = freshProject();
    read("title01=Caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC\r\n", utf8);
    EXPECT_EQ(utf8.MovieTitles[1], "Caf\u00E9 \u65E5\u672C");

    Project cp1252 = freshProject();
    read("title01=Caf\xE9 \x80\r\nmovie01=\xE9t\xE9.avi\r\n", cp1252);
    EXPECT_EQ(cp1252.MovieTitles[1], "Caf\u00E9 \u20AC");
    EXPECT_EQ(cp1252.MoviePaths[1], "\u00C9T\u00C9.AVI");
}

TEST(ProjectReader, ValuePositionsCountCharactersInUtf8Files)
{
    Project utf8 = freshProject();
    read("the_t\xC3\xAFtle=Tr\xC3\xAFp\r\nmovie\xC3\xA9" "1=x.avi\r\n", utf8);
    EXPECT_EQ(utf8.ProjectTitle, "Tr\u00EFp");
    EXPECT_EQ(utf8.MoviePaths[0], "X.AVI");

    Project cp1252 = freshProject();
    read("the_t\xEFtle=Tr\xEFp\r\n", cp1252);
    EXPECT_EQ(cp1252.ProjectTitle, "Tr\u00EFp");
}

TEST(ProjectReader, UpperCasesAsWindowsOneLetterForOne)
{
    EXPECT_EQ(windowsUpper("plain-ascii 09.avi"), "PLAIN-ASCII 09.AVI");
    // Capitals inside the code page; ß and µ have none there and stay, as
    // does every letter outside it.
    EXPECT_EQ(windowsUpper("\u00E9t\u00E9 \u00FF\u0161\u0153\u017E \u00F7"),
              "\u00C9T\u00C9 \u0178\u0160\u0152\u017D \u00F7");
    EXPECT_EQ(windowsUpper("stra\u00DFe \u00B5 \u0436 \u03B1"), "STRA\u00DFE \u00B5 \u0436 \u03B1");
    EXPECT_EQ(windowsUpper("stra\xC3\x9F" "e \xC3\xBF caf\xE9"), "STRA\xC3\x9F" "E \xC5\xB8 CAF\xE9");
    // The disc lookup's fold is never narrower: whatever the reader
    // upper-cased, in either encoding, is found on the disc.
    for (char32_t c = 0; c < 0x110000; ++c) {
        ASSERT_EQ(fileNameFold(windowsUpper(c)), fileNameFold(c)) << std::hex << unsigned(c);
        ASSERT_EQ(fileNameFold(projectUpper(c, true)), fileNameFold(c)) << std::hex << unsigned(c);
        ASSERT_EQ(fileNameFold(projectUpper(c, false)), fileNameFold(c)) << std::hex << unsigned(c);
    }

    // A file in Windows-1252 keeps the code page's rule.
    Project p = freshProject();
    read("mdisk01=stra\xDF" "e\r\ncover=c:\\\xB5" "films\\\xDF.jpg\r\n", p);
    EXPECT_EQ(p.MovieCDs[1], "STRA\u00DFE");
    EXPECT_EQ(p.CoverPicturePath, "C:\\\u00B5" "FILMS\\\u00DF.JPG");
}

// In a UTF-8 file every letter with a capital of its own is upper-cased, one
// for one: Polish and Cyrillic paths and labels as on a Windows system in
// their own code page.
TEST(ProjectReader, UpperCasesAUtf8FileWhereverItsCapitalIsWritten)
{
    Project p = freshProject();
    read("movie01=\xC5\x82\xC3\xB3" "d\xC5\xBA\\\xD1\x84\xD0\xB8\xD0\xBB\xD1\x8C\xD0\xBC.avi\r\n"
         "mdisk01=stra\xC3\x9F" "e \xC2\xB5\r\ntitle01=\xC5\x82\xC3\xB3" "d\xC5\xBA\r\n",
         p);
    EXPECT_EQ(p.MoviePaths[1], "\u0141\u00D3D\u0179\\\u0424\u0418\u041B\u042C\u041C.AVI");
    EXPECT_EQ(p.MovieCDs[1], "STRA\u00DFE \u039C");  // ß stays; µ has a capital in Unicode
    EXPECT_EQ(p.MovieTitles[1], "\u0142\u00F3d\u017A");
    // Letters beyond the Basic Multilingual Plane, and Georgian, stay.
    EXPECT_EQ(projectUpper("\U00010428 \u10D0", true), "\U00010428 \u10D0");
}

TEST(ProjectReader, BinaryJunkReadsWithoutHarm)
{
    std::string junk;
    for (int i = 0; i < 200000; ++i)
        junk.push_back(char((i * 2654435761u) >> 24));
    junk += "\r\ntitle01=still read\r\n";
    Project p = freshProject();
    read(junk, p);
    EXPECT_EQ(p.MovieTitles[1], "still read");
    EXPECT_GE(counterValue(p.TitleCount), 1);
}
