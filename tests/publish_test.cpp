// vidorun --publish on a two-label project whose files are named in every
// form a project holds (a path of this computer, a drive letter, a path
// relative to the project), the discs and images it makes, and what it
// leaves when something stops it: nothing half made.
#include "app/command_line.h"
#include "platform/console_session.h"
#include "platform/publish_files.h"
#include "projectfile/project_writer.h"
#include "publish/disc_layout.h"
#include "publish/disc_set.h"
#include "publish/publisher.h"
#include "support/failing_publish_files.h"
#include "support/main_window_fixture.h"
#include "support/watchdog.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTextStream>

#include <archive.h>
#include <archive_entry.h>

#include <clocale>
#include <csignal>
#include <map>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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
    EXPECT_EQ(outputs(), QStringList({".vidorun-published", "HOLIDAY1.iso", "HOLIDAY1/", "HOLIDAY1/Autorun.inf", "HOLIDAY1/HOLIDAY1.INI",
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
    // Every source is named; one from outside the project's folder is a
    // warning, which --quiet does not silence.
    EXPECT_TRUE(output.contains(QStringLiteral("HOLIDAY2  MOVIES\\Harbour_ noon.avi from ") + path("project dir/clips/Harbour: noon.avi")))
        << output.toStdString();
    request.quiet = true;
    request.outFolder = path(QStringLiteral("quiet discs"));
    ASSERT_EQ(publish(), 0) << errors.toStdString();
    EXPECT_EQ(output, QString());
    EXPECT_EQ(errors, QStringLiteral("vidorun: warning: movie 1 \"Sunrise, over the bay\": ") + path("videos/Sunrise.avi")
                          + " is outside the project's folder " + path("project dir")
                          + ", and goes on the discs all the same: see that it is what you mean to hand out\n");
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

    // A read error in the second disc's movie: the set is made whole or
    // not at all, and the message names the file that could not be read.
    {
        FailingPublishFiles files(*real);
        files.failReadOf = QStringLiteral("Harbour: noon.avi");
        files.readBeforeFailing = 70000;
        EXPECT_EQ(publish(files), 2);
        EXPECT_TRUE(errors.contains(QStringLiteral("HOLIDAY2 could not be made: reading ")
                                    + path("project dir/clips/Harbour: noon.avi: Input/output error")))
            << errors.toStdString();
        EXPECT_EQ(topLevel(), QStringList());
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
        EXPECT_TRUE(errors.contains(QStringLiteral("interrupted while HOLIDAY1 was made\nvidorun: no disc was made, "
                                                   "and nothing of the new ones is left")))
            << errors.toStdString();
        EXPECT_EQ(topLevel(), QStringList());
    }
}

// --force replaces what publishing made there, as it made it, and nothing
// else: not an author's folder that has a label's name, not a disc someone
// put a file into, not a folder holding the project's own files, however
// the path to it is spelled.
TEST_F(PublishTest, OnlyPublishingsOwnDiscsAreReplaced)
{
    writeFile(QStringLiteral("discs out/HOLIDAY2/photos/wedding.jpg"), "the author's");
    EXPECT_EQ(publish(), 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("HOLIDAY2 is already there"))) << errors.toStdString();
    request.replace = true;
    EXPECT_EQ(publish(), 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("HOLIDAY2 was not made by vidorun --publish: it is not replaced, even "
                                               "with --force")))
        << errors.toStdString();
    EXPECT_EQ(outputs(), QStringList({"HOLIDAY2/", "HOLIDAY2/photos/", "HOLIDAY2/photos/wedding.jpg"}));

    QDir(path(QStringLiteral("discs out/HOLIDAY2"))).removeRecursively();
    ASSERT_EQ(publish(), 0) << errors.toStdString();
    ASSERT_EQ(publish(), 0) << errors.toStdString();  // its own discs, replaced
    writeFile(QStringLiteral("discs out/HOLIDAY2/mine.txt"), "the author's");
    EXPECT_EQ(publish(), 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("HOLIDAY2 holds mine.txt, which vidorun --publish did not put there")))
        << errors.toStdString();
    EXPECT_EQ(readFile(path(QStringLiteral("discs out/HOLIDAY2/mine.txt"))), "the author's");

    // The project's own folder, in HOLIDAY1's place and reached through a
    // link to the output folder.
    const QString projectThere = request.outFolder + QStringLiteral("/HOLIDAY1");
    ASSERT_TRUE(QDir(projectThere).removeRecursively());
    ASSERT_TRUE(QDir().rename(request.project, projectThere));
    ASSERT_TRUE(QFile::link(request.outFolder, path(QStringLiteral("another way"))));
    request.project = path(QStringLiteral("another way/HOLIDAY1"));
    request.outFolder = path(QStringLiteral("discs out"));
    EXPECT_EQ(publish(), 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("HOLIDAY1 holds the project's Autorun.inf")))
        << errors.toStdString();
    EXPECT_TRUE(QFileInfo::exists(projectThere + QStringLiteral("/MOVIES/夜市 night.avi")));
}

// A set whose second disc can't be made leaves both old discs as they were,
// and the message blames the disc that is full, not the movie.
TEST_F(PublishTest, ASetIsReplacedWholeOrNotAtAll)
{
    request.image = false;
    ASSERT_EQ(publish(), 0) << errors.toStdString();
    const auto identityOf = [this](const char *name) { return real->entryIdentity(path(name)); };
    const std::optional<FileIdentity> first = identityOf("discs out/HOLIDAY1"), second = identityOf("discs out/HOLIDAY2");
    const QStringList before = outputs();

    request.replace = true;
    setFileFaultHook([](FileCall call, const QString &file) {
        return call == FileCall::Write && file.endsWith(QStringLiteral("MOVIES/Harbour_ noon.avi")) ? ENOSPC : 0;
    });
    const int status = publish();
    setFileFaultHook(nullptr);
    EXPECT_EQ(status, 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("HOLIDAY2 could not be made: writing ")
                                + path("discs out/HOLIDAY2/MOVIES/Harbour_ noon.avi: No space left on device")))
        << errors.toStdString();
    EXPECT_TRUE(errors.contains(QStringLiteral("HOLIDAY1, HOLIDAY2 there are as they were"))) << errors.toStdString();
    EXPECT_EQ(outputs(), before);
    EXPECT_EQ(identityOf("discs out/HOLIDAY1"), first);
    EXPECT_EQ(identityOf("discs out/HOLIDAY2"), second);
}

// A run killed at any step, however far it got, leaves a folder the next
// run makes whole: every disc old or every disc new, nothing hidden left,
// and the discs still known as publishing's.
TEST_F(PublishTest, ARunStoppedAtAnyStepIsFinishedOrUndoneByTheNext)
{
    const QByteArray oldProject = readFile(path(QStringLiteral("project dir/Autorun.inf")));
    const QByteArray newProject = QByteArray(oldProject).replace("Holiday 2026", "Holiday 2027");
    // The old set, made afresh, and the project changed for the new one.
    const auto oldSet = [&] {
        QDir(request.outFolder).removeRecursively();
        writeFile(QStringLiteral("project dir/Autorun.inf"), oldProject);
        request.replace = false;
        ASSERT_EQ(publish(), 0) << errors.toStdString();
        writeFile(QStringLiteral("project dir/Autorun.inf"), newProject);
        request.replace = true;
    };
    const auto changesOutput = [](FileCall call) {
        return call == FileCall::Rename || call == FileCall::Exchange || call == FileCall::Remove;
    };

    // Where the file system swaps two names in one step, and where it
    // can't (the old disc moves aside first).
    for (const bool exchanges : {true, false}) {
        const auto noExchange = [exchanges](FileCall call) {
            return call == FileCall::Exchange && !exchanges ? EINVAL : 0;
        };
        // The steps that change what is in OUTDIR, counted in a whole run.
        int steps = 0;
        oldSet();
        setFileFaultHook([&](FileCall call, const QString &) { return (steps += changesOutput(call)), noExchange(call); });
        ASSERT_EQ(publish(), 0) << errors.toStdString();
        setFileFaultHook(nullptr);
        ASSERT_GT(steps, 6);

        for (int step = 1; step <= steps; ++step) {
            SCOPED_TRACE(QStringLiteral("step %1 of %2, %3")
                             .arg(step)
                             .arg(steps)
                             .arg(exchanges ? "swapping" : "moving aside")
                             .toStdString());
            oldSet();
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                int seen = 0;
                setFileFaultHook([&](FileCall call, const QString &) {
                    if (changesOutput(call) && ++seen == step)
                        ::_exit(9);
                    return noExchange(call);
                });
                ::_exit(publish());
            }
            int waited = 0;
            ASSERT_EQ(::waitpid(child, &waited, 0), child);

            bool recovered = false;
            recoverOutputFolder(*real, request.outFolder, recovered);
            EXPECT_TRUE(recovered);
            const QStringList found = outputs();
            EXPECT_EQ(found.filter(QRegularExpression(QStringLiteral("^\\."))), QStringList({".vidorun-published"}));
            EXPECT_EQ(found.size(), 24) << found.join(QLatin1Char(' ')).toStdString();
            const QByteArray one = readFile(path(QStringLiteral("discs out/HOLIDAY1/Autorun.inf")));
            EXPECT_EQ(readFile(path(QStringLiteral("discs out/HOLIDAY2/Autorun.inf"))), one);
            EXPECT_TRUE(one.contains("Holiday 2026") || one.contains("Holiday 2027"));
            EXPECT_EQ(publish(), 0) << errors.toStdString();
        }
    }
}

// The project as the disc check reads it, before anything is written: a
// misread line stops publishing with the check's words, two files that
// the upper-cased path takes alike are named, and a line break in a title
// reaches no disc's Autorun.inf.
TEST_F(PublishTest, TheProjectIsReadAsTheDiscCheckReadsIt)
{
    const QByteArray project = readFile(path(QStringLiteral("project dir/Autorun.inf")));
    writeFile(QStringLiteral("project dir/Autorun.inf"), QByteArray(project).replace("title02=", "title2="));
    EXPECT_EQ(publish(), 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("has a one-digit number"))) << errors.toStdString();
    EXPECT_FALSE(QFileInfo::exists(request.outFolder));

    writeFile(QStringLiteral("project dir/Autorun.inf"), project);
    writeFile(QStringLiteral("project dir/MOVIES/夜市 NIGHT.avi"), movieBytes('N', 10));
    EXPECT_EQ(publish(), 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("finds 夜市 night.avi and 夜市 NIGHT.avi in ")) ||
                errors.contains(QStringLiteral("finds 夜市 NIGHT.avi and 夜市 night.avi in ")))
        << errors.toStdString();
    QFile::remove(path(QStringLiteral("project dir/MOVIES/夜市 NIGHT.avi")));

    writeFile(QStringLiteral("project dir/Autorun.inf"),
              QByteArray(project).replace("title02=The harbour at noon",
                                          "\"title02=The harbour\r\n[autorun]\r\nshell\\open\\command=x.exe\""));
    request.image = false;
    EXPECT_EQ(publish(), 2);
    EXPECT_TRUE(errors.contains(QStringLiteral("runs on past the end of the line"))) << errors.toStdString();
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

    PublishPlan plan = layOutDiscs(sources, ProgramFiles(), false);
    EXPECT_EQ(plan.discProject.MoviePaths[1], QStringLiteral("MOVIES\\Cafe.avi"));
    ASSERT_EQ(plan.renamed.size(), 1u);
    EXPECT_TRUE(plan.renamed.front().reason.contains(QStringLiteral("code page"))) << plan.renamed.front().reason.toStdString();

    project.ProjectTitle = QStringLiteral("夜市");
    plan = layOutDiscs(sources, ProgramFiles(), false);
    EXPECT_EQ(plan.discProject.MoviePaths[1], QStringLiteral("MOVIES\\Café.avi"));
    EXPECT_TRUE(plan.renamed.empty());
}

// A disc's folder is never hidden or nameless, and every renaming is said;
// "A" and "A.iso" clash only where the images go beside the folders.
TEST(DiscLayout, DiscFoldersAreVisibleAndEveryRenamingIsSaid)
{
    ProjectSources sources;
    const QStringList labels = {".hidden", "..", "?", "A", "A.iso"};
    for (int n = 1; n <= labels.size(); ++n) {
        const QString file = QStringLiteral("M%1.AVI").arg(n);
        sources.movies.push_back({n, file, labels.at(n - 1), {file, "/x/" + file, file, 10, false}});
    }
    sources.project.TitleCount = QString::number(labels.size());

    PublishPlan plan = layOutDiscs(sources, ProgramFiles(), false);
    EXPECT_TRUE(plan.errors.isEmpty()) << plan.errors.join('\n').toStdString();
    QStringList folders, said;
    for (const DiscLayout &disc : plan.discs)
        folders << disc.folderName;
    for (const Renaming &renamed : plan.renamed)
        said << renamed.from + " -> " + renamed.to + ": " + renamed.reason;
    EXPECT_EQ(folders, QStringList({"_hidden", "_", "__2", "A", "A.iso"}));
    EXPECT_EQ(said, QStringList({".hidden -> _hidden: a folder whose name starts with a dot is hidden",
                                 ".. -> _: a file needs a name",
                                 "? -> __2: another file of the folder has that name, to Windows"}));

    plan = layOutDiscs(sources, ProgramFiles(), true);
    ASSERT_EQ(plan.errors.size(), 1);
    EXPECT_TRUE(plan.errors.front().startsWith("the disc A.iso would be made as A.iso, a name another disc takes"))
        << plan.errors.front().toStdString();
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
