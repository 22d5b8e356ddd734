// vidorun --publish on a two-label project whose files are named in every
// form a project holds (a path of this computer, a drive letter, a path
// relative to the project), the discs and images it makes, and what it
// leaves when something stops it: nothing half made.
#include "app/command_line.h"
#include "base/text.h"
#include "platform/console_session.h"
#include "platform/file_places.h"
#include "platform/publish_files.h"
#include "projectfile/project_writer.h"
#include "publish/disc_layout.h"
#include "publish/disc_set.h"
#include "publish/progress_output.h"
#include "publish/publisher.h"
#include "support/failing_publish_files.h"
#include "support/run_program.h"
#include "support/temporary_folder.h"
#include "support/watchdog.h"

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <clocale>
#include <csignal>
#include <map>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

using Names = std::vector<std::string>;

std::string movieBytes(char fill, int size)
{
    return "RIFF" + std::string(std::size_t(size), fill);
}

int modeOf(const std::string &path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

struct ImageFile {
    int mode = 0;
    std::string bytes;
};

// An image as libarchive's reader sees it: by its Rock Ridge names, or with
// "!rockridge" by its Joliet names, as Windows does.
std::map<std::string, ImageFile> readImage(const std::string &image, const char *options = nullptr)
{
    // Names come out as UTF-8 whatever the locale.
    const std::string locale = std::setlocale(LC_CTYPE, nullptr);
    std::setlocale(LC_CTYPE, "C.UTF-8");
    std::map<std::string, ImageFile> files;
    struct archive *a = archive_read_new();
    archive_read_support_format_iso9660(a);
    if (options)
        archive_read_set_options(a, options);
    EXPECT_EQ(archive_read_open_filename(a, image.c_str(), 65536), ARCHIVE_OK);
    archive_entry *entry;
    while (archive_read_next_header(a, &entry) == ARCHIVE_OK) {
        ImageFile file{int(archive_entry_mode(entry)), std::string()};
        char buffer[65536];
        for (la_ssize_t n; (n = archive_read_data(a, buffer, sizeof buffer)) > 0;)
            file.bytes.append(buffer, std::size_t(n));
        std::string name = archive_entry_pathname_utf8(entry);
        if (endsWith(name, "/"))
            name.pop_back();
        if (name != ".")
            files[name] = file;
    }
    archive_read_free(a);
    std::setlocale(LC_CTYPE, locale.c_str());
    return files;
}

// Everything under `folder`, hidden names included, "/" after folders, in
// byte order.
Names treeOf(const std::string &folder, const std::string &prefix = std::string())
{
    Names found;
    for (const std::string &name : folderEntries(folder)) {
        const std::string path = folder + '/' + name;
        const bool isFolder = kindAt(path) == FileKind::Folder;
        found.push_back(prefix + name + (isFolder ? "/" : ""));
        if (isFolder) {
            const Names inner = treeOf(path, prefix + name + '/');
            found.insert(found.end(), inner.begin(), inner.end());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::size_t occurrences(const std::string &text, const std::string &part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

bool holds(const Names &names, const std::string &name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

class PublishTest : public FolderTest {
protected:
    void SetUp() override
    {
        FolderTest::SetUp();
        m_umask = ::umask(077);  // a strict umask, which a disc's files must not get
        writeFile("videos/Sunrise.avi", movieBytes('s', 300000));
        writeFile("project dir/clips/Harbour: noon.avi", movieBytes('h', 200000));
        writeFile("project dir/MOVIES/夜市 night.avi", movieBytes('n', 100000));
        const std::string cover = readFileAt(VIDORUN_DEMO_DIR "/COVER.JPG");
        ASSERT_FALSE(cover.empty());
        writeFile("project dir/cover.jpg", cover);
        writeFile("project dir/SETUP/PLAYER.EXE", "MZ player");
        const std::string program = "MZ" + std::string(0x3A, '\0') + std::string("\x40\0\0\0", 4) + std::string("PE\0\0", 4);
        writeFile("Vidorun.exe", program + std::string(1000, 'p'));
        writeFile("project dir/Autorun.inf",
                  projectText({
                      "[autorun]", "OPEN=Vidorun.exe", "ICON=Vidorun.exe,0", "", "[vidorun]", "close=1",
                      "the_title=Holiday 2026", "cover=cover.jpg", "player=SETUP\\PLAYER.EXE", "codec=",
                      "movie01=" + path("videos/Sunrise.avi"), "\"title01=Sunrise, over the bay\"",
                      "mdisk01=Holiday1", "movie02=C:\\CLIPS\\Harbour: noon.avi", "title02=The harbour at noon",
                      "mdisk02=Holiday2", "movie03=MOVIES\\夜市 night.avi", "title03=Night market 夜市",
                      "mdisk03=Holiday1",
                  }));
        request.project = path("project dir");
        request.outFolder = path("discs out");
        request.image = true;
        request.windowsProgramCandidates = {path("Vidorun.exe")};
    }
    void TearDown() override
    {
        ::umask(m_umask);
        FolderTest::TearDown();
    }

    int publish(PublishFiles &files)
    {
        PublishEnvironment environment{files, discCheckOptions(), [this] { return interrupted; }, false, 0, "4.0"};
        output.clear();
        errors.clear();
        return publishProject(request, environment, [this](std::string_view text) { output += text; },
                              [this](std::string_view text) { errors += text; });
    }
    int publish() { return publish(*real); }

    // Everything in OUTDIR, hidden names included, "/" after folders.
    Names outputs() const { return treeOf(request.outFolder); }
    Names discFiles(const std::string &label) const
    {
        Names files;
        for (const std::string &entry : outputs()) {
            if (startsWith(entry, label + '/') && !endsWith(entry, "/"))
                files.push_back(entry.substr(label.size() + 1));
        }
        return files;
    }

    std::unique_ptr<PublishFiles> real = makeNativePublishFiles();
    PublishRequest request;
    bool interrupted = false;
    std::string output, errors;
    mode_t m_umask = 022;
};

const std::string ExpectedProjectFile = projectText({
    "[autorun]", "OPEN=Vidorun.exe", "ICON=Vidorun.exe,0", "", "[vidorun]", "close=1", "the_title=Holiday 2026",
    "cover=cover.jpg", "player=PLAYER.EXE", "codec=", "movie01=MOVIES\\Sunrise.avi",
    "\"title01=Sunrise, over the bay\"", "mdisk01=HOLIDAY1", "movie02=MOVIES\\Harbour_ noon.avi",
    "title02=The harbour at noon", "mdisk02=HOLIDAY2", "movie03=MOVIES\\夜市 night.avi",
    "title03=Night market 夜市", "mdisk03=HOLIDAY1",
});

TEST_F(PublishTest, EachLabelBecomesACheckedDiscAndImage)
{
    ASSERT_EQ(publish(), 0) << errors << output;
    EXPECT_EQ(outputs(), Names({".vidorun-published", "HOLIDAY1.iso", "HOLIDAY1/", "HOLIDAY1/Autorun.inf", "HOLIDAY1/HOLIDAY1.INI",
                                "HOLIDAY1/MOVIES/", "HOLIDAY1/MOVIES/Sunrise.avi", "HOLIDAY1/MOVIES/夜市 night.avi",
                                "HOLIDAY1/NOTICES.TXT", "HOLIDAY1/PLAYER.EXE", "HOLIDAY1/Vidorun.exe",
                                "HOLIDAY1/autorun.sh", "HOLIDAY1/cover.jpg", "HOLIDAY2.iso", "HOLIDAY2/",
                                "HOLIDAY2/Autorun.inf", "HOLIDAY2/HOLIDAY2.INI", "HOLIDAY2/MOVIES/",
                                "HOLIDAY2/MOVIES/Harbour_ noon.avi", "HOLIDAY2/NOTICES.TXT",
                                "HOLIDAY2/PLAYER.EXE", "HOLIDAY2/Vidorun.exe", "HOLIDAY2/autorun.sh",
                                "HOLIDAY2/cover.jpg"}));
    const std::string discs = request.outFolder + '/';
    for (const std::string label : {"HOLIDAY1", "HOLIDAY2"}) {
        SCOPED_TRACE(label);
        EXPECT_EQ(readFile(discs + label + "/Autorun.inf"), ExpectedProjectFile);
        EXPECT_EQ(readFile(discs + label + "/" + label + ".INI"), "");
        EXPECT_EQ(readFile(discs + label + "/PLAYER.EXE"), "MZ player");
        EXPECT_EQ(modeOf(discs + label + "/autorun.sh"), 0755);
        EXPECT_EQ(modeOf(discs + label + "/Autorun.inf"), 0644);
        EXPECT_EQ(modeOf(discs + label + "/MOVIES"), 0755);
    }
    EXPECT_EQ(readFile(discs + "HOLIDAY1/MOVIES/Sunrise.avi"), movieBytes('s', 300000));
    EXPECT_EQ(readFile(discs + "HOLIDAY2/MOVIES/Harbour_ noon.avi"), movieBytes('h', 200000));
    EXPECT_EQ(occurrences(output, "is written as"), 1u) << output;
    EXPECT_TRUE(contains(output, "HOLIDAY2  MOVIES\\Harbour: noon.avi is written as MOVIES\\Harbour_ noon.avi: Windows "
                                 "and a disc's Joliet names can't hold ':'"))
        << output;
    EXPECT_TRUE(contains(output, "HOLIDAY1.iso (") && contains(output, "the disc check finds no problem")) << output;
    // Every source is named; one from outside the project's folder is a
    // warning, which --quiet does not silence.
    EXPECT_TRUE(contains(output, "HOLIDAY2  MOVIES\\Harbour_ noon.avi from " + path("project dir/clips/Harbour: noon.avi")))
        << output;
    request.quiet = true;
    request.outFolder = path("quiet discs");
    ASSERT_EQ(publish(), 0) << errors;
    EXPECT_EQ(output, "");
    EXPECT_EQ(errors, "vidorun: warning: movie 1 \"Sunrise, over the bay\": " + path("videos/Sunrise.avi")
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
    ASSERT_EQ(status, 0) << errors;

    const std::map<std::string, Names> discs = {
        {"HOLIDAY1", {"MOVIES/Sunrise.avi", "MOVIES/夜市 night.avi"}},
        {"HOLIDAY2", {"MOVIES/Harbour_ noon.avi"}},
    };
    for (const auto &[label, movies] : discs) {
        SCOPED_TRACE(label);
        const std::string disc = request.outFolder + '/' + label;
        const std::map<std::string, ImageFile> rockRidge = readImage(disc + ".iso");
        const std::map<std::string, ImageFile> joliet = readImage(disc + ".iso", "iso9660:!rockridge");
        Names names;
        for (const auto &[name, file] : rockRidge)
            names.push_back(name);
        Names expected = {"Autorun.inf", label + ".INI", "MOVIES", "NOTICES.TXT", "PLAYER.EXE",
                          "Vidorun.exe", "autorun.sh", "cover.jpg"};
        expected.insert(expected.end(), movies.begin(), movies.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(names, expected);
        for (const std::string &name : names) {
            SCOPED_TRACE(name);
            ASSERT_EQ(joliet.count(name), 1u);
            if (name == "MOVIES")
                continue;
            EXPECT_EQ(rockRidge.at(name).bytes, readFile(disc + '/' + name));
            EXPECT_EQ(joliet.at(name).bytes, rockRidge.at(name).bytes);
            EXPECT_EQ(rockRidge.at(name).mode & 0777, name == "autorun.sh" ? 0555 : 0444);
        }
        const std::string iso = readFile(disc + ".iso");
        // The primary volume descriptor's volume identifier.
        EXPECT_EQ(std::string(trimmed(iso.substr(16 * 2048 + 40, 32))), label);
        EXPECT_EQ(std::int64_t(iso.size()), checkDisc(disc).imageBytes);
    }
}

// Whatever stops a disc, nothing of it stays in OUTDIR, and the discs made
// before it stay whole.
TEST_F(PublishTest, AFailureLeavesNoPartialDisc)
{
    const auto topLevel = [this] { return folderEntries(request.outFolder); };

    // A movie that is not there: nothing is written, not even OUTDIR.
    const std::string harbour = "project dir/clips/Harbour: noon.avi";
    removeAll(path(harbour));
    EXPECT_EQ(publish(), 2);
    EXPECT_TRUE(contains(errors, "movie 2 \"The harbour at noon\": C:\\CLIPS\\HARBOUR: NOON.AVI (")) << errors;
    EXPECT_EQ(kindAt(request.outFolder), FileKind::Missing);
    writeFile(harbour, movieBytes('h', 200000));

    // OUTDIR takes no new folder.
    {
        FailingPublishFiles files(*real);
        files.failFolderOf = ".vidorun-disc-";
        files.failReason = "Permission denied";
        EXPECT_EQ(publish(files), 2);
        EXPECT_TRUE(contains(errors, "Permission denied")) << errors;
        EXPECT_EQ(topLevel(), Names());
    }

    // A read error in the second disc's movie: the set is made whole or
    // not at all, and the message names the file that could not be read.
    {
        FailingPublishFiles files(*real);
        files.failReadOf = "Harbour: noon.avi";
        files.readBeforeFailing = 70000;
        EXPECT_EQ(publish(files), 2);
        EXPECT_TRUE(contains(errors, "HOLIDAY2 could not be made: reading "
                                         + path("project dir/clips/Harbour: noon.avi: Input/output error")))
            << errors;
        EXPECT_EQ(topLevel(), Names());
    }

    // Ctrl+C while the first disc's files are copied, and while its image is
    // written.
    for (const std::int64_t readBeforeCtrlC : {150000, 600000}) {
        SCOPED_TRACE(readBeforeCtrlC);
        FailingPublishFiles files(*real);
        std::int64_t read = 0;
        interrupted = false;
        files.afterEachRead = [&](std::int64_t n) { interrupted = interrupted || (read += n) >= readBeforeCtrlC; };
        EXPECT_EQ(publish(files), 2);
        EXPECT_TRUE(contains(errors, "interrupted while HOLIDAY1 was made\nvidorun: no disc was made, and nothing of "
                                     "the new ones is left"))
            << errors;
        EXPECT_EQ(topLevel(), Names());
    }
}

// --force replaces what publishing made there, as it made it, and nothing
// else: not an author's folder that has a label's name, not a disc someone
// put a file into, not a folder holding the project's own files, however
// the path to it is spelled.
TEST_F(PublishTest, OnlyPublishingsOwnDiscsAreReplaced)
{
    writeFile("discs out/HOLIDAY2/photos/wedding.jpg", "the author's");
    EXPECT_EQ(publish(), 2);
    EXPECT_TRUE(contains(errors, "HOLIDAY2 is already there")) << errors;
    EXPECT_TRUE(contains(errors, "nothing was written")) << errors;
    request.replace = true;
    EXPECT_EQ(publish(), 2);
    EXPECT_TRUE(contains(errors, "HOLIDAY2 was not made by vidorun --publish: it is not replaced, even with --force"))
        << errors;
    EXPECT_EQ(outputs(), Names({"HOLIDAY2/", "HOLIDAY2/photos/", "HOLIDAY2/photos/wedding.jpg"}));

    removeAll(path("discs out/HOLIDAY2"));
    ASSERT_EQ(publish(), 0) << errors;
    ASSERT_EQ(publish(), 0) << errors;  // its own discs, replaced
    writeFile("discs out/HOLIDAY2/mine.txt", "the author's");
    EXPECT_EQ(publish(), 2);
    EXPECT_TRUE(contains(errors, "HOLIDAY2 holds mine.txt, which vidorun --publish did not put there")) << errors;
    EXPECT_EQ(readFile("discs out/HOLIDAY2/mine.txt"), "the author's");

    // The project's own folder, in HOLIDAY1's place and reached through a
    // link to the output folder.
    const std::string projectThere = request.outFolder + "/HOLIDAY1";
    removeAll(projectThere);
    ASSERT_EQ(std::rename(request.project.c_str(), projectThere.c_str()), 0);
    ASSERT_EQ(::symlink(request.outFolder.c_str(), path("another way").c_str()), 0);
    request.project = path("another way/HOLIDAY1");
    request.outFolder = path("discs out");
    EXPECT_EQ(publish(), 2);
    EXPECT_TRUE(contains(errors, "HOLIDAY1 holds the project's Autorun.inf")) << errors;
    EXPECT_EQ(kindAt(projectThere + "/MOVIES/夜市 night.avi"), FileKind::File);
}

// A set whose second disc can't be made leaves both old discs as they were,
// and the message blames the disc that is full, not the movie.
TEST_F(PublishTest, ASetIsReplacedWholeOrNotAtAll)
{
    request.image = false;
    ASSERT_EQ(publish(), 0) << errors;
    const auto identityOf = [this](const char *name) { return real->entryIdentity(path(name)); };
    const std::optional<FileIdentity> first = identityOf("discs out/HOLIDAY1"), second = identityOf("discs out/HOLIDAY2");
    const Names before = outputs();

    request.replace = true;
    setFileFaultHook([](FileCall call, const std::string &file) {
        return call == FileCall::Write && endsWith(file, "MOVIES/Harbour_ noon.avi") ? ENOSPC : 0;
    });
    const int status = publish();
    setFileFaultHook(nullptr);
    EXPECT_EQ(status, 2);
    EXPECT_TRUE(contains(errors, "HOLIDAY2 could not be made: writing "
                                     + path("discs out/HOLIDAY2/MOVIES/Harbour_ noon.avi: No space left on device")))
        << errors;
    EXPECT_TRUE(contains(errors, "HOLIDAY1, HOLIDAY2 there are as they were")) << errors;
    EXPECT_EQ(outputs(), before);
    EXPECT_EQ(identityOf("discs out/HOLIDAY1"), first);
    EXPECT_EQ(identityOf("discs out/HOLIDAY2"), second);
}

// Where the file system can't swap, the old disc is moved aside first; should
// it then be put back neither new nor old, it is said where it lies, and the
// next run puts the new set in place.
TEST_F(PublishTest, AnOldDiscThatCantBePutBackIsNamedAndTheNextRunMendsIt)
{
    request.image = false;
    ASSERT_EQ(publish(), 0) << errors;
    const Names before = outputs();

    request.replace = true;
    setFileFaultHook([](FileCall call, const std::string &file) {
        if (call == FileCall::Exchange)
            return EINVAL;
        return call == FileCall::Rename && (contains(file, ".vidorun-disc") || contains(file, ".vidorun-old")) ? EACCES
                                                                                                                : 0;
    });
    const int status = publish();
    setFileFaultHook(nullptr);
    EXPECT_EQ(status, 2);
    EXPECT_TRUE(contains(errors, "and the old " + path("discs out/HOLIDAY1") + " (it is at ")) << errors;
    EXPECT_FALSE(contains(errors, "was changed")) << errors;

    errors.clear();
    EXPECT_EQ(publish(), 0) << errors;
    EXPECT_TRUE(contains(errors, "was stopped while it put")) << errors;
    EXPECT_EQ(outputs(), before);
}

// A run killed at any step, however far it got, leaves a folder the next
// run makes whole: every disc old or every disc new, nothing hidden left,
// and the discs still known as publishing's.
TEST_F(PublishTest, ARunStoppedAtAnyStepIsFinishedOrUndoneByTheNext)
{
    const std::string oldProject = readFile("project dir/Autorun.inf");
    const std::string newProject = replaced(oldProject, "Holiday 2026", "Holiday 2027");
    // The old set, made afresh, and the project changed for the new one.
    const auto oldSet = [&] {
        removeAll(request.outFolder);
        writeFile("project dir/Autorun.inf", oldProject);
        request.replace = false;
        ASSERT_EQ(publish(), 0) << errors;
        writeFile("project dir/Autorun.inf", newProject);
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
        setFileFaultHook([&](FileCall call, const std::string &) { return (steps += changesOutput(call)), noExchange(call); });
        ASSERT_EQ(publish(), 0) << errors;
        setFileFaultHook(nullptr);
        ASSERT_GT(steps, 6);

        for (int step = 1; step <= steps; ++step) {
            SCOPED_TRACE("step " + std::to_string(step) + " of " + std::to_string(steps) + ", "
                         + (exchanges ? "swapping" : "moving aside"));
            oldSet();
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                int seen = 0;
                setFileFaultHook([&](FileCall call, const std::string &) {
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
            const Names found = outputs();
            Names hidden;
            std::copy_if(found.begin(), found.end(), std::back_inserter(hidden),
                         [](const std::string &name) { return startsWith(name, "."); });
            EXPECT_EQ(hidden, Names({".vidorun-published"}));
            EXPECT_EQ(found.size(), 24u) << joined(found, " ");
            const std::string one = readFile("discs out/HOLIDAY1/Autorun.inf");
            EXPECT_EQ(readFile("discs out/HOLIDAY2/Autorun.inf"), one);
            EXPECT_TRUE(contains(one, "Holiday 2026") || contains(one, "Holiday 2027"));
            EXPECT_EQ(publish(), 0) << errors;
        }
    }
}

// The project as the disc check reads it, before anything is written: a
// misread line stops publishing with the check's words, two files that
// the upper-cased path takes alike are named, and a line break in a title
// reaches no disc's Autorun.inf.
TEST_F(PublishTest, TheProjectIsReadAsTheDiscCheckReadsIt)
{
    const std::string project = readFile("project dir/Autorun.inf");
    writeFile("project dir/Autorun.inf", replaced(project, "title02=", "title2="));
    EXPECT_EQ(publish(), 2);
    EXPECT_TRUE(contains(errors, "has a one-digit number")) << errors;
    EXPECT_EQ(kindAt(request.outFolder), FileKind::Missing);

    writeFile("project dir/Autorun.inf", project);
    writeFile("project dir/MOVIES/夜市 NIGHT.avi", movieBytes('N', 10));
    EXPECT_EQ(publish(), 2);
    EXPECT_TRUE(contains(errors, "finds 夜市 night.avi and 夜市 NIGHT.avi in ")
                || contains(errors, "finds 夜市 NIGHT.avi and 夜市 night.avi in "))
        << errors;
    removeAll(path("project dir/MOVIES/夜市 NIGHT.avi"));

    writeFile("project dir/Autorun.inf",
              replaced(project, "title02=The harbour at noon",
                       "\"title02=The harbour\r\n[autorun]\r\nshell\\open\\command=x.exe\""));
    request.image = false;
    EXPECT_EQ(publish(), 2);
    EXPECT_TRUE(contains(errors, "runs on past the end of the line")) << errors;
}

// Folders, pipes and devices in a file's place are refused and never read
// from; a pipe nobody writes to would hold a reader for ever.
TEST_F(PublishTest, OnlyRegularFilesArePublished)
{
    const std::string night = path("project dir/MOVIES/夜市 night.avi");
    removeAll(night);
    ASSERT_EQ(::mkfifo(night.c_str(), 0644), 0);
    const int status = answeredAtOnce([this] { return publish(); }, night);
    EXPECT_EQ(status, 2);
    EXPECT_TRUE(contains(errors, "movie 3 \"Night market 夜市\": MOVIES\\夜市 NIGHT.AVI (")
                && contains(errors, "a pipe, socket or device, not a file"))
        << errors;

    removeAll(night);
    makeFolders(night);
    EXPECT_EQ(publish(), 2);
    EXPECT_TRUE(contains(errors, "a folder, not a file")) << errors;
    EXPECT_EQ(kindAt(request.outFolder), FileKind::Missing);
}

TEST_F(PublishTest, WithoutVidorunExeOnlyDiscsForLinuxAreMade)
{
    request.windowsProgramCandidates = {path("nowhere/Vidorun.exe"), path("project dir/cover.jpg")};
    EXPECT_EQ(publish(), 2);
    EXPECT_TRUE(contains(errors, "no Vidorun.exe to put on the discs") && contains(errors, "cover.jpg is no Windows program")
                && contains(errors, "make windows") && contains(errors, "--linux-only"))
        << errors;
    EXPECT_EQ(kindAt(request.outFolder), FileKind::Missing);

    // A disc for Linux viewers; the check still holds that a disc with a
    // Windows installer on it is for Windows viewers too.
    request.windowsProgram = false;
    request.image = false;
    EXPECT_EQ(publish(), 1) << errors << output;
    EXPECT_FALSE(holds(discFiles("HOLIDAY1"), "Vidorun.exe"));
    EXPECT_TRUE(contains(output, "without Vidorun.exe (for viewers on Linux)"));
    EXPECT_TRUE(contains(output, "the disc check finds 2 problems:\nerror   [autorun] open=Vidorun.exe: Vidorun.exe is "
                                 "not on this disc, which is for Windows (it holds PLAYER.EXE)"))
        << output;
    // The notices of a disc without the program are Vidorun's own.
    const std::string notices = readFile("discs out/HOLIDAY1/NOTICES.TXT");
    EXPECT_TRUE(startsWith(notices, "Licence notices\n===============\n\nThis disc was laid out by Vidorun for viewers "
                                    "on Linux"))
        << notices.substr(0, 200);
    EXPECT_TRUE(endsWith(notices, "SOFTWARE.\n"));
}

// In an Autorun.inf in the code page a letter beyond ASCII is another letter
// on a Windows set to another code page: there the names keep to ASCII.
// A project whose file is UTF-8 anyway keeps its names.
TEST(DiscLayout, NamesKeepToAsciiWhereTheProjectFileIsInTheCodePage)
{
    ProjectSources sources;
    Project &project = sources.project;
    project.TitleCount = project.PathCount = project.CDCount = "1";
    project.MovieTitles[1] = "Café";
    project.MovieCDs[1] = "CD1";
    sources.movies = {{1, project.MovieTitles[1], project.MovieCDs[1], {"MOVIES\\CAFÉ.AVI", "/x/Café.avi", "Café.avi", 10}}};

    PublishPlan plan = layOutDiscs(sources, ProgramFiles(), false);
    EXPECT_EQ(plan.discProject.MoviePaths[1], "MOVIES\\Cafe.avi");
    ASSERT_EQ(plan.renamed.size(), 1u);
    EXPECT_TRUE(contains(plan.renamed.front().reason, "code page")) << plan.renamed.front().reason;

    project.ProjectTitle = "夜市";
    plan = layOutDiscs(sources, ProgramFiles(), false);
    EXPECT_EQ(plan.discProject.MoviePaths[1], "MOVIES\\Café.avi");
    EXPECT_TRUE(plan.renamed.empty());
}

// A disc's folder is never hidden or nameless, and every renaming is said;
// "A" and "A.iso" clash only where the images go beside the folders.
TEST(DiscLayout, DiscFoldersAreVisibleAndEveryRenamingIsSaid)
{
    ProjectSources sources;
    const Names labels = {".hidden", "..", "?", "A", "A.iso"};
    for (int n = 1; n <= int(labels.size()); ++n) {
        const std::string file = "M" + std::to_string(n) + ".AVI";
        sources.movies.push_back({n, file, labels.at(std::size_t(n - 1)), {file, "/x/" + file, file, 10}});
    }
    sources.project.TitleCount = std::to_string(labels.size());

    PublishPlan plan = layOutDiscs(sources, ProgramFiles(), false);
    EXPECT_TRUE(plan.errors.empty()) << joined(plan.errors, "\n");
    Names folders, said;
    for (const DiscLayout &disc : plan.discs)
        folders.push_back(disc.folderName);
    for (const Renaming &renamed : plan.renamed)
        said.push_back(renamed.from + " -> " + renamed.to + ": " + renamed.reason);
    EXPECT_EQ(folders, Names({"_hidden", "_", "__2", "A", "A.iso"}));
    EXPECT_EQ(said, Names({".hidden -> _hidden: a folder whose name starts with a dot is hidden",
                           ".. -> _: a file needs a name",
                           "? -> __2: another file of the folder has that name, to Windows"}));

    plan = layOutDiscs(sources, ProgramFiles(), true);
    ASSERT_EQ(plan.errors.size(), 1u);
    EXPECT_TRUE(startsWith(plan.errors.front(), "the disc A.iso would be made as A.iso, a name another disc takes"))
        << plan.errors.front();
}

// On a terminal each disc's progress is one line, written over in place a
// piece at a time and taken away at the end; elsewhere nothing is written.
TEST(DiscProgress, OneLineWrittenOverInPlace)
{
    std::vector<std::string> pieces;
    DiscProgress shown([&](std::string_view piece) { pieces.emplace_back(piece); }, true, 60, "HOLIDAY1", 3,
                       612400000, 1000);
    shown.clear();
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0], "\rHOLIDAY1  3 movies  612.4 MB  [.....................]    0%");
    EXPECT_EQ(pieces[1], "\r" + std::string(pieces[0].size() - 1, ' ') + "\r");
    EXPECT_EQ(progressLine("HOLIDAY1", 1, 3100000000, 0.5, 2e6, 75, 80),
              "HOLIDAY1  1 movie  3.10 GB  [###########...........]   50%  2.0 MB/s  1:15 left");

    pieces.clear();
    DiscProgress elsewhere([&](std::string_view piece) { pieces.emplace_back(piece); }, false, 0, "HOLIDAY1", 3, 1, 1);
    elsewhere.update(1);
    elsewhere.clear();
    EXPECT_TRUE(pieces.empty());
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
    TemporaryFolder out;
    ProgramRun run = runProgram(VIDORUN_PROGRAM, {"--publish", VIDORUN_DEMO_DIR, out.filePath("my discs"), "--iso",
                                                  "--linux-only"});
    const std::string said = run.out + run.err;
    EXPECT_EQ(run.status, 0) << said;
    EXPECT_TRUE(startsWith(said, "Vidorun 4.0 publishes \"Holiday 2026\": 3 movies on 1 disc, without Vidorun.exe"))
        << said;
    EXPECT_TRUE(contains(said, "HOLIDAY1  " + out.filePath("my discs/HOLIDAY1/ and "))) << said;
    EXPECT_GT(readFileAt(out.filePath("my discs/HOLIDAY1.iso")).size(), 0u);

    run = runProgram(VIDORUN_PROGRAM, {"--iso", out.path()});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(contains(run.err, "go with --publish"));
}

}  // namespace
