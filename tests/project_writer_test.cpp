#include "projectfile/item_reader.h"
#include "projectfile/letter_case.h"
#include "projectfile/project_reader.h"
#include "projectfile/project_writer.h"
#include "support/temporary_folder.h"

#include "base/text.h"

#include <gtest/gtest.h>

#include <random>

using namespace vidorun;

namespace {

std::string fileBytes(const Project &project)
{
    return projectFileBytes(project);
}

// `count` lines from `first` on.
std::vector<std::string> linesFrom(const std::vector<std::string> &lines, std::size_t first, std::size_t count)
{
    return std::vector<std::string>(lines.begin() + std::ptrdiff_t(first),
                                    lines.begin() + std::ptrdiff_t(std::min(lines.size(), first + count)));
}

// A project as start-up leaves it before reading: counters at "0".
Project emptyProject()
{
    Project project;
    project.TitleCount = project.PathCount = project.CDCount = "0";
    return project;
}

Project projectWithMovies(int count)
{
    Project project = emptyProject();
    for (int n = 1; n <= count; ++n) {
        project.MoviePaths[std::size_t(n)] = "D:\\MOVIES\\M" + std::to_string(n) + ".AVI";
        project.MovieTitles[std::size_t(n)] = "Movie " + std::to_string(n);
        project.MovieCDs[std::size_t(n)] = "CD" + std::to_string(n);
    }
    project.TitleCount = project.PathCount = project.CDCount = std::to_string(count);
    return project;
}

Project readBack(const std::string &bytes)
{
    Project project = emptyProject();
    MemorySource source(bytes);
    readProjectItems(source, project);
    return project;
}

const std::string Header = "[autorun]\r\nOPEN=Vidorun.exe\r\nICON=Vidorun.exe,0\r\n\r\n[vidorun]\r\n";

TEST(ProjectWriter, WritesTheExampleFileByteForByte)
{
    Project project = emptyProject();
    project.CloseAfterPlay = "0";
    project.ProjectTitle = "Holiday 2000";
    project.CoverPicturePath = "D:\\work\\cover.jpg";
    project.PlayerPath = "D:\\work\\player.exe";
    project.CodecPath = "D:\\work\\codec.exe";
    project.MoviePaths[1] = "D:\\MOVIES\\PART1.AVI";
    project.MovieTitles[1] = "Part one";
    project.MovieCDs[1] = "HOLIDAY1";
    project.MoviePaths[2] = "D:\\MOVIES\\PART2.AVI";
    project.MovieTitles[2] = "Part two";
    project.MovieCDs[2] = "HOLIDAY2";
    project.TitleCount = project.PathCount = project.CDCount = "2";

    EXPECT_EQ(fileBytes(project), Header
                                      + "close=0\r\n"
                                        "the_title=Holiday 2000\r\n"
                                        "cover=D:\\work\\cover.jpg\r\n"
                                        "player=D:\\work\\player.exe\r\n"
                                        "codec=D:\\work\\codec.exe\r\n"
                                        "movie01=D:\\MOVIES\\PART1.AVI\r\n"
                                        "title01=Part one\r\n"
                                        "mdisk01=HOLIDAY1\r\n"
                                        "movie02=D:\\MOVIES\\PART2.AVI\r\n"
                                        "title02=Part two\r\n"
                                        "mdisk02=HOLIDAY2\r\n");
}

TEST(ProjectWriter, AProjectWithoutMoviesIsTenLines)
{
    const std::string bytes = fileBytes(emptyProject());
    EXPECT_EQ(bytes, Header + "close=0\r\nthe_title=\r\ncover=\r\nplayer=\r\ncodec=\r\n");
    EXPECT_EQ(split(bytes, '\n').size() - 1, 10u);
}

TEST(ProjectWriter, CloseSwitchIsWrittenAsHeldAndEmptyAsZero)
{
    Project project = emptyProject();
    project.CloseAfterPlay = "1";
    EXPECT_EQ(projectFileLines(project).at(5), "close=1");
    project.CloseAfterPlay = "yes";
    EXPECT_EQ(projectFileLines(project).at(5), "close=yes");
    project.CloseAfterPlay.clear();
    EXPECT_EQ(projectFileLines(project).at(5), "close=0");
}

// Movie n's group starts at line 10 + 3 (n - 1), counting lines from 0.
TEST(ProjectWriter, MovieNumbersHaveTwoDigits)
{
    using Lines = std::vector<std::string>;
    const Lines lines = projectFileLines(projectWithMovies(99));
    ASSERT_EQ(lines.size(), 10u + 3 * 99);
    EXPECT_EQ(linesFrom(lines, 10, 3), Lines({"movie01=D:\\MOVIES\\M1.AVI", "title01=Movie 1", "mdisk01=CD1"}));
    EXPECT_EQ(linesFrom(lines, 10 + 3 * 8, 3), Lines({"movie09=D:\\MOVIES\\M9.AVI", "title09=Movie 9", "mdisk09=CD9"}));
    EXPECT_EQ(linesFrom(lines, 10 + 3 * 9, 3),
              Lines({"movie10=D:\\MOVIES\\M10.AVI", "title10=Movie 10", "mdisk10=CD10"}));
    EXPECT_EQ(linesFrom(lines, 10 + 3 * 98, 3),
              Lines({"movie99=D:\\MOVIES\\M99.AVI", "title99=Movie 99", "mdisk99=CD99"}));
}

TEST(ProjectWriter, TheHundredthMovieIsNotWritten)
{
    const std::vector<std::string> lines = projectFileLines(projectWithMovies(100));
    ASSERT_EQ(lines.size(), 10u + 3 * 99);
    EXPECT_EQ(lines.back(), "mdisk99=CD99");
    EXPECT_FALSE(contains(fileBytes(projectWithMovies(100)), "Movie 100"));

    Project beyond = projectWithMovies(100);
    beyond.TitleCount = "250";
    EXPECT_EQ(projectFileLines(beyond).size(), 10u + 3 * 99);
}

TEST(ProjectWriter, TitleCountAloneSaysHowManyMoviesAreWritten)
{
    Project project = projectWithMovies(1);
    project.MovieTitles[2] = "Second";
    project.MovieTitles[3] = "Third";
    project.MovieCDs[2] = "CD2";
    project.TitleCount = "3";
    project.PathCount = "1";
    project.CDCount = "2";
    EXPECT_EQ(linesFrom(projectFileLines(project), 13, 6),
              std::vector<std::string>({"movie02=", "title02=Second", "mdisk02=CD2", "movie03=", "title03=Third", "mdisk03="}));

    project.TitleCount = "1";
    project.PathCount = "3";
    EXPECT_EQ(projectFileLines(project).size(), 13u);

    project.TitleCount = "2 movies";
    EXPECT_EQ(projectFileLines(project).size(), 16u);
    project.TitleCount = "none";
    EXPECT_EQ(projectFileLines(project).size(), 10u);
    project.TitleCount = "-4";
    EXPECT_EQ(projectFileLines(project).size(), 10u);
}

// A value that starts a line of its own would be a line like any other to
// Windows AutoRun and every reader of the file but ours.
TEST(ProjectWriter, NoValueStartsALine)
{
    EXPECT_EQ(projectLine("title01", "Two\r\n[autorun]\r\nshell\\open\\command=x"),
              "title01=Two [autorun] shell\\open\\command=x");
    EXPECT_EQ(projectLine("title01", "a\rb\nc, d"), "\"title01=a b c, d\"");
    EXPECT_EQ(projectLine("title01", "Ends in a break\n"), "\"title01=Ends in a break \"");
}

TEST(ProjectWriter, QuotesOnlyValuesTheReaderWouldCutOrTrim)
{
    EXPECT_EQ(projectLine("title01", "Alien, the director's cut"), "\"title01=Alien, the director's cut\"");
    EXPECT_EQ(projectLine("title01", "Trailing blank "), "\"title01=Trailing blank \"");
    EXPECT_EQ(projectLine("title01", "Trailing tab\t"), "\"title01=Trailing tab\t\"");

    EXPECT_EQ(projectLine("title01", "  Leading blanks"), "title01=  Leading blanks");
    EXPECT_EQ(projectLine("title01", "The \"best\" part"), "title01=The \"best\" part");
    EXPECT_EQ(projectLine("title01", "\"Quoted\""), "title01=\"Quoted\"");
    EXPECT_EQ(projectLine("the_title", ""), "the_title=");

    // The quoted form can't hold a double quote.
    EXPECT_EQ(projectLine("title01", "Say \"yes\", then go"), "\"title01=Say 'yes', then go\"");
}

TEST(ProjectWriter, ValuesWithCommasReadBackWhole)
{
    Project project = projectWithMovies(2);
    project.ProjectTitle = "Holiday, part 2 ";
    project.MovieTitles[1] = "Alien, the director's cut";
    project.MovieTitles[2] = "Bonus, title05=not a movie";
    project.MoviePaths[2] = "D:\\A,B\\C.AVI";

    const Project back = readBack(fileBytes(project));
    EXPECT_EQ(back.ProjectTitle, project.ProjectTitle);
    EXPECT_EQ(back.MovieTitles[1], project.MovieTitles[1]);
    EXPECT_EQ(back.MovieTitles[2], project.MovieTitles[2]);
    EXPECT_EQ(back.MoviePaths[2], "D:\\A,B\\C.AVI");
    EXPECT_EQ(back.TitleCount, "2");
    EXPECT_TRUE(back.MovieTitles[5].empty());
}

TEST(ProjectWriter, APlainAsciiFileIsTheSameInEitherEncoding)
{
    const EncodedLines encoded = encodeProjectLines(projectFileLines(projectWithMovies(3)));
    EXPECT_EQ(encoded.encoding, FileEncoding::CodePage);
    EXPECT_EQ(joined(encoded.lines, ""), joined(projectFileLines(projectWithMovies(3)), "\r\n") + "\r\n");
}

#ifndef _WIN32
TEST(ProjectWriter, WesternLettersAreWrittenInWindows1252)
{
    const EncodedLines encoded = encodeProjectLines({"title01=Caf\u00e9 \u20ac5"});
    EXPECT_EQ(encoded.encoding, FileEncoding::CodePage);
    EXPECT_EQ(encoded.lines, std::vector<std::string>{"title01=Caf\xe9 \x80" "5\r\n"});
}
#endif

TEST(ProjectWriter, LettersOutsideTheCodePageMakeTheFileUtf8)
{
    const std::string title = "\u0416\u0438\u0437\u043d\u044c \u65e5\u672c";
    const EncodedLines encoded = encodeProjectLines({"title01=Caf\u00e9", "title02=" + title});
    EXPECT_EQ(encoded.encoding, FileEncoding::Utf8);
    EXPECT_EQ(encoded.lines, std::vector<std::string>({"title01=Caf\xc3\xa9\r\n", "title02=" + title + "\r\n"}));
}

// "Ã©" in Windows-1252 is C3 A9, which is also UTF-8 for "é": the reader
// would take such a file as UTF-8, so it has to be written in UTF-8.
TEST(ProjectWriter, CodePageBytesThatLookLikeUtf8AreWrittenAsUtf8)
{
    Project project = projectWithMovies(1);
    project.MovieTitles[1] = "\u00c3\u00a9t\u00c3\u00a9";
    EXPECT_EQ(encodeProjectLines(projectFileLines(project)).encoding, FileEncoding::Utf8);
    EXPECT_EQ(readBack(fileBytes(project)).MovieTitles[1], project.MovieTitles[1]);

    // With a letter elsewhere that makes the code page bytes no UTF-8, the
    // code page reads back as it is.
    project.ProjectTitle = "Caf\u00e9";
    const Project back = readBack(fileBytes(project));
    EXPECT_EQ(back.MovieTitles[1], project.MovieTitles[1]);
    EXPECT_EQ(back.ProjectTitle, project.ProjectTitle);
#ifndef _WIN32
    EXPECT_EQ(encodeProjectLines(projectFileLines(project)).encoding, FileEncoding::CodePage);
#endif
}

// Generated projects, written and read back: titles come back as they were,
// paths, CD labels and the close switch upper-cased.
class RandomProjects {
public:
    explicit RandomProjects(unsigned seed) : m_random(seed) {}

    Project next()
    {
        Project project = emptyProject();
        const int movies = pick(0, 12) == 0 ? pick(13, 99) : pick(0, 12);
        for (int n = 1; n <= movies; ++n) {
            project.MoviePaths[std::size_t(n)] = value();
            project.MovieTitles[std::size_t(n)] = value();
            project.MovieCDs[std::size_t(n)] = value();
        }
        project.TitleCount = project.PathCount = project.CDCount = std::to_string(movies);
        project.ProjectTitle = value();
        project.CoverPicturePath = value();
        project.PlayerPath = value();
        project.CodecPath = value();
        const std::string closes[] = {"", "0", "1", value()};
        project.CloseAfterPlay = closes[pick(0, 3)];
        return project;
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    // Pieces that the file format has to be careful with, and plain ones.
    std::string value()
    {
        static const std::vector<std::string> pieces = {
            "Part", "one", "D:\\MOVIES\\", ".AVI", " ", "  ", "\t", ",", ", ", "\"", "'", "=", "title05=",
            "\r\n", "\u00e9", "\u00dc", "\u00df", "\u20ac", "\u00c3\u00a9", "\u0416\u0438\u0437\u043d\u044c",
            "\u03bb\u03cc\u03b3\u03bf\u03c2", "\u65e5\u672c", "\U0001F3AC", "7", "[vidorun]",
        };
        std::string text;
        for (int i = pick(0, 6); i > 0; --i)
            text += pieces.at(std::size_t(pick(0, int(pieces.size()) - 1)));
        // A value that needs the quotes can't keep a double quote; that loss
        // has its own test above.
        const bool quoted = startsWith(projectLine("k", text), "\"");
        if (quoted)
            text = replaced(text, "\"", "");
        return text;
    }

    std::mt19937 m_random;
};

TEST(ProjectWriter, GeneratedProjectsReadBackAsWritten)
{
    RandomProjects generator(20260101);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        const Project project = generator.next();
        const std::string bytes = fileBytes(project);
        ASSERT_TRUE(startsWith(bytes, "[autorun]\r\n"));
        ASSERT_TRUE(endsWith(bytes, "\r\n"));
        ASSERT_FALSE(endsWith(bytes, "\r\n\r\n"));

        const Project back = readBack(bytes);
        const int movies = counterValue(project.TitleCount);
        // Paths and labels come back upper-cased as the file's encoding allows.
        const bool utf8 = isValidUtf8(bytes);
        const auto upper = [utf8](const std::string &text) { return projectUpper(withoutLineBreaks(text), utf8); };
        ASSERT_EQ(back.TitleCount, project.TitleCount);
        ASSERT_EQ(back.PathCount, project.TitleCount);
        ASSERT_EQ(back.CDCount, project.TitleCount);
        for (int n = 1; n <= movies; ++n) {
            const auto e = std::size_t(n);
            ASSERT_EQ(back.MovieTitles[e], withoutLineBreaks(project.MovieTitles[e])) << n;
            ASSERT_EQ(back.MoviePaths[e], upper(project.MoviePaths[e])) << n;
            ASSERT_EQ(back.MovieCDs[e], upper(project.MovieCDs[e])) << n;
        }
        ASSERT_EQ(back.ProjectTitle, withoutLineBreaks(project.ProjectTitle));
        ASSERT_EQ(back.CoverPicturePath, upper(project.CoverPicturePath));
        ASSERT_EQ(back.PlayerPath, upper(project.PlayerPath));
        ASSERT_EQ(back.CodecPath, upper(project.CodecPath));
        ASSERT_EQ(back.CloseAfterPlay, project.CloseAfterPlay.empty() ? "0" : upper(project.CloseAfterPlay));

        // What was read back writes the same file again.
        ASSERT_EQ(fileBytes(back), fileBytes(readBack(fileBytes(back))));
    }
}

TEST(ProjectWriter, TheDemoProjectWritesBackToTheSameBytes)
{
    const std::string original = vidorun::testing::readFileAt(VIDORUN_DEMO_DIR "/Autorun.inf");
    ASSERT_FALSE(original.empty());

    const std::string first = fileBytes(readBack(original));
    EXPECT_EQ(first, original);
    EXPECT_EQ(fileBytes(readBack(first)), first);
}

}  // namespace
