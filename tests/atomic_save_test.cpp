#include "platform/file_places.h"
#include "projectfile/atomic_save.h"
#include "support/failing_save_steps.h"
#include "support/temporary_folder.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include "platform/win32_api.h"
#include "platform/windows_text.h"
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

using namespace vidorun;
using namespace vidorun::testing;

namespace {

using Names = std::vector<std::string>;

// The system's own words for why a file can't be made at `path` ("No such
// file or directory" on Linux).
std::string reasonForNoFileAt(const std::string &path)
{
#ifdef _WIN32
    const HANDLE file = ::CreateFileW(widePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return systemReason(::GetLastError());
    ::CloseHandle(file);
#else
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0)
        return std::strerror(errno);
    ::close(fd);
#endif
    return std::string();
}

class AtomicSaveTest : public FolderTest {
protected:
    // Every name in the working folder, hidden ones included: a copy left
    // behind by a failed save would show here.
    Names entries() const { return folderEntries(m_folder.path()); }

    const std::vector<std::string> pieces = {"[autorun]\r\n", "OPEN=Vidorun.exe\r\n", "ICON=Vidorun.exe,0\r\n"};
    const std::string whole = pieces[0] + pieces[1] + pieces[2];
};

TEST_F(AtomicSaveTest, SavesANewFileWithExactlyThePieces)
{
    const SaveOutcome outcome = saveFileWhole(path("Autorun.inf"), pieces);
    EXPECT_TRUE(outcome.saved);
    EXPECT_TRUE(outcome.reason.empty());
    EXPECT_EQ(readFile("Autorun.inf"), whole);
    EXPECT_EQ(entries(), Names{"Autorun.inf"});
}

TEST_F(AtomicSaveTest, ReplacesAnExistingFileWhole)
{
    writeFile("Autorun.inf", std::string(5000, 'x'));
    ASSERT_TRUE(saveFileWhole(path("Autorun.inf"), pieces).saved);
    EXPECT_EQ(readFile("Autorun.inf"), whole);
    EXPECT_EQ(entries(), Names{"Autorun.inf"});
}

TEST_F(AtomicSaveTest, StepsAreOpenEachWriteFlushAndCommit)
{
    const std::unique_ptr<SaveSteps> real = makeFileSaveSteps(path("Autorun.inf"));
    FailingSaveSteps steps(*real, 0);
    ASSERT_TRUE(saveWhole(steps, pieces).saved);
    EXPECT_EQ(steps.steps, Names({"open", "write", "write", "write", "flush", "commit"}));
    EXPECT_FALSE(steps.discarded);
    EXPECT_EQ(readFile("Autorun.inf"), whole);
}

// A failure at any step, a write that got half its piece out included, keeps
// the earlier file byte for byte, leaves no copy behind and gives the reason.
TEST_F(AtomicSaveTest, AFailureAtAnyStepKeepsTheEarlierFile)
{
    const std::string earlier = "[vidorun]\r\ntitle01=Kept\r\n";
    const int stepCount = 3 + int(pieces.size());
    for (int failAt = 1; failAt <= stepCount; ++failAt) {
        SCOPED_TRACE(failAt);
        writeFile("Autorun.inf", earlier);
        const std::unique_ptr<SaveSteps> real = makeFileSaveSteps(path("Autorun.inf"));
        FailingSaveSteps steps(*real, failAt);
        const SaveOutcome outcome = saveWhole(steps, pieces);
        EXPECT_FALSE(outcome.saved);
        EXPECT_EQ(outcome.reason, "No space left on device");
        EXPECT_TRUE(steps.discarded);
        EXPECT_EQ(steps.steps.size(), std::size_t(failAt)) << "the save goes on after a failed step";
        EXPECT_EQ(readFile("Autorun.inf"), earlier);
        EXPECT_EQ(entries(), Names{"Autorun.inf"});
    }
}

TEST_F(AtomicSaveTest, AFailureAtAnyStepCreatesNoNewFile)
{
    for (int failAt = 1; failAt <= 3 + int(pieces.size()); ++failAt) {
        SCOPED_TRACE(failAt);
        const std::unique_ptr<SaveSteps> real = makeFileSaveSteps(path("Autorun.inf"));
        FailingSaveSteps steps(*real, failAt);
        EXPECT_FALSE(saveWhole(steps, pieces).saved);
        EXPECT_TRUE(entries().empty()) << entries().size();
    }
}

TEST_F(AtomicSaveTest, AMissingFolderGivesTheSystemsReason)
{
    const SaveOutcome outcome = saveFileWhole(path("gone/Autorun.inf"), pieces);
    EXPECT_FALSE(outcome.saved);
    EXPECT_EQ(outcome.reason, reasonForNoFileAt(path("gone/Autorun.inf")));
    EXPECT_FALSE(outcome.reason.empty());
    EXPECT_TRUE(entries().empty());
}

TEST_F(AtomicSaveTest, AFolderInTheTargetsPlaceIsLeftAlone)
{
    makeFolders(path("Autorun.inf"));
    const SaveOutcome outcome = saveFileWhole(path("Autorun.inf"), pieces);
    EXPECT_FALSE(outcome.saved);
    EXPECT_FALSE(outcome.reason.empty());
    EXPECT_EQ(kindAt(path("Autorun.inf")), FileKind::Folder);
    EXPECT_EQ(entries(), Names{"Autorun.inf"});
}

}  // namespace
