// The real Unix launcher: a movie reaches xdg-open as one whole argument,
// whatever its name holds, and nothing else runs.
#include "platform/native.h"
#include "support/main_window_fixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>

#include <cerrno>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vidorun::testing {
namespace {

// How a recorded program was called: its arguments, its session and what
// its open descriptors lead to.
struct Call {
    QStringList arguments;
    long session = 0;
    QStringList descriptors;
};

// A stand-in for a program that writes one record per call into a folder:
// the argument count, each argument followed by a NUL, its session id and
// the targets of its open descriptors.
// The record appears whole (written aside, then renamed) when the call is done.
const char RecordingScript[] = R"(#!/bin/sh
dir=${0%/*}/calls
mkdir -p "$dir"
{
  printf '%s\n' "$#"
  for argument in "$@"; do printf '%s\0' "$argument"; done
  printf '\n'
  cut -d' ' -f6 /proc/$$/stat
  for fd in /proc/$$/fd/*; do readlink "$fd" || true; done
} > "$dir/.$$" && mv "$dir/.$$" "$dir/$$"
)";

QString q(const std::string &text)
{
    return QString::fromStdString(text);
}

class UnixLauncherTest : public FolderTest {
protected:
    void SetUp() override
    {
        FolderTest::SetUp();
        m_oldPath = qgetenv("PATH");
        ASSERT_TRUE(QDir().mkpath(binFolder()));
    }
    void TearDown() override
    {
        qputenv("PATH", m_oldPath);
        FolderTest::TearDown();
    }

    QString binFolder() const { return q(path("bin")); }

    // Puts a recording program of this name first on the search path.
    void installRecorder(const QString &name)
    {
        writeFile("bin/" + name.toStdString(), RecordingScript);
        QFile::setPermissions(q(path("bin/" + name.toStdString())),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(binFolder()) + ':' + m_oldPath);
    }

    // Waits (up to five seconds) for `count` recorded calls and reads them.
    std::vector<Call> waitForCalls(int count, const QString &folder)
    {
        const QDir calls(folder);
        const auto records = [&] { return calls.entryList(QDir::Files); };
        EXPECT_TRUE(QTest::qWaitFor([&] { return records().size() >= count; }, 5000));
        std::vector<Call> result;
        for (const QString &name : records()) {
            QFile file(calls.filePath(name));
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QByteArray bytes = file.readAll();
            const int firstLine = bytes.indexOf('\n');
            const int argc = bytes.left(firstLine).toInt();
            Call call;
            int at = firstLine + 1;
            for (int i = 0; i < argc; ++i) {
                const int end = bytes.indexOf('\0', at);
                call.arguments << QFile::decodeName(bytes.mid(at, end - at));
                at = end + 1;
            }
            const QList<QByteArray> rest = bytes.mid(at).trimmed().split('\n');
            call.session = rest.value(0).toLong();
            for (qsizetype line = 1; line < rest.size(); ++line)
                call.descriptors << QFile::decodeName(rest[line]);
            result.push_back(call);
        }
        return result;
    }

    QStringList strayFiles() const
    {
        QStringList found;
        for (const QString &folder : {q(m_folder.path()), binFolder()})
            for (const QString &name : QDir(folder).entryList(QDir::Files))
                if (name.startsWith(QLatin1String("pwned")))
                    found << name;
        return found;
    }

    QByteArray m_oldPath;
};

TEST_F(UnixLauncherTest, HostileMovieNameReachesXdgOpenAsOneArgumentAndRunsNothing)
{
    installRecorder(QStringLiteral("xdg-open"));
    const QString name = QStringLiteral("my movie 'quoted' \"double\" & a; b | c $(touch pwned1) `touch pwned2`"
                                        " >pwned3 ; touch pwned4 && touch pwned5 %TEMP% ^x.avi");
    writeFile(name.toStdString(), "movie");
    // A descriptor someone in the program left open to programs it starts.
    writeFile("not for the player", "private");
    const int leaked = ::open(path("not for the player").c_str(), O_RDONLY);
    ASSERT_GE(leaked, 0);

    const LaunchResult started = makeNativeLauncher()->openDocument(name.toStdString());
    ::close(leaked);
    ASSERT_TRUE(started.started) << started.error;

    const std::vector<Call> calls = waitForCalls(1, binFolder() + QStringLiteral("/calls"));
    ASSERT_EQ(calls.size(), 1u);
    ASSERT_EQ(calls[0].arguments.size(), 1) << calls[0].arguments.join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(calls[0].arguments[0].toStdString(), path(name.toStdString()));
    EXPECT_TRUE(strayFiles().isEmpty()) << strayFiles().join(QLatin1Char(' ')).toStdString();

    // Detached: a session of its own, and no child of ours left to reap.
    EXPECT_NE(calls[0].session, long(::getsid(0)));
    EXPECT_FALSE(calls[0].descriptors.contains(q(path("not for the player"))))
        << calls[0].descriptors.join(QLatin1Char(' ')).toStdString();
    int status = 0;
    EXPECT_EQ(::waitpid(-1, &status, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST_F(UnixLauncherTest, NameThatLooksLikeAnOptionArrivesAsAPath)
{
    installRecorder(QStringLiteral("xdg-open"));
    writeFile("--help.avi", "movie");
    const LaunchResult started = makeNativeLauncher()->openDocument("--help.avi");
    ASSERT_TRUE(started.started);
    const std::vector<Call> calls = waitForCalls(1, binFolder() + QStringLiteral("/calls"));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].arguments.join(QLatin1Char('\n')).toStdString(), path("--help.avi"));
}

TEST_F(UnixLauncherTest, WithoutXdgOpenTheStartFailsWithAReason)
{
    qputenv("PATH", QFile::encodeName(binFolder()));
    const LaunchResult started = makeNativeLauncher()->openDocument("movie.avi");
    EXPECT_FALSE(started.started);
    EXPECT_NE(started.error.find("xdg-open"), std::string::npos) << started.error;
}

TEST_F(UnixLauncherTest, ProgramIsStartedWholeWithoutArgumentsOrSearch)
{
    installRecorder(QStringLiteral("setup & go.sh"));
    const LaunchResult started = makeNativeLauncher()->startProgram("bin/setup & go.sh");
    ASSERT_TRUE(started.started) << started.error;
    const std::vector<Call> calls = waitForCalls(1, binFolder() + QStringLiteral("/calls"));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_TRUE(calls[0].arguments.isEmpty());

    // A bare name is a file in the working folder, not a program on the search path.
    EXPECT_FALSE(makeNativeLauncher()->startProgram("setup & go.sh").started);
}

TEST_F(UnixLauncherTest, ProgramThatCannotRunIsReportedWithTheSystemsReason)
{
    writeFile("SETUP.EXE", "not for this system");
    const LaunchResult notExecutable = makeNativeLauncher()->startProgram("SETUP.EXE");
    EXPECT_FALSE(notExecutable.started);
    EXPECT_NE(notExecutable.error.find("SETUP.EXE"), std::string::npos) << notExecutable.error;

    const LaunchResult missing = makeNativeLauncher()->startProgram("MISSING.EXE");
    EXPECT_FALSE(missing.started);
    EXPECT_FALSE(makeNativeLauncher()->startProgram("").started);
}

void copyFolder(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + QLatin1Char('/') + QDir(from).relativeFilePath(source);
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(source, target);
    }
}

// The demo disc, played as a viewer would: the real launcher, tray, platform
// code and file lookups; only the message boxes are recorded.
TEST_F(UnixLauncherTest, DemoDiscPlaysItsFirstMovie)
{
    copyFolder(QStringLiteral(VIDORUN_DEMO_DIR), q(path("disc")));
    ASSERT_TRUE(QDir::setCurrent(q(path("disc"))));
    installRecorder(QStringLiteral("xdg-open"));

    WindowDriver &ui = WindowDriver::instance();
    FakeMessages messages;
    FakeInputBox input;
    FakeFileDialogs dialogs;
    FakePictures pictures(ui.pictureLoader());
    const std::unique_ptr<Launcher> launcher = makeNativeLauncher();
    const std::unique_ptr<MediaControl> media = makeNativeMediaControl();
    const std::unique_ptr<SystemInfo> system = makeNativeSystemInfo();
    const std::unique_ptr<FileSystem> files = makeNativeFileSystem();
    VidorunMain main(Platform{messages, input, dialogs, *launcher, *media, *system, *files, pictures},
                     ui.frontEnd());
    main.show();
    ASSERT_EQ(main.project().TitleCount, "3");

    ui.select(main.view(), "Movies", 0);
    ui.click(main.view(), "PlayButton");

    for (const ShownMessage &shown : messages.shown)
        ADD_FAILURE() << shown.title << ": " << shown.text;
    const std::vector<Call> calls = waitForCalls(1, binFolder() + QStringLiteral("/calls"));
    ASSERT_EQ(calls.size(), 1u);
    ASSERT_EQ(calls[0].arguments.size(), 1);
    EXPECT_EQ(QFileInfo(calls[0].arguments[0]).canonicalFilePath().toStdString(),
              QFileInfo(q(path("disc/MOVIES/SUNRISE.AVI"))).canonicalFilePath().toStdString());
    EXPECT_TRUE(ui.isShown(main.view()));
}

}  // namespace
}  // namespace vidorun::testing
