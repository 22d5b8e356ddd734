// The disc checker on discs made for each test: the sample Holiday disc as it
// should be, the same disc with one fault at a time, a hostile disc, and the
// bundled demo disc through the program itself.
#include "app/command_line.h"
#include "base/text.h"
#include "base/utf8.h"
#include "disccheck/disc_check.h"
#include "disccheck/disc_index.h"
#include "platform/disc_path.h"
#include "platform/file_places.h"
#include "support/lowercase_disc_files.h"
#include "support/run_program.h"
#include "support/sample_projects.h"
#include "support/temporary_folder.h"
#include "support/watchdog.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

std::vector<Finding> problemsOf(const DiscCheckReport &report)
{
    std::vector<Finding> problems;
    for (const Finding &finding : report.findings) {
        if (finding.severity != Severity::Note)
            problems.push_back(finding);
    }
    return problems;
}

std::string described(const std::vector<Finding> &findings)
{
    std::string text;
    for (const Finding &finding : findings)
        text += "\n  " + std::to_string(finding.movie) + ": " + finding.text;
    return text;
}

// Bytes written in hex digits.
std::string fromHex(std::string_view digits)
{
    std::string bytes;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        bytes += char(std::stoi(std::string(digits.substr(i, 2)), nullptr, 16));
    return bytes;
}

// The sample Holiday project on the disc of its first movie: HOLIDAY1 with
// the program, its movie and the player installer; movie 2 is on HOLIDAY2.
class DiscCheckTest : public FolderTest {
public:
    void SetUp() override
    {
        FolderTest::SetUp();
        // Files readable by every user, as the files of a disc should be.
        m_umask = ::umask(022);
        writeFile("Autorun.inf", holidayProject());
        writeFile("HOLIDAY1.INI", "");
        writeFile("MOVIES/SUNRISE.AVI", "RIFF");
        writeFile("SETUP/PLAYER.EXE", "MZ");
        writeFile("Vidorun.exe", "MZ");
    }
    void TearDown() override
    {
        ::umask(m_umask);
        FolderTest::TearDown();
    }

    // The sample project with the line of each key ("movie01=...", quoted or
    // not) replaced, or added at the end.
    void changeProject(const std::vector<std::string> &lines)
    {
        std::vector<std::string> project = split(holidayProject(), '\n');
        project.pop_back();
        for (std::string &line : project)
            line.pop_back();  // the CR
        auto keyOf = [](std::string_view line) {
            if (startsWith(line, "\""))
                line.remove_prefix(1);
            return std::string(line.substr(0, line.find('='))) + '=';
        };
        for (const std::string &line : lines) {
            const std::string key = keyOf(line);
            const auto it = std::find_if(project.begin(), project.end(),
                                         [&](const std::string &old) { return keyOf(old) == key; });
            if (it != project.end())
                *it = line;
            else
                project.push_back(line);
        }
        writeFile("Autorun.inf", projectText(project));
    }
    void remove(const std::string &name) { ASSERT_EQ(std::remove(path(name).c_str()), 0) << name; }
    void rename(const std::string &from, const std::string &to)
    {
        ASSERT_EQ(std::rename(path(from).c_str(), path(to).c_str()), 0) << from;
    }
    // A file whose name is bytes as given, UTF-8 or not.
    void rawFile(const std::string &name)
    {
        writeFile("EXTRAS/.keep", "");
        const int fd = ::creat((root() + '/' + name).c_str(), 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    void sparseFile(const std::string &name, std::int64_t size)
    {
        writeFile(name, "");
        ASSERT_EQ(::truncate(path(name).c_str(), off_t(size)), 0);
    }
    std::string root() const { return m_folder.path(); }
    DiscCheckReport check() const { return checkDisc(root(), discCheckOptions()); }

    using FolderTest::path;
    using FolderTest::writeFile;

private:
    mode_t m_umask = 022;
};

TEST_F(DiscCheckTest, TheSampleDiscHasNoProblems)
{
    const DiscCheckReport report = check();
    EXPECT_TRUE(problemsOf(report).empty()) << described(problemsOf(report));
    EXPECT_EQ(exitStatus(report), 0);
    const std::vector<std::string> lines = reportLines("4.0", "disc", report);
    EXPECT_EQ(lines.front(), "Vidorun 4.0 checks disc as the disc labelled HOLIDAY1");
    EXPECT_TRUE(startsWith(lines.at(lines.size() - 2),
                           "ok      2 movies on 2 discs (HOLIDAY1: 1 here, HOLIDAY2: 1 on another disc), "))
        << lines.at(lines.size() - 2);
    EXPECT_EQ(lines.back(), "no problems");
}

// One fault made on the sample disc, and the one finding it must give.
struct Fault {
    const char *name;
    std::function<void(DiscCheckTest &)> make;
    Severity severity;
    int movie;
    const char *says;
    std::size_t problems = 1;  // with the findings the fault brings along
};

void PrintTo(const Fault &fault, std::ostream *out)
{
    *out << fault.name;
}

class DiscFaultTest : public DiscCheckTest, public ::testing::WithParamInterface<Fault> {};

TEST_P(DiscFaultTest, IsFoundAndNamed)
{
    const Fault &fault = GetParam();
    fault.make(*this);
    const DiscCheckReport report = check();
    const std::vector<Finding> problems = problemsOf(report);
    EXPECT_EQ(problems.size(), fault.problems) << described(problems);
    const auto found = std::find_if(report.findings.begin(), report.findings.end(), [&fault](const Finding &f) {
        return contains(f.text, fault.says) && f.severity == fault.severity && f.movie == fault.movie;
    });
    EXPECT_NE(found, report.findings.end()) << "no finding saying: " << fault.says << described(report.findings);
}

const std::string Huge = "A" + std::string(63, 'n');  // 64 characters

const Fault faults[] = {
    {"CountersDisagree", [](DiscCheckTest &t) { t.changeProject({"movie01=MOVIES\\SUNRISE.AVI", "movie03="}); },
     Severity::Error, 0, "counts 2 movie titles, 3 paths and 2 CD labels"},
    {"ValueCutByAComma", [](DiscCheckTest &t) { t.changeProject({"title01=Sunrise, over the bay"}); },
     Severity::Warning, 0, "reads title01 as \"Sunrise\" and drops \", over the bay\""},
    // Lines of their own to Windows, a title to the reader.
    {"QuotedValueRunsPastItsLine",
     [](DiscCheckTest &t) { t.changeProject({"\"title01=Sunrise\r\n[autorun]\r\nshell\\open\\command=x.exe\""}); },
     Severity::Error, 0, "a value in double quotes runs on past the end of the line"},
    {"SavedAsUtf16", [](DiscCheckTest &t) {
         std::string bytes = "\xFF\xFE";
         for (const char16_t unit : toUtf16(holidayProject()))
             bytes += {char(unit & 0xFF), char(unit >> 8)};
         t.writeFile("Autorun.inf", bytes);
     },
     Severity::Error, 0, "Autorun.inf is written in UTF-16"},
    {"MovieMissing", [](DiscCheckTest &t) { t.remove("MOVIES/SUNRISE.AVI"); },
     Severity::Error, 1, "MOVIES\\SUNRISE.AVI is not on this disc (no SUNRISE.AVI in MOVIES)"},
    // Windows and Vidorun find it, and the reader upper-cases the path anyway.
    {"MovieInAnotherCase", [](DiscCheckTest &t) { t.rename("MOVIES/SUNRISE.AVI", "MOVIES/Sunrise.avi"); },
     Severity::Note, 1, "is MOVIES/Sunrise.avi on this disc, in another letter case: Windows and Vidorun find it", 0},
    {"NamesThatDifferOnlyInCase", [](DiscCheckTest &t) { t.writeFile("movies2/a.avi", ""); t.writeFile("MOVIES2/A.AVI", ""); },
     Severity::Error, 0, "MOVIES2 and movies2 differ only in letter case"},
    {"DriveLetter", [](DiscCheckTest &t) { t.changeProject({"movie01=D:\\MOVIES\\SUNRISE.AVI"}); },
     Severity::Warning, 1, "D:\\MOVIES\\SUNRISE.AVI names drive D:, which the viewer's drive may not get; write MOVIES\\SUNRISE.AVI"},
    {"PathOfThisComputer", [](DiscCheckTest &t) { t.changeProject({"movie01=" + t.root() + "/MOVIES/SUNRISE.AVI"}); },
     Severity::Warning, 1, "is a path of this computer, and the viewer's system mounts the disc elsewhere; write MOVIES\\SUNRISE.AVI"},
    {"PathOutsideTheDisc", [](DiscCheckTest &t) { t.changeProject({"movie01=/home/ann/Videos/SUNRISE.AVI"}); },
     Severity::Error, 1, "outside the disc"},
    {"PathThroughDotDot", [](DiscCheckTest &t) { t.changeProject({"movie01=MOVIES\\..\\..\\SUNRISE.AVI"}); },
     Severity::Error, 1, "leads out of the disc"},
    {"MovieIsAFolder", [](DiscCheckTest &t) { t.remove("MOVIES/SUNRISE.AVI"); makeFolders(t.path("MOVIES/SUNRISE.AVI")); },
     Severity::Error, 1, "is a folder, not a file"},
    {"NoMarker", [](DiscCheckTest &t) { t.remove("HOLIDAY1.INI"); },
     Severity::Error, 0, "no marker file on the root"},
    {"NoMarkerOfTheOnlyLabel", [](DiscCheckTest &t) {
         t.changeProject({"mdisk02=HOLIDAY1"});
         t.writeFile("MOVIES/HARBOUR.AVI", "RIFF");
         t.remove("HOLIDAY1.INI");
     },
     Severity::Error, 0, "every title asks for the disc labelled HOLIDAY1 (\"Wrong CD!\"); put an empty HOLIDAY1.INI here"},
    {"NoCdLabel", [](DiscCheckTest &t) { t.changeProject({"mdisk01="}); },
     Severity::Error, 1, "has no CD label", 2},
    {"MovieNumberedZero", [](DiscCheckTest &t) { t.changeProject({"movie00=X.AVI", "title00=X", "mdisk00=HOLIDAY1"}); },
     Severity::Warning, 0, "lines for movie 00, which Vidorun never lists", 2},
    {"WindowsDiscWithoutTheProgram", [](DiscCheckTest &t) { t.remove("Vidorun.exe"); },
     Severity::Error, 0, "Vidorun.exe is not on this disc, which is for Windows (it holds SETUP/PLAYER.EXE)", 2},
    {"WindowsInstallerWithoutTheProgram", [](DiscCheckTest &t) { t.remove("Vidorun.exe"); t.remove("SETUP/PLAYER.EXE"); },
     Severity::Error, 0, "which is for Windows (its project names the installer SETUP\\PLAYER.EXE)", 3},
    {"PlayerMissing", [](DiscCheckTest &t) { t.remove("SETUP/PLAYER.EXE"); },
     Severity::Error, 0, "the player installer SETUP\\PLAYER.EXE is not on this disc (no PLAYER.EXE in SETUP)"},
    {"CoverIsNoPicture", [](DiscCheckTest &t) { t.changeProject({"cover=COVER.JPG"}); t.writeFile("COVER.JPG", "not a picture"); },
     Severity::Error, 0, "the cover COVER.JPG is no picture Vidorun can show"},
    // A PNG header alone, of a picture 20000 pixels square.
    {"CoverTooLarge", [](DiscCheckTest &t) {
         t.changeProject({"cover=COVER.PNG"});
         t.writeFile("COVER.PNG", fromHex("89504e470d0a1a0a0000000d4948445200004e2000004e2008020000006c12d16e"
                                          "000000004944415435af061e0000000049454e44ae426082"));
     },
     Severity::Error, 0, "is 20000 x 20000 pixels, more than the 144,000,000 pixels Vidorun decodes"},
    {"MovieIsALinkOnTheDisc", [](DiscCheckTest &t) {
         t.rename("MOVIES/SUNRISE.AVI", "MOVIES/REAL.AVI");
         ASSERT_EQ(::symlink("REAL.AVI", t.path("MOVIES/SUNRISE.AVI").c_str()), 0);
     },
     Severity::Error, 1, "MOVIES\\SUNRISE.AVI is a link to MOVIES/REAL.AVI: genisoimage writes it as an empty file"},
    {"NotReadableByEveryone", [](DiscCheckTest &t) { ::chmod(t.path("MOVIES/SUNRISE.AVI").c_str(), 0600); },
     Severity::Error, 1, "MOVIES/SUNRISE.AVI can't be read by every user (rw-------)"},
    {"NameLongerThanJolietKeeps", [](DiscCheckTest &t) { t.writeFile("EXTRAS/" + Huge + ".txt", ""); },
     Severity::Warning, 0, "has a name of 68 characters"},
    {"ManyNamesLongerThanJolietKeeps", [](DiscCheckTest &t) {
         for (int i = 1; i <= 7; ++i)
             t.writeFile("EXTRAS/" + std::to_string(i) + Huge + ".txt", "");
     },
     Severity::Warning, 0, "and 2 more names longer than 64 characters", 6},
    {"CharacterJolietCantHold", [](DiscCheckTest &t) { t.writeFile("EXTRAS/What? Where.txt", ""); },
     Severity::Warning, 0, "EXTRAS/What? Where.txt has '?' in its name"},
    // genisoimage moves the folder 8 levels below the root, with the file in it.
    {"FileEightFoldersDown", [](DiscCheckTest &t) { t.writeFile("A/B/C/D/E/F/G/H/x.txt", ""); },
     Severity::Warning, 0, "A/B/C/D/E/F/G/H is folder level 8 below the root"},
    {"PathTooLong", [](DiscCheckTest &t) { t.writeFile(Huge + "/" + std::string(52, 'x') + ".txt", ""); },
     Severity::Warning, 0, "x.txt is a path of 121 characters, more than the 120"},
    {"NamesAlikeInTheirFirst64Characters", [](DiscCheckTest &t) { t.writeFile("EXTRAS/" + Huge + "1", ""); t.writeFile("EXTRAS/" + Huge + "2", ""); },
     Severity::Error, 0, "share their first 64 characters, all of a name a disc's Joliet names keep: genisoimage stops", 3},
    {"NameNotUtf8", [](DiscCheckTest &t) { t.rawFile("EXTRAS/caf\xE9.txt"); },
     Severity::Error, 0, "has a name that is not UTF-8"},
    {"WindowsDeviceName", [](DiscCheckTest &t) { t.writeFile("EXTRAS/aux.txt", ""); },
     Severity::Warning, 0, "EXTRAS/aux.txt is named as a Windows device"},
    {"NameEndingInADot", [](DiscCheckTest &t) { t.writeFile("EXTRAS/notes.", ""); },
     Severity::Warning, 0, "EXTRAS/notes. ends in a dot or a blank"},
    {"PipeOnTheDisc", [](DiscCheckTest &t) { ::mkfifo(t.path("pipe").c_str(), 0644); },
     Severity::Warning, 0, "pipe is a special file (a pipe, socket or device): Rock Ridge names keep it"},
    {"LinkLoop", [](DiscCheckTest &t) { ASSERT_EQ(::symlink("loop", t.path("loop").c_str()), 0); },
     Severity::Warning, 0, "loop is a link that leads round in a loop"},
    {"FileTooBigForFat32", [](DiscCheckTest &t) { t.sparseFile("EXTRAS/BIG.BIN", 5000000000LL); },
     Severity::Error, 0, "EXTRAS/BIG.BIN is 5,000,000,000 bytes, more than 4 GiB - 1: genisoimage can't put it on a disc"},
    {"TooBigForAnyDisc", [](DiscCheckTest &t) { t.sparseFile("EXTRAS/BIG.AVI", 3000000000LL); t.sparseFile("EXTRAS/BIG2.AVI", 3000000000LL); t.sparseFile("EXTRAS/BIG3.AVI", 3000000000LL); },
     Severity::Warning, 0, "more than a double-layer DVD holds"},
    {"OneDigitKey", [](DiscCheckTest &t) { t.writeFile("Autorun.inf", replaced(holidayProject(), "mdisk01=", "mdisk1=")); },
     Severity::Error, 0, "mdisk1=HOLIDAY1 has a one-digit number, and Vidorun takes the value from a fixed place after two digits, so it reads movie 1's CD label \"OLIDAY1\"; write mdisk01=", 2},
    {"EmptyProject", [](DiscCheckTest &t) { t.writeFile("Autorun.inf", ""); },
     Severity::Error, 0, "Autorun.inf is empty (0 bytes)"},
    {"ByteOrderMark", [](DiscCheckTest &t) { t.writeFile("Autorun.inf", "\xEF\xBB\xBF" + holidayProject()); },
     Severity::Error, 0, "Autorun.inf begins with a UTF-8 byte-order mark: Windows AutoRun reads the file in its ANSI code page"},
    {"PathInWindows1252", [](DiscCheckTest &t) {
         t.writeFile("Autorun.inf", replaced(holidayProject(), "MOVIES\\SUNRISE.AVI", "MOVIES\\\xC9T\xC9.AVI"));
         t.writeFile("MOVIES/\u00C9T\u00C9.AVI", "RIFF");
     },
     Severity::Warning, 1, "has \"\u00C9\", which Autorun.inf holds as a Windows-1252 byte"},
};

INSTANTIATE_TEST_SUITE_P(OnTheSampleDisc, DiscFaultTest, ::testing::ValuesIn(faults),
                         [](const ::testing::TestParamInfo<Fault> &info) { return std::string(info.param.name); });

// Pipes, links out of the disc, unreadable files and loops are reported and
// left alone: nothing waits, nothing outside is opened, the walk ends.
TEST_F(DiscCheckTest, AHostileDiscIsReportedNotFollowed)
{
    TemporaryFolder elsewhere;
    const std::string outsidePipe = elsewhere.filePath("pipe");
    ASSERT_EQ(::mkfifo(outsidePipe.c_str(), 0644), 0);
    remove("MOVIES/SUNRISE.AVI");
    ASSERT_EQ(::mkfifo(path("MOVIES/SUNRISE.AVI").c_str(), 0644), 0);
    changeProject({"cover=COVER.JPG"});
    ASSERT_EQ(::symlink(outsidePipe.c_str(), path("COVER.JPG").c_str()), 0);
    ASSERT_EQ(::symlink("..", path("SETUP/LOOP").c_str()), 0);
    ASSERT_EQ(::chmod(path("SETUP/PLAYER.EXE").c_str(), 0), 0);

    const DiscCheckReport report = answeredAtOnce(
        [this] { return answeredAtOnce([this] { return check(); }, path("MOVIES/SUNRISE.AVI")); }, outsidePipe);
    const std::vector<Finding> problems = problemsOf(report);
    const std::vector<std::string> expected = {
        "MOVIES\\SUNRISE.AVI is a special file",
        "the cover COVER.JPG is a link that leads outside the disc",
        "the player installer SETUP/PLAYER.EXE can't be read by every user (---------)",
    };
    ASSERT_EQ(problems.size(), expected.size()) << described(problems);
    for (std::size_t i = 0; i < problems.size(); ++i) {
        EXPECT_EQ(problems[i].severity, Severity::Error);
        EXPECT_TRUE(startsWith(problems[i].text, expected[i])) << problems[i].text;
    }
}

// Errors come first, and a finding about a file the program opens is never
// folded into "and N more", however many of its kind there are.
TEST_F(DiscCheckTest, NoErrorIsHidden)
{
    const std::string longMovie = "Z" + std::string(70, 'z') + ".AVI";
    for (int i = 1; i <= 7; ++i)
        writeFile("MOVIES/" + std::to_string(i) + Huge + ".txt", "");
    rename("MOVIES/SUNRISE.AVI", "MOVIES/" + longMovie);
    changeProject({"movie01=MOVIES\\" + longMovie});

    const DiscCheckReport report = check();
    const auto movie = std::find_if(report.findings.begin(), report.findings.end(),
                                    [&](const Finding &f) { return startsWith(f.text, "MOVIES/" + longMovie); });
    ASSERT_NE(movie, report.findings.end()) << described(report.findings);
    EXPECT_EQ(movie->severity, Severity::Error);
    EXPECT_TRUE(std::is_sorted(report.findings.begin(), report.findings.end(),
                               [](const Finding &a, const Finding &b) { return a.severity < b.severity; }))
        << described(report.findings);
}

// The image genisoimage -R -J made of this folder, RR_MOVED and all; and
// none when genisoimage stops.
TEST_F(DiscCheckTest, TheImageIsSizedAsGenisoimageMakesIt)
{
    writeFile("A/B/C/D/E/F/G/H/x.txt", "");
    EXPECT_EQ(check().imageBytes, 421888);

    writeFile("EXTRAS/" + Huge + "1", "");
    writeFile("EXTRAS/" + Huge + "2", "");
    const DiscCheckReport report = check();
    EXPECT_EQ(report.imageBytes, 0);
    const std::vector<std::string> lines = reportLines("4.0", "disc", report);
    EXPECT_TRUE(endsWith(lines.at(lines.size() - 2),
                         "no disc image: genisoimage -R -J can't make one (two names share their first 64 characters)"))
        << lines.at(lines.size() - 2);
}

// A hundredth movie's keys are read as movie 10's: said so, no movie is
// missing that was written, and the totals make up no label.
TEST_F(DiscCheckTest, AHundredthMovieIsReadAsTheTenth)
{
    std::vector<std::string> lines;
    for (int n = 1; n <= 100; ++n)
        addMovieLines(lines, n, "MOVIES\\SUNRISE.AVI", "Day " + twoDigits(n), "HOLIDAY1");
    changeProject(lines);

    const DiscCheckReport report = check();
    const auto says = [&](const char *text) {
        return std::count_if(report.findings.begin(), report.findings.end(),
                             [&](const Finding &f) { return contains(f.text, text); });
    };
    EXPECT_EQ(says("movie100=MOVIES\\SUNRISE.AVI for movie 10's path \"=MOVIES\\SUNRISE.AVI\", so movie 10 can never play"), 1)
        << described(report.findings);
    EXPECT_EQ(says("is missing"), 0) << described(report.findings);
    const std::vector<std::string> text = reportLines("4.0", "disc", report);
    EXPECT_TRUE(contains(text.at(text.size() - 2), "(HOLIDAY1: 98 here, 2 without a CD label)")) << text.at(text.size() - 2);
}

// The listing stops at its limits, and says where.
TEST_F(DiscCheckTest, TheListingIsBounded)
{
    writeFile("A/B/C/D/x.txt", "");
    const DiscIndex few(root(), 6);
    EXPECT_TRUE(few.tooManyEntries());
    EXPECT_GE(few.stoppedAt(), 0);
    const DiscIndex shallow(root(), MaxListedEntries, 2);
    EXPECT_FALSE(shallow.tooManyEntries());
    EXPECT_EQ(shallow.at(shallow.stoppedAt()).path, "A/B/C");
    EXPECT_EQ(shallow.find("A/B/C/D"), -1);
    EXPECT_GE(shallow.find("SETUP/PLAYER.EXE"), 0);
}

TEST_F(DiscCheckTest, TheCommandAnswersZeroOneOrTwo)
{
    std::string out, err;
    EXPECT_EQ(runDiscCheck(root(), out, err), 0) << out;
    EXPECT_TRUE(endsWith(out, "\nno problems\n")) << out;

    remove("MOVIES/SUNRISE.AVI");
    out.clear();
    EXPECT_EQ(runDiscCheck(root(), out, err), 1);
    EXPECT_TRUE(contains(out, "\nerror   movie 1 \"Sunrise, over the bay\": MOVIES\\SUNRISE.AVI is not on this disc"))
        << out;
    EXPECT_TRUE(endsWith(out, "\n1 problem (1 error)\n")) << out;
    EXPECT_TRUE(err.empty());

    remove("Autorun.inf");
    out.clear();
    EXPECT_EQ(runDiscCheck(root(), out, err), 2);
    EXPECT_TRUE(contains(err, "no Autorun.inf")) << err;
    EXPECT_EQ(runDiscCheck(path("missing"), out, err), 2);
    EXPECT_TRUE(contains(err, "missing: no such folder")) << err;
    EXPECT_TRUE(out.empty());
}

// The cover's header, read as the program's picture loader reads it: the
// size of each kind of picture a cover comes in, and nothing for a file cut
// short or one that is no picture.
TEST(PictureHeader, TellsTheKindAndSizeOfACover)
{
    const std::string jpeg = readFileAt(VIDORUN_DEMO_DIR "/COVER.JPG");
    const std::string gif = fromHex("47494638396101000100800000000000ffffff2c00000000010001000002024401003b");
    const std::string bmp = "BM" + fromHex("3a000000000000003600000028000000020000000300000001001800");
    const struct {
        std::string bytes;
        const char *format;
        int width, height;
    } pictures[] = {
        {jpeg, "jpeg", 209, 329},
        {jpeg.substr(0, 380), "", 0, 0},  // cut short in the header of its scan
        {gif, "gif", 1, 1},
        {gif.substr(0, 13), "", 0, 0},  // no image after the screen
        {bmp + std::string(40, '\0'), "bmp", 2, 3},
        {"not a picture", "", 0, 0},
    };
    const std::unique_ptr<PublishFiles> files = makeNativePublishFiles();
    TemporaryFolder folder;
    for (const auto &picture : pictures) {
        SCOPED_TRACE(picture.format);
        writeFileAt(folder.filePath("cover"), picture.bytes);
        FileKind kind;
        std::string reason;
        const std::unique_ptr<ReadableFile> file = files->openForReading(folder.filePath("cover"), kind, reason);
        ASSERT_TRUE(file) << reason;
        const std::optional<PictureHeader> header = readPictureHeader(*file);
        EXPECT_EQ(header.has_value(), *picture.format != '\0');
        if (header) {
            EXPECT_EQ(header->format, picture.format);
            EXPECT_EQ(header->width, picture.width);
            EXPECT_EQ(header->height, picture.height);
        }
    }
}

// A disc made on Windows as Linux shows it without Joliet names: the checker
// finds every file where the program does, and a name in another letter
// case, which the program still finds, is a note, no problem.
using LowerCaseDiscCheck = FolderTest;

TEST_F(LowerCaseDiscCheck, FindsEveryFileWhereTheProgramDoes)
{
    const mode_t umask = ::umask(022);
    makeLowerCaseDisc(m_folder.path());
    writeFile("vidorun.exe", "MZ");
    ::umask(umask);
    const std::string here = currentFolder();
    DiscIndex index(here);
    for (const char *stored : {".\\COVER.JPG", "D:\\PLAYER\\SETUP.EXE", "CODEC\\INSTALL.EXE", ".\\MOVIES\\PART2.AVI",
                               "\\MOVIES\\..\\DISC1.INI", "MOVIES\\MISSING.AVI", "movies/PART1.AVI/more", "..\\AWAY.AVI"})
        EXPECT_EQ(index.resolve(stored), resolveDiscPath(stored, here)) << stored;

    const DiscCheckReport report = checkDisc(here, discCheckOptions());
    const std::vector<Finding> problems = problemsOf(report);
    const auto inCase = std::count_if(report.findings.begin(), report.findings.end(), [](const Finding &f) {
        return f.severity == Severity::Note && contains(f.text, "in another letter case");
    });
    EXPECT_EQ(inCase, 5) << described(report.findings);  // cover, player, codec and both movies
    EXPECT_EQ(problems.size(), 2u) << described(problems);  // two drive letters
    EXPECT_EQ(exitStatus(report), 1);
}

// A folder given alone becomes the working folder, before the window is made.
using CommandLineFolderTest = FolderTest;

TEST_F(CommandLineFolderTest, BecomesTheWorkingFolder)
{
    TemporaryFolder disc;
    std::string program = "vidorun", folder = disc.path();
    char *argv[] = {program.data(), folder.data(), nullptr};
    EXPECT_FALSE(runCommandLine(2, argv).has_value());
    EXPECT_EQ(currentFolder(), canonicalPath(disc.path()));
}

// The program itself, started as a viewer or author would start it, with no
// display to be had.
ProgramRun vidorunWith(const std::vector<std::string> &arguments, const std::string &folder = std::string())
{
    return runProgram(VIDORUN_PROGRAM, arguments, folder);
}

TEST(CommandLine, TheDemoDiscChecksClean)
{
    const ProgramRun run = vidorunWith({"--check", VIDORUN_DEMO_DIR});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_TRUE(startsWith(run.out, "Vidorun 4.0 checks " VIDORUN_DEMO_DIR " as the disc labelled HOLIDAY1\n")) << run.out;
    // The size genisoimage -R -J gave for this folder.
    EXPECT_TRUE(contains(run.out, "\nok      3 movies on 1 disc (HOLIDAY1: 3 here), 481,280 bytes: ")) << run.out;
    EXPECT_TRUE(endsWith(run.out, "\nno problems\n"));
}

// The folder comes as "--check FOLDER", "--check=FOLDER" or, without one,
// the working folder; every error has the program's one prefix.
TEST(CommandLine, CheckTakesItsFolderAsGnuProgramsDo)
{
    ProgramRun run = vidorunWith({"--check=" VIDORUN_DEMO_DIR});
    EXPECT_EQ(run.status, 0) << run.err;
    run = vidorunWith({"--check"}, VIDORUN_DEMO_DIR);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(startsWith(run.out, "Vidorun 4.0 checks . as the disc labelled HOLIDAY1\n"));

    run = vidorunWith({"--check", "/no/such/disc"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "vidorun: /no/such/disc: no such folder\n");
    run = vidorunWith({"--check=/no/such/disc", "other"});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(startsWith(run.err, "vidorun: one disc folder at most, not 2\n"));
}

TEST(CommandLine, HelpVersionAndAMissingFolder)
{
    ProgramRun run = vidorunWith({"--version"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Vidorun 4.0\n");

    run = vidorunWith({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(contains(run.out, "--check"));

    run = vidorunWith({"/no/such/disc"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "vidorun: /no/such/disc: no such folder\n");

    run = vidorunWith({"--burn"});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(startsWith(run.err, "vidorun: Unknown option 'burn'."));
    // The help offers no --help-all for options it does not list.
    run = vidorunWith({"--help-all"});
    EXPECT_EQ(run.status, 2);
}

// What the program's own parser has always taken and said: the help laid
// out in columns, single-dash words as long options, "--" ending them, the
// options of window programs let through, and its words for what it can't
// take.
TEST(CommandLine, ArgumentsAreTakenAsEver)
{
    ProgramRun run = vidorunWith({"-help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Usage: " VIDORUN_PROGRAM " [options] [FOLDER]\n"
                       "Vidorun shows the movie menu of the disc it is started from: the working folder, or FOLDER.\n"
                       "\n"
                       "Options:\n"
                       "  -h, --help           Displays help on commandline options.\n"
                       "  -v, --version        Displays version information.\n"
                       "  --check              Check the disc folder (--check FOLDER or --check=FOLDER;\n"
                       "                       the working folder without one) as a viewer would meet\n"
                       "                       it, print what is wrong and exit: 0 when nothing is, 1\n"
                       "                       when something is, 2 when it can't be read.\n"
                       "  --publish <PROJECT>  Lay out every disc of the project PROJECT (an\n"
                       "                       Autorun.inf, or its folder) ready to burn, in the FOLDER\n"
                       "                       given after it: FOLDER/<LABEL>/ for each CD label, then\n"
                       "                       check each disc. Exit status 0 when every disc was made\n"
                       "                       and checks clean, 1 when a check finds a problem, 2 when\n"
                       "                       a disc could not be made.\n"
                       "  --iso                With --publish: also write each disc's image,\n"
                       "                       FOLDER/<LABEL>.iso (ISO 9660 with Joliet and Rock Ridge\n"
                       "                       names).\n"
                       "  --force              With --publish: replace discs and images already in\n"
                       "                       FOLDER, once the new ones are complete.\n"
                       "  --quiet              With --publish: print nothing but problems.\n"
                       "  --linux-only         With --publish: discs without Vidorun.exe, for viewers\n"
                       "                       on Linux.\n"
                       "\n"
                       "Arguments:\n"
                       "  FOLDER               The disc's root folder, holding its Autorun.inf.\n");
    const struct {
        std::vector<std::string> arguments;
        const char *err;
    } cases[] = {
        {{"--burn", "-x"}, "vidorun: Unknown options: burn, x.\nSee vidorun --help.\n"},
        {{"--iso=3"}, "vidorun: Unexpected value after '--iso'.\nSee vidorun --help.\n"},
        {{"--publish"}, "vidorun: Missing value after '--publish'.\nSee vidorun --help.\n"},
        {{"-platform", "offscreen", "-reverse", "/no/such"}, "vidorun: /no/such: no such folder\n"},
        {{"--", "--check"}, "vidorun: --check: no such folder\n"},
        {{"--check="}, "vidorun: --check= names no folder\nSee vidorun --help.\n"},
    };
    for (const auto &c : cases) {
        run = vidorunWith(c.arguments);
        EXPECT_EQ(run.status, 2) << c.err;
        EXPECT_EQ(run.err, c.err);
    }
}

}  // namespace
