// The disc checker on discs made for each test: the sample Holiday disc as it
// should be, the same disc with one fault at a time, a hostile disc, and the
// bundled demo disc through the program itself.
#include "app/command_line.h"
#include "disccheck/disc_check.h"
#include "disccheck/disc_index.h"
#include "lowercase_disc.h"
#include "platform/disc_path.h"
#include "support/sample_projects.h"
#include "support/watchdog.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

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
        text += "\n  " + std::to_string(finding.movie) + ": " + finding.text.toStdString();
    return text;
}

// The sample Holiday project on the disc of its first movie: HOLIDAY1 with
// the program, its movie and the player installer; movie 2 is on HOLIDAY2.
class DiscCheckTest : public WorkingFolderTest {
public:
    void SetUp() override
    {
        WorkingFolderTest::SetUp();
        // Files readable by every user, as the files of a disc should be.
        m_umask = ::umask(022);
        writeFile(QStringLiteral("Autorun.inf"), holidayProject());
        writeFile(QStringLiteral("HOLIDAY1.INI"), "");
        writeFile(QStringLiteral("MOVIES/SUNRISE.AVI"), "RIFF");
        writeFile(QStringLiteral("SETUP/PLAYER.EXE"), "MZ");
        writeFile(QStringLiteral("Vidorun.exe"), "MZ");
    }
    void TearDown() override
    {
        ::umask(m_umask);
        WorkingFolderTest::TearDown();
    }

    // The sample project with the line of each key ("movie01=...", quoted or
    // not) replaced, or added at the end.
    void changeProject(const QStringList &lines)
    {
        QStringList project = QString::fromUtf8(holidayProject()).split(QStringLiteral("\r\n"));
        project.removeLast();
        auto keyOf = [](QString line) {
            if (line.startsWith(QLatin1Char('"')))
                line.remove(0, 1);
            return line.section(QLatin1Char('='), 0, 0) + QLatin1Char('=');
        };
        for (const QString &line : lines) {
            const QString key = keyOf(line);
            const auto it = std::find_if(project.begin(), project.end(),
                                         [&](const QString &old) { return keyOf(old) == key; });
            if (it != project.end())
                *it = line;
            else
                project << line;
        }
        writeFile(QStringLiteral("Autorun.inf"), projectFileBytes(project));
    }
    void remove(const QString &name) { ASSERT_TRUE(QFile::remove(path(name))) << name.toStdString(); }
    // A file whose name is bytes as given, UTF-8 or not.
    void rawFile(const QByteArray &name)
    {
        writeFile(QStringLiteral("EXTRAS/.keep"), "");
        const int fd = ::creat(QFile::encodeName(root()) + '/' + name, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    void sparseFile(const QString &name, qint64 size)
    {
        writeFile(name, QByteArray());
        QFile file(path(name));
        ASSERT_TRUE(file.resize(size));
    }
    QString root() const { return m_folder.path(); }
    DiscCheckReport check() const { return checkDisc(root(), discCheckOptions()); }

    using WorkingFolderTest::path;
    using WorkingFolderTest::writeFile;

private:
    mode_t m_umask = 022;
};

TEST_F(DiscCheckTest, TheSampleDiscHasNoProblems)
{
    const DiscCheckReport report = check();
    EXPECT_TRUE(problemsOf(report).empty()) << described(problemsOf(report));
    EXPECT_EQ(exitStatus(report), 0);
    const QStringList lines = reportLines(QStringLiteral("4.0"), QStringLiteral("disc"), report);
    EXPECT_EQ(lines.front(), QStringLiteral("Vidorun 4.0 checks disc as the disc labelled HOLIDAY1"));
    EXPECT_TRUE(lines.at(lines.size() - 2).startsWith(
        QStringLiteral("ok      2 movies on 2 discs (HOLIDAY1: 1 here, HOLIDAY2: 1 on another disc), ")))
        << lines.at(lines.size() - 2).toStdString();
    EXPECT_EQ(lines.back(), QStringLiteral("no problems"));
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
        return f.text.contains(QString::fromUtf8(fault.says)) && f.severity == fault.severity && f.movie == fault.movie;
    });
    EXPECT_NE(found, report.findings.end()) << "no finding saying: " << fault.says << described(report.findings);
}

const QString Huge = QStringLiteral("A%1").arg(QString(63, QLatin1Char('n')));  // 64 characters

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
         const QString text = QString::fromUtf8(holidayProject());
         t.writeFile("Autorun.inf", QByteArray("\xFF\xFE", 2) + QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2));
     },
     Severity::Error, 0, "Autorun.inf is written in UTF-16", 3},
    {"MovieMissing", [](DiscCheckTest &t) { t.remove("MOVIES/SUNRISE.AVI"); },
     Severity::Error, 1, "MOVIES\\SUNRISE.AVI is not on this disc (no SUNRISE.AVI in MOVIES)"},
    // Windows and Vidorun find it, and the reader upper-cases the path anyway.
    {"MovieInAnotherCase", [](DiscCheckTest &t) { QFile::rename(t.path("MOVIES/SUNRISE.AVI"), t.path("MOVIES/Sunrise.avi")); },
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
    {"MovieIsAFolder", [](DiscCheckTest &t) { t.remove("MOVIES/SUNRISE.AVI"); QDir().mkpath(t.path("MOVIES/SUNRISE.AVI")); },
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
         t.writeFile("COVER.PNG", QByteArray::fromHex("89504e470d0a1a0a0000000d4948445200004e2000004e2008020000006c12d16e"
                                                       "000000004944415435af061e0000000049454e44ae426082"));
     },
     Severity::Error, 0, "is 20000 x 20000 pixels, more than the 144,000,000 pixels Vidorun decodes"},
    {"MovieIsALinkOnTheDisc", [](DiscCheckTest &t) {
         QFile::rename(t.path("MOVIES/SUNRISE.AVI"), t.path("MOVIES/REAL.AVI"));
         QFile::link("REAL.AVI", t.path("MOVIES/SUNRISE.AVI"));
     },
     Severity::Error, 1, "MOVIES\\SUNRISE.AVI is a link to MOVIES/REAL.AVI: genisoimage writes it as an empty file"},
    {"NotReadableByEveryone", [](DiscCheckTest &t) { ::chmod(QFile::encodeName(t.path("MOVIES/SUNRISE.AVI")), 0600); },
     Severity::Error, 1, "MOVIES/SUNRISE.AVI can't be read by every user (rw-------)"},
    {"NameLongerThanJolietKeeps", [](DiscCheckTest &t) { t.writeFile("EXTRAS/" + Huge + ".txt", ""); },
     Severity::Warning, 0, "has a name of 68 characters"},
    {"ManyNamesLongerThanJolietKeeps", [](DiscCheckTest &t) {
         for (int i = 1; i <= 7; ++i)
             t.writeFile(QStringLiteral("EXTRAS/%1%2.txt").arg(i).arg(Huge), "");
     },
     Severity::Warning, 0, "and 2 more names longer than 64 characters", 6},
    {"CharacterJolietCantHold", [](DiscCheckTest &t) { t.writeFile("EXTRAS/What? Where.txt", ""); },
     Severity::Warning, 0, "EXTRAS/What? Where.txt has '?' in its name"},
    // genisoimage moves the folder 8 levels below the root, with the file in it.
    {"FileEightFoldersDown", [](DiscCheckTest &t) { t.writeFile("A/B/C/D/E/F/G/H/x.txt", ""); },
     Severity::Warning, 0, "A/B/C/D/E/F/G/H is folder level 8 below the root"},
    {"PathTooLong", [](DiscCheckTest &t) { t.writeFile(Huge + "/" + QString(52, 'x') + ".txt", ""); },
     Severity::Warning, 0, "x.txt is a path of 121 characters, more than the 120"},
    {"NamesAlikeInTheirFirst64Characters", [](DiscCheckTest &t) { t.writeFile("EXTRAS/" + Huge + "1", ""); t.writeFile("EXTRAS/" + Huge + "2", ""); },
     Severity::Error, 0, "share their first 64 characters, all of a name a disc's Joliet names keep: genisoimage stops", 3},
    {"NameNotUtf8", [](DiscCheckTest &t) { t.rawFile("EXTRAS/caf\xE9.txt"); },
     Severity::Error, 0, "has a name that is not UTF-8"},
    {"WindowsDeviceName", [](DiscCheckTest &t) { t.writeFile("EXTRAS/aux.txt", ""); },
     Severity::Warning, 0, "EXTRAS/aux.txt is named as a Windows device"},
    {"NameEndingInADot", [](DiscCheckTest &t) { t.writeFile("EXTRAS/notes.", ""); },
     Severity::Warning, 0, "EXTRAS/notes. ends in a dot or a blank"},
    {"PipeOnTheDisc", [](DiscCheckTest &t) { ::mkfifo(QFile::encodeName(t.path("pipe")), 0644); },
     Severity::Warning, 0, "pipe is a special file (a pipe, socket or device): Rock Ridge names keep it"},
    {"LinkLoop", [](DiscCheckTest &t) { QFile::link("loop", t.path("loop")); },
     Severity::Warning, 0, "loop is a link that leads round in a loop"},
    {"FileTooBigForFat32", [](DiscCheckTest &t) { t.sparseFile("EXTRAS/BIG.BIN", 5000000000LL); },
     Severity::Error, 0, "EXTRAS/BIG.BIN is 5,000,000,000 bytes, more than 4 GiB - 1: genisoimage can't put it on a disc"},
    {"TooBigForAnyDisc", [](DiscCheckTest &t) { t.sparseFile("EXTRAS/BIG.AVI", 3000000000LL); t.sparseFile("EXTRAS/BIG2.AVI", 3000000000LL); t.sparseFile("EXTRAS/BIG3.AVI", 3000000000LL); },
     Severity::Warning, 0, "more than a double-layer DVD holds"},
    {"OneDigitKey", [](DiscCheckTest &t) { t.writeFile("Autorun.inf", holidayProject().replace("mdisk01=", "mdisk1=")); },
     Severity::Error, 0, "mdisk1=HOLIDAY1 has a one-digit number, and Vidorun takes the value from a fixed place after two digits, so it reads movie 1's CD label \"OLIDAY1\"; write mdisk01=", 2},
    {"EmptyProject", [](DiscCheckTest &t) { t.writeFile("Autorun.inf", ""); },
     Severity::Error, 0, "Autorun.inf is empty (0 bytes)"},
    {"ByteOrderMark", [](DiscCheckTest &t) { t.writeFile("Autorun.inf", "\xEF\xBB\xBF" + holidayProject()); },
     Severity::Error, 0, "Autorun.inf begins with a UTF-8 byte-order mark: Windows AutoRun reads the file in its ANSI code page"},
    {"PathInWindows1252", [](DiscCheckTest &t) {
         QByteArray project = holidayProject();
         project.replace("MOVIES\\SUNRISE.AVI", "MOVIES\\\xC9T\xC9.AVI");
         t.writeFile("Autorun.inf", project);
         t.writeFile(QStringLiteral("MOVIES/\u00C9T\u00C9.AVI"), "RIFF");
     },
     Severity::Warning, 1, "has \"\u00C9\", which Autorun.inf holds as a Windows-1252 byte"},
};

INSTANTIATE_TEST_SUITE_P(OnTheSampleDisc, DiscFaultTest, ::testing::ValuesIn(faults),
                         [](const ::testing::TestParamInfo<Fault> &info) { return std::string(info.param.name); });

// Pipes, links out of the disc, unreadable files and loops are reported and
// left alone: nothing waits, nothing outside is opened, the walk ends.
TEST_F(DiscCheckTest, AHostileDiscIsReportedNotFollowed)
{
    QTemporaryDir elsewhere;
    const QByteArray outsidePipe = QFile::encodeName(elsewhere.filePath(QStringLiteral("pipe")));
    ASSERT_EQ(::mkfifo(outsidePipe.constData(), 0644), 0);
    remove(QStringLiteral("MOVIES/SUNRISE.AVI"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(QStringLiteral("MOVIES/SUNRISE.AVI"))).constData(), 0644), 0);
    changeProject({QStringLiteral("cover=COVER.JPG")});
    ASSERT_EQ(::symlink(outsidePipe.constData(), QFile::encodeName(path(QStringLiteral("COVER.JPG"))).constData()), 0);
    ASSERT_EQ(::symlink("..", QFile::encodeName(path(QStringLiteral("SETUP/LOOP"))).constData()), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(path(QStringLiteral("SETUP/PLAYER.EXE"))).constData(), 0), 0);

    const DiscCheckReport report = answeredAtOnce(
        [this] { return answeredAtOnce([this] { return check(); }, path(QStringLiteral("MOVIES/SUNRISE.AVI")).toStdString()); },
        outsidePipe.toStdString());
    const std::vector<Finding> problems = problemsOf(report);
    const QStringList expected = {
        QStringLiteral("MOVIES\\SUNRISE.AVI is a special file"),
        QStringLiteral("the cover COVER.JPG is a link that leads outside the disc"),
        QStringLiteral("the player installer SETUP/PLAYER.EXE can't be read by every user (---------)"),
    };
    ASSERT_EQ(problems.size(), expected.size()) << described(problems);
    for (std::size_t i = 0; i < problems.size(); ++i) {
        EXPECT_EQ(problems[i].severity, Severity::Error);
        EXPECT_TRUE(problems[i].text.startsWith(expected[qsizetype(i)])) << problems[i].text.toStdString();
    }
}

// Errors come first, and a finding about a file the program opens is never
// folded into "and N more", however many of its kind there are.
TEST_F(DiscCheckTest, NoErrorIsHidden)
{
    const QString longMovie = QStringLiteral("Z%1.AVI").arg(QString(70, QLatin1Char('z')));
    for (int i = 1; i <= 7; ++i)
        writeFile(QStringLiteral("MOVIES/%1%2.txt").arg(i).arg(Huge), "");
    QFile::rename(path(QStringLiteral("MOVIES/SUNRISE.AVI")), path(QStringLiteral("MOVIES/") + longMovie));
    changeProject({QStringLiteral("movie01=MOVIES\\") + longMovie});

    const DiscCheckReport report = check();
    const auto movie = std::find_if(report.findings.begin(), report.findings.end(),
                                    [&](const Finding &f) { return f.text.startsWith(QStringLiteral("MOVIES/") + longMovie); });
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
    writeFile(QStringLiteral("A/B/C/D/E/F/G/H/x.txt"), "");
    EXPECT_EQ(check().imageBytes, 421888);

    writeFile(QStringLiteral("EXTRAS/") + Huge + QStringLiteral("1"), "");
    writeFile(QStringLiteral("EXTRAS/") + Huge + QStringLiteral("2"), "");
    const DiscCheckReport report = check();
    EXPECT_EQ(report.imageBytes, 0);
    const QStringList lines = reportLines(QStringLiteral("4.0"), QStringLiteral("disc"), report);
    EXPECT_TRUE(lines.at(lines.size() - 2).endsWith(
        QStringLiteral("no disc image: genisoimage -R -J can't make one (two names share their first 64 characters)")))
        << lines.at(lines.size() - 2).toStdString();
}

// A hundredth movie's keys are read as movie 10's: said so, no movie is
// missing that was written, and the totals make up no label.
TEST_F(DiscCheckTest, AHundredthMovieIsReadAsTheTenth)
{
    QStringList lines;
    for (int n = 1; n <= 100; ++n) {
        const QString nn = QString::number(n).rightJustified(2, QLatin1Char('0'));
        lines << QStringLiteral("movie%1=MOVIES\\SUNRISE.AVI").arg(nn) << QStringLiteral("title%1=Day %1").arg(nn)
              << QStringLiteral("mdisk%1=HOLIDAY1").arg(nn);
    }
    changeProject(lines);

    const DiscCheckReport report = check();
    const auto says = [&](const char *text) {
        return std::count_if(report.findings.begin(), report.findings.end(),
                             [&](const Finding &f) { return f.text.contains(QString::fromUtf8(text)); });
    };
    EXPECT_EQ(says("movie100=MOVIES\\SUNRISE.AVI for movie 10's path \"=MOVIES\\SUNRISE.AVI\", so movie 10 can never play"), 1)
        << described(report.findings);
    EXPECT_EQ(says("is missing"), 0) << described(report.findings);
    const QStringList text = reportLines(QStringLiteral("4.0"), QStringLiteral("disc"), report);
    EXPECT_TRUE(text.at(text.size() - 2).contains(QStringLiteral("(HOLIDAY1: 98 here, 2 without a CD label)")))
        << text.at(text.size() - 2).toStdString();
}

// The listing stops at its limits, and says where.
TEST_F(DiscCheckTest, TheListingIsBounded)
{
    writeFile(QStringLiteral("A/B/C/D/x.txt"), "");
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
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    EXPECT_EQ(runDiscCheck(root(), outStream, errStream), 0) << out.toStdString();
    EXPECT_TRUE(out.endsWith(QStringLiteral("\nno problems\n"))) << out.toStdString();

    remove(QStringLiteral("MOVIES/SUNRISE.AVI"));
    out.clear();
    EXPECT_EQ(runDiscCheck(root(), outStream, errStream), 1);
    EXPECT_TRUE(out.contains(QStringLiteral("\nerror   movie 1 \"Sunrise, over the bay\": MOVIES\\SUNRISE.AVI is not on this disc")))
        << out.toStdString();
    EXPECT_TRUE(out.endsWith(QStringLiteral("\n1 problem (1 error)\n"))) << out.toStdString();
    EXPECT_TRUE(err.isEmpty());

    remove(QStringLiteral("Autorun.inf"));
    out.clear();
    EXPECT_EQ(runDiscCheck(root(), outStream, errStream), 2);
    EXPECT_TRUE(err.contains(QStringLiteral("no Autorun.inf"))) << err.toStdString();
    EXPECT_EQ(runDiscCheck(path(QStringLiteral("missing")), outStream, errStream), 2);
    EXPECT_TRUE(err.contains(QStringLiteral("missing: no such folder"))) << err.toStdString();
    EXPECT_TRUE(out.isEmpty());
}

// A disc made on Windows as Linux shows it without Joliet names: the checker
// finds every file where the program does, and a name in another letter
// case, which the program still finds, is a note, no problem.
using LowerCaseDiscCheck = LowerCaseDiscTest;

TEST_F(LowerCaseDiscCheck, FindsEveryFileWhereTheProgramDoes)
{
    const mode_t umask = ::umask(022);
    makeDisc();
    writeFile(QStringLiteral("vidorun.exe"), "MZ");
    ::umask(umask);
    const std::string here = QFile::encodeName(QDir::currentPath()).toStdString();
    DiscIndex index(QDir::currentPath());
    for (const char *stored : {".\\COVER.JPG", "D:\\PLAYER\\SETUP.EXE", "CODEC\\INSTALL.EXE", ".\\MOVIES\\PART2.AVI",
                               "\\MOVIES\\..\\DISC1.INI", "MOVIES\\MISSING.AVI", "movies/PART1.AVI/more", "..\\AWAY.AVI"})
        EXPECT_EQ(index.resolve(QString::fromLatin1(stored)), resolveDiscPath(stored, here)) << stored;

    const DiscCheckReport report = checkDisc(QDir::currentPath(), discCheckOptions());
    const std::vector<Finding> problems = problemsOf(report);
    const auto inCase = std::count_if(report.findings.begin(), report.findings.end(), [](const Finding &f) {
        return f.severity == Severity::Note && f.text.contains(QStringLiteral("in another letter case"));
    });
    EXPECT_EQ(inCase, 5) << described(report.findings);  // cover, player, codec and both movies
    EXPECT_EQ(problems.size(), 2u) << described(problems);  // two drive letters
    EXPECT_EQ(exitStatus(report), 1);
}

// A folder given alone becomes the working folder, before the window is made.
using CommandLineFolderTest = WorkingFolderTest;

TEST_F(CommandLineFolderTest, BecomesTheWorkingFolder)
{
    QTemporaryDir disc;
    std::string program = "vidorun", folder = QFile::encodeName(disc.path()).toStdString();
    char *argv[] = {program.data(), folder.data(), nullptr};
    EXPECT_FALSE(runCommandLine(2, argv).has_value());
    EXPECT_EQ(QDir::currentPath(), QFileInfo(disc.path()).canonicalFilePath());
}

// The program itself, started as a viewer or author would start it, with no
// display to be had.
class CommandLineTest : public ::testing::Test {
protected:
    QProcess &run(const QStringList &arguments)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QLatin1String(name));
        m_process.setProcessEnvironment(environment);
        m_process.start(QStringLiteral(VIDORUN_PROGRAM), arguments);
        EXPECT_TRUE(m_process.waitForFinished(20000));
        return m_process;
    }
    QString output() { return QString::fromUtf8(m_process.readAllStandardOutput()); }
    QString errors() { return QString::fromUtf8(m_process.readAllStandardError()); }

    QProcess m_process;
};

TEST_F(CommandLineTest, TheDemoDiscChecksClean)
{
    run({QStringLiteral("--check"), QStringLiteral(VIDORUN_DEMO_DIR)});
    const QString text = output();
    EXPECT_EQ(m_process.exitCode(), 0) << text.toStdString() << errors().toStdString();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Vidorun 4.0 checks " VIDORUN_DEMO_DIR " as the disc labelled HOLIDAY1\n")))
        << text.toStdString();
    // The size genisoimage -R -J gave for this folder.
    EXPECT_TRUE(text.contains(QStringLiteral("\nok      3 movies on 1 disc (HOLIDAY1: 3 here), 481,280 bytes: ")))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("\nno problems\n")));
}

// The folder comes as "--check FOLDER", "--check=FOLDER" or, without one,
// the working folder; every error has the program's one prefix.
TEST_F(CommandLineTest, CheckTakesItsFolderAsGnuProgramsDo)
{
    run({QStringLiteral("--check=" VIDORUN_DEMO_DIR)});
    EXPECT_EQ(m_process.exitCode(), 0) << errors().toStdString();
    m_process.setWorkingDirectory(QStringLiteral(VIDORUN_DEMO_DIR));
    run({QStringLiteral("--check")});
    EXPECT_EQ(m_process.exitCode(), 0) << errors().toStdString();
    EXPECT_TRUE(output().startsWith(QStringLiteral("Vidorun 4.0 checks . as the disc labelled HOLIDAY1\n")));

    run({QStringLiteral("--check"), QStringLiteral("/no/such/disc")});
    EXPECT_EQ(m_process.exitCode(), 2);
    EXPECT_EQ(errors(), QStringLiteral("vidorun: /no/such/disc: no such folder\n"));
    run({QStringLiteral("--check=/no/such/disc"), QStringLiteral("other")});
    EXPECT_EQ(m_process.exitCode(), 2);
    EXPECT_TRUE(errors().startsWith(QStringLiteral("vidorun: one disc folder at most, not 2\n")));
}

TEST_F(CommandLineTest, HelpVersionAndAMissingFolder)
{
    run({QStringLiteral("--version")});
    EXPECT_EQ(m_process.exitCode(), 0);
    EXPECT_EQ(output(), QStringLiteral("Vidorun 4.0\n"));

    run({QStringLiteral("--help")});
    EXPECT_EQ(m_process.exitCode(), 0);
    EXPECT_TRUE(output().contains(QStringLiteral("--check")));

    run({QStringLiteral("/no/such/disc")});
    EXPECT_EQ(m_process.exitCode(), 2);
    EXPECT_EQ(errors(), QStringLiteral("vidorun: /no/such/disc: no such folder\n"));

    run({QStringLiteral("--burn")});
    EXPECT_EQ(m_process.exitCode(), 2);
    EXPECT_TRUE(errors().startsWith(QStringLiteral("vidorun: Unknown option 'burn'.")));
    // The help offers no --help-all for options it does not list.
    run({QStringLiteral("--help-all")});
    EXPECT_EQ(m_process.exitCode(), 2);
}

}  // namespace
