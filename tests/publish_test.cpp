// vidorun --publish on a two-label project whose files are named in every
// form a project holds (a path of this computer, a drive letter, a path
// relative to the project), the discs and images it makes, and what it
// leaves when something stops it: nothing half made.
#include "app/command_line.h"
#include "platform/console_session.h"
#include "platform/publish_files.h"
#include "projectfile/project_writer.h"
#include "publish/disc_layout.h"
#include "publish/publisher.h"
#include "support/failing_publish_files.h"
#include "support/main_window_fixture.h"
#include "support/watchdog.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTextStream>

#include <archive.h>
#include <archive_entry.h>

#include <clocale>
#include <csignal>
#include <map>
#include <sys/stat.h>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

QByteArray movieBytes(char fill, int size)
{
    QByteArray bytes = "RIFF" + QByteArray(size, fill);
    return bytes;
}

int modeOf(const QString &path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

struct ImageFile {
    int mode = 0;
    QByteArray bytes;
};

// An image as libarchive's reader sees it: by its Rock Ridge names, or with
// "!rockridge" by its Joliet names, as Windows does.
std::map<QString, ImageFile> readImage(const QString &image, const char *options = nullptr)
{
    std::map<QString, ImageFile> files;
    struct archive *a = archive_read_new();
    archive_read_support_format_iso9660(a);
    if (options)
        archive_read_set_options(a, options);
    EXPECT_EQ(archive_read_open_filename(a, QFile::encodeName(image).constData(), 65536), ARCHIVE_OK);
    archive_entry *entry;
    while (archive_read_next_header(a, &entry) == ARCHIVE_OK) {
        ImageFile file{int(archive_entry_mode(entry)), QByteArray()};
        char buffer[65536];
        for (la_ssize_t n; (n = archive_read_data(a, buffer, sizeof buffer)) > 0;)
            file.bytes.append(buffer, qsizetype(n));
        QString name = QString::fromUtf8(archive_entry_pathname_utf8(entry));
        if (name.endsWith(QLatin1Char('/')))
            name.chop(1);
        if (name != QLatin1String("."))
            files[name] = file;
    }
    archive_read_free(a);
    return files;
}

class PublishTest : public WorkingFolderTest {
protected:
    void SetUp() override
    {
        WorkingFolderTest::SetUp();
        m_umask = ::umask(077);  // a strict umask, which a disc's files must not get
        writeFile(QStringLiteral("videos/Sunrise.avi"), movieBytes('s', 300000));
        writeFile(QStringLiteral("project dir/clips/Harbour: noon.avi"), movieBytes('h', 200000));
        writeFile(QStringLiteral("project dir/MOVIES/夜市 night.avi"), movieBytes('n', 100000));
        QFile cover(QStringLiteral(VIDORUN_DEMO_DIR "/COVER.JPG"));
        ASSERT_TRUE(cover.open(QIODevice::ReadOnly));
        writeFile(QStringLiteral("project dir/cover.jpg"), cover.readAll());
        writeFile(QStringLiteral("project dir/SETUP/PLAYER.EXE"), "MZ player");
        QByteArray program("MZ" + QByteArray(0x3A, '\0') + QByteArray("\x40\0\0\0", 4) + QByteArray("PE\0\0", 4));
        writeFile(QStringLiteral("Vidorun.exe"), program + QByteArray(1000, 'p'));
        writeFile(QStringLiteral("project dir/Autorun.inf"),
                  projectFileBytes({
                      "[autorun]", "OPEN=Vidorun.exe", "ICON=Vidorun.exe,0", "", "[vidorun]", "close=1",
                      "the_title=Holiday 2026", "cover=cover.jpg", "player=SETUP\\PLAYER.EXE", "codec=",
                      "movie01=" + path(QStringLiteral("videos/Sunrise.avi")), "\"title01=Sunrise, over the bay\"",
                      "mdisk01=Holiday1", "movie02=C:\\CLIPS\\Harbour: noon.avi", "title02=The harbour at noon",
                      "mdisk02=Holiday2", "movie03=MOVIES\\夜市 night.avi", "title03=Night market 夜市",
                      "mdisk03=Holiday1",
                  }));
        request.project = path(QStringLiteral("project dir"));
        request.outFolder = path(QStringLiteral("discs out"));
        request.image = true;
        request.windowsProgramCandidates = {path(QStringLiteral("Vidorun.exe"))};
    }
    void TearDown() override
    {
        ::umask(m_umask);
        WorkingFolderTest::TearDown();
    }

    int publish(PublishFiles &files)
    {
        PublishEnvironment environment{files, discCheckOptions(), [this] { return interrupted; }, false, 0,
                                       QStringLiteral("4.0")};
        output.clear();
        errors.clear();
        QTextStream out(&output), err(&errors);
        return publishProject(request, environment, out, err);
    }
    int publish() { return publish(*real); }

    // Everything in OUTDIR, hidden names included, "/" after folders.
    QStringList outputs() const
    {
        QStringList found;
        QDirIterator it(request.outFolder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString entry = it.next();
            found << QDir(request.outFolder).relativeFilePath(entry) + (it.fileInfo().isDir() ? "/" : "");
        }
        found.sort();
        return found;
    }
    QStringList discFiles(const QString &label) const
    {
        QStringList files;
        for (const QString &entry : outputs()) {
            if (entry.startsWith(label + QLatin1Char('/')) && !entry.endsWith(QLatin1Char('/')))
                files << entry.mid(label.size() + 1);
        }
        return files;
    }

    std::unique_ptr<PublishFiles> real = makeNativePublishFiles();
    PublishRequest request;
    bool interrupted = false;
    QString output, errors;
    mode_t m_umask = 022;
};

const QByteArray ExpectedProjectFile = projectFileBytes({
    "[autorun]", "OPEN=Vidorun.exe", "ICON=Vidorun.exe,0", "", "[vidorun]", "close=1", "the_title=Holiday 2026",
    "cover=cover.jpg", "player=PLAYER.EXE", "codec=", "movie01=MOVIES\\Sunrise.avi",
    "\"title01=Sunrise, over the bay\"", "mdisk01=HOLIDAY1", "movie02=MOVIES\\Harbour_ noon.avi",
    "title02=The harbour at noon", "mdisk02=HOLIDAY2", "movie03=MOVIES\\夜市 night.avi",
    "title03=Night market 夜市", "mdisk03=HOLIDAY1",
});

TEST_F(PublishTest, EachLabelBecomesACheckedDiscAndImage)
{
    ASSERT_EQ(publish(), 0) << errors.toStdString() << output.toStdString();
    EXPECT_EQ(outputs(), QStringList({"HOLIDAY1.iso", "HOLIDAY1/", "HOLIDAY1/Autorun.inf", "HOLIDAY1/HOLIDAY1.INI",
                                      "HOLIDAY1/MOVIES/", "HOLIDAY1/MOVIES/Sunrise.avi", "HOLIDAY1/MOVIES/夜市 night.avi",
                                      "HOLIDAY1/NOTICES.TXT", "HOLIDAY1/PLAYER.EXE", "HOLIDAY1/Vidorun.exe",
                                      "HOLIDAY1/autorun.sh", "HOLIDAY1/cover.jpg", "HOLIDAY2.iso", "HOLIDAY2/",
                                      "HOLIDAY2/Autorun.inf", "HOLIDAY2/HOLIDAY2.INI", "HOLIDAY2/MOVIES/",
                                      "HOLIDAY2/MOVIES/Harbour_ noon.avi", "HOLIDAY2/NOTICES.TXT",
                                      "HOLIDAY2/PLAYER.EXE", "HOLIDAY2/Vidorun.exe", "HOLIDAY2/autorun.sh",
                                      "HOLIDAY2/cover.jpg"}));
    const QString discs = request.outFolder + QLatin1Char('/');
    for (const char *label : {"HOLIDAY1", "HOLIDAY2"}) {
        SCOPED_TRACE(label);
        EXPECT_EQ(readFile(discs + label + "/Autorun.inf"), ExpectedProjectFile);
        EXPECT_EQ(readFile(discs + label + "/" + label + ".INI"), QByteArray());
        EXPECT_EQ(readFile(discs + label + "/PLAYER.EXE"), "MZ player");
        EXPECT_EQ(modeOf(discs + label + "/autorun.sh"), 0755);
        EXPECT_EQ(modeOf(discs + label + "/Autorun.inf"), 0644);
        EXPECT_EQ(modeOf(discs + label + "/MOVIES"), 0755);
    }
    EXPECT_EQ(readFile(discs + "HOLIDAY1/MOVIES/Sunrise.avi"), movieBytes('s', 300000));
    EXPECT_EQ(readFile(discs + "HOLIDAY2/MOVIES/Harbour_ noon.avi"), movieBytes('h', 200000));
    EXPECT_EQ(output.count(QStringLiteral("is written as")), 1) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("HOLIDAY2  MOVIES\\Harbour: noon.avi is written as MOVIES\\Harbour_ "
                                               "noon.avi: Windows and a disc's Joliet names can't hold ':'")))
        << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("HOLIDAY1.iso (")) && output.contains("the disc check finds no problem"))
        << output.toStdString();
}

// Under the C locale too, as a machine without a UTF-8 locale runs it.
TEST_F(PublishTest, TheImageHoldsTheDiscUnderJolietAndRockRidgeNames)
{
    const std::string locale = std::setlocale(LC_CTYPE, nullptr);
    std::setlocale(LC_CTYPE, "C");
    const int status = publish();
    std::setlocale(LC_CTYPE, locale.c_str());
    ASSERT_EQ(status, 0) << errors.toStdString();

    const std::map<QString, QStringList> discs = {
        {"HOLIDAY1", {"MOVIES/Sunrise.avi", "MOVIES/夜市 night.avi"}},
        {"HOLIDAY2", {"MOVIES/Harbour_ noon.avi"}},
    };
    for (const auto &[label, movies] : discs) {
        SCOPED_TRACE(label.toStdString());
        const QString disc = request.outFolder + QLatin1Char('/') + label;
        const std::map<QString, ImageFile> rockRidge = readImage(disc + QStringLiteral(".iso"));
        const std::map<QString, ImageFile> joliet = readImage(disc + QStringLiteral(".iso"), "iso9660:!rockridge");
        QStringList names;
        for (const auto &[name, file] : rockRidge)
            names << name;
        QStringList expected = QStringList({"Autorun.inf", label + ".INI", "MOVIES", "NOTICES.TXT", "PLAYER.EXE",
                                            "Vidorun.exe", "autorun.sh", "cover.jpg"})
                               + movies;
        expected.sort();
        EXPECT_EQ(names, expected);
        for (const QString &name : names) {
            SCOPED_TRACE(name.toStdString());
            ASSERT_EQ(joliet.count(name), 1u);
            if (name == QLatin1String("MOVIES"))
                continue;
            EXPECT_EQ(rockRidge.at(name).bytes, readFile(disc + QLatin1Char('/') + name));
            EXPECT_EQ(joliet.at(name).bytes, rockRidge.at(name).bytes);
            EXPECT_EQ(rockRidge.at(name).mode & 0777, name == QLatin1String("autorun.sh") ? 0555 : 0444);
        }
        QFile iso(disc + QStringLiteral(".iso"));
        ASSERT_TRUE(iso.open(QIODevice::ReadOnly));
        iso.seek(16 * 2048 + 40);  // the primary volume descriptor's volume identifier
        EXPECT_EQ(iso.read(32).trimmed(), label.toLatin1());
        EXPECT_EQ(iso.size(), checkDisc(disc).imageBytes);
    }
}

// Whatever stops a disc, nothing of it stays in OUTDIR, and the discs made
// before it stay whole.
TEST_F(PublishTest, AFailureLeavesNoPartialDisc)
{
    const auto topLevel = [this] {
        QStringList entries = QDir(request.outFolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        entries.sort();
        return entries;
    };
    const auto emptyOutFolder = [this] { ASSERT_TRUE(QDir(request.outFolder).removeRecursively()); };

    // A movie that is not there: nothing is written, not even OUTDIR.
    const QString harbour = QStringLiteral("project dir/clips/Harbour: noon.avi");
    QFile::remove(path(harbour));
    EXPECT_EQ(publish(), 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("movie 2 \"The harbour at noon\": C:\\CLIPS\\HARBOUR: NOON.AVI (")))
        << errors.toStdString();
    EXPECT_FALSE(QFileInfo::exists(request.outFolder));
    writeFile(harbour, movieBytes('h', 200000));

    // OUTDIR takes no new folder.
    {
        FailingPublishFiles files(*real);
        files.failFolderOf = QStringLiteral(".vidorun-disc-");
        files.failReason = QStringLiteral("Permission denied");
        EXPECT_EQ(publish(files), 2);
        EXPECT_TRUE(errors.contains(QStringLiteral("Permission denied"))) << errors.toStdString();
        EXPECT_EQ(topLevel(), QStringList());
    }

    // A read error in the second disc's movie.
    {
        FailingPublishFiles files(*real);
        files.failReadOf = QStringLiteral("Harbour: noon.avi");
        files.readBeforeFailing = 70000;
        EXPECT_EQ(publish(files), 2);
        EXPECT_TRUE(errors.contains(QStringLiteral("HOLIDAY2 could not be made: "))
                    && errors.contains(QStringLiteral("Input/output error")))
            << errors.toStdString();
        EXPECT_EQ(topLevel(), QStringList({"HOLIDAY1", "HOLIDAY1.iso"}));
        EXPECT_EQ(discFiles(QStringLiteral("HOLIDAY1")).size(), 9);
        emptyOutFolder();
    }

    // Ctrl+C while the first disc's files are copied, and while its image is
    // written.
    for (const qint64 readBeforeCtrlC : {150000, 600000}) {
        SCOPED_TRACE(readBeforeCtrlC);
        FailingPublishFiles files(*real);
        qint64 read = 0;
        interrupted = false;
        files.afterEachRead = [&](qint64 n) { interrupted = interrupted || (read += n) >= readBeforeCtrlC; };
        EXPECT_EQ(publish(files), 2);
        EXPECT_TRUE(errors.contains(QStringLiteral("HOLIDAY1: interrupted; nothing of it is left"))) << errors.toStdString();
        EXPECT_EQ(topLevel(), QStringList());
    }
}

TEST_F(PublishTest, AnExistingDiscIsReplacedOnlyWhenAsked)
{
    writeFile(QStringLiteral("discs out/HOLIDAY2/mine.txt"), "the author's");
    EXPECT_EQ(publish(), 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("HOLIDAY2 is already there"))) << errors.toStdString();
    EXPECT_TRUE(errors.contains(QStringLiteral("nothing was written")));
    EXPECT_EQ(outputs(), QStringList({"HOLIDAY2/", "HOLIDAY2/mine.txt"}));

    request.replace = true;
    EXPECT_EQ(publish(), 0) << errors.toStdString();
    EXPECT_FALSE(discFiles(QStringLiteral("HOLIDAY2")).contains(QStringLiteral("mine.txt")));
    EXPECT_EQ(discFiles(QStringLiteral("HOLIDAY2")).size(), 8);

    // Never a folder holding the project's own files, even so.
    const QString projectThere = request.outFolder + QStringLiteral("/HOLIDAY1");
    ASSERT_TRUE(QDir(projectThere).removeRecursively());
    ASSERT_TRUE(QDir().rename(request.project, projectThere));
    request.project = projectThere;
    EXPECT_EQ(publish(), 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("HOLIDAY1 holds ")) && errors.contains(QStringLiteral("Autorun.inf, "
                                                                                                    "which the project publishes from")))
        << errors.toStdString();
    EXPECT_TRUE(QFileInfo::exists(projectThere + QStringLiteral("/MOVIES/夜市 night.avi")));
}

// Folders, pipes and devices in a file's place are refused and never read
// from; a pipe nobody writes to would hold a reader for ever.
TEST_F(PublishTest, OnlyRegularFilesArePublished)
{
    const QString night = path(QStringLiteral("project dir/MOVIES/夜市 night.avi"));
    QFile::remove(night);
    ASSERT_EQ(::mkfifo(QFile::encodeName(night).constData(), 0644), 0);
    const int status = answeredAtOnce([this] { return publish(); }, night.toStdString());
    EXPECT_EQ(status, 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("movie 3 \"Night market 夜市\": MOVIES\\夜市 NIGHT.AVI (")) &&
                errors.contains(QStringLiteral("a pipe, socket or device, not a file")))
        << errors.toStdString();

    QFile::remove(night);
    QDir().mkpath(night);
    EXPECT_EQ(publish(), 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("a folder, not a file"))) << errors.toStdString();
    EXPECT_FALSE(QFileInfo::exists(request.outFolder));
}

TEST_F(PublishTest, WithoutVidorunExeOnlyDiscsForLinuxAreMade)
{
    request.windowsProgramCandidates = {path(QStringLiteral("nowhere/Vidorun.exe")), path(QStringLiteral("project dir/cover.jpg"))};
    EXPECT_EQ(publish(), 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("no Vidorun.exe to put on the discs"))
                && errors.contains(QStringLiteral("cover.jpg is no Windows program"))
                && errors.contains(QStringLiteral("make windows")) && errors.contains(QStringLiteral("--linux-only")))
        << errors.toStdString();
    EXPECT_FALSE(QFileInfo::exists(request.outFolder));

    // A disc for Linux viewers; the check still holds that a disc with a
    // Windows installer on it is for Windows viewers too.
    request.windowsProgram = false;
    request.image = false;
    EXPECT_EQ(publish(), 1) << errors.toStdString() << output.toStdString();
    EXPECT_FALSE(discFiles(QStringLiteral("HOLIDAY1")).contains(QStringLiteral("Vidorun.exe")));
    EXPECT_TRUE(output.contains(QStringLiteral("without Vidorun.exe (for viewers on Linux)")));
    EXPECT_TRUE(output.contains(QStringLiteral("the disc check finds 2 problems:\nerror   [autorun] open=Vidorun.exe: "
                                               "Vidorun.exe is not on this disc, which is for Windows (it holds PLAYER.EXE)")))
        << output.toStdString();
}

// In an Autorun.inf in the code page a letter beyond ASCII is another letter
// on a Windows set to another code page: there the names keep to ASCII.
// A project whose file is UTF-8 anyway keeps its names.
TEST(DiscLayout, NamesKeepToAsciiWhereTheProjectFileIsInTheCodePage)
{
    ProjectSources sources;
    Project &project = sources.project;
    project.TitleCount = project.PathCount = project.CDCount = QStringLiteral("1");
    project.MovieTitles[1] = QStringLiteral("Café");
    project.MovieCDs[1] = QStringLiteral("CD1");
    sources.movies = {{1, project.MovieTitles[1], project.MovieCDs[1],
                       {QStringLiteral("MOVIES\\CAFÉ.AVI"), QStringLiteral("/x/Café.avi"), QStringLiteral("Café.avi"), 10}}};

    PublishPlan plan = layOutDiscs(sources, ProgramFiles());
    EXPECT_EQ(plan.discProject.MoviePaths[1], QStringLiteral("MOVIES\\Cafe.avi"));
    ASSERT_EQ(plan.renamed.size(), 1u);
    EXPECT_TRUE(plan.renamed.front().reason.contains(QStringLiteral("code page"))) << plan.renamed.front().reason.toStdString();

    project.ProjectTitle = QStringLiteral("夜市");
    plan = layOutDiscs(sources, ProgramFiles());
    EXPECT_EQ(plan.discProject.MoviePaths[1], QStringLiteral("MOVIES\\Café.avi"));
    EXPECT_TRUE(plan.renamed.empty());
}

// The first Ctrl+C is noted for the work to stop and clean up, and a reader
// of the output that goes away ends nothing; the program goes on.
TEST(InterruptionWatch, NotesCtrlCInsteadOfEnding)
{
    struct sigaction action;
    {
        const InterruptionWatch watch;
        EXPECT_FALSE(InterruptionWatch::interrupted());
        std::raise(SIGINT);
        std::raise(SIGPIPE);
        EXPECT_TRUE(InterruptionWatch::interrupted());
    }
    for (const int signal : {SIGINT, SIGPIPE}) {
        ::sigaction(signal, nullptr, &action);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << signal;
    }
}

// The whole command, as an author runs it on the demo project.
TEST(PublishCommand, PublishesTheDemoProjectReadyToBurn)
{
    QTemporaryDir out;
    QProcess vidorun;
    vidorun.start(QStringLiteral(VIDORUN_PROGRAM),
                  {QStringLiteral("--publish"), QStringLiteral(VIDORUN_DEMO_DIR), out.filePath(QStringLiteral("my discs")),
                   QStringLiteral("--iso"), QStringLiteral("--linux-only")});
    ASSERT_TRUE(vidorun.waitForFinished(60000));
    const QString said = QString::fromUtf8(vidorun.readAllStandardOutput() + vidorun.readAllStandardError());
    EXPECT_EQ(vidorun.exitCode(), 0) << said.toStdString();
    EXPECT_TRUE(said.startsWith(QStringLiteral("Vidorun 4.0 publishes \"Holiday 2026\": 3 movies on 1 disc, "
                                               "without Vidorun.exe")))
        << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("HOLIDAY1  ") + out.filePath(QStringLiteral("my discs/HOLIDAY1/ and "))))
        << said.toStdString();
    EXPECT_TRUE(QFileInfo(out.filePath(QStringLiteral("my discs/HOLIDAY1.iso"))).size() > 0);

    vidorun.start(QStringLiteral(VIDORUN_PROGRAM), {QStringLiteral("--iso"), out.path()});
    ASSERT_TRUE(vidorun.waitForFinished(60000));
    EXPECT_EQ(vidorun.exitCode(), 2);
    EXPECT_TRUE(vidorun.readAllStandardError().contains("go with --publish"));
}

}  // namespace
