#include "projectfile/atomic_save.h"
#include "support/failing_save_steps.h"
#include "support/main_window_fixture.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

class AtomicSaveTest : public WorkingFolderTest {
protected:
    // Every name in the working folder, hidden ones included: a copy left
    // behind by a failed save would show here.
    QStringList folderEntries() const
    {
        return QDir(m_folder.path()).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    const QByteArrayList pieces = {"[autorun]\r\n", "OPEN=Vidorun.exe\r\n", "ICON=Vidorun.exe,0\r\n"};
    const QByteArray whole = pieces.join();
};

TEST_F(AtomicSaveTest, SavesANewFileWithExactlyThePieces)
{
    const SaveOutcome outcome = saveFileWhole(path("Autorun.inf"), pieces);
    EXPECT_TRUE(outcome.saved);
    EXPECT_TRUE(outcome.reason.isEmpty());
    EXPECT_EQ(readFile("Autorun.inf"), whole);
    EXPECT_EQ(folderEntries(), QStringList{"Autorun.inf"});
}

TEST_F(AtomicSaveTest, ReplacesAnExistingFileWhole)
{
    writeFile("Autorun.inf", QByteArray(5000, 'x'));
    ASSERT_TRUE(saveFileWhole(path("Autorun.inf"), pieces).saved);
    EXPECT_EQ(readFile("Autorun.inf"), whole);
    EXPECT_EQ(folderEntries(), QStringList{"Autorun.inf"});
}

TEST_F(AtomicSaveTest, StepsAreOpenEachWriteFlushAndCommit)
{
    FileSaveSteps real(path("Autorun.inf"));
    FailingSaveSteps steps(real, 0);
    ASSERT_TRUE(saveWhole(steps, pieces).saved);
    EXPECT_EQ(steps.steps, QStringList({"open", "write", "write", "write", "flush", "commit"}));
    EXPECT_FALSE(steps.discarded);
    EXPECT_EQ(readFile("Autorun.inf"), whole);
}

// A failure at any step, a write that got half its piece out included, keeps
// the earlier file byte for byte, leaves no copy behind and gives the reason.
TEST_F(AtomicSaveTest, AFailureAtAnyStepKeepsTheEarlierFile)
{
    const QByteArray earlier = "[vidorun]\r\ntitle01=Kept\r\n";
    const int stepCount = 3 + int(pieces.size());
    for (int failAt = 1; failAt <= stepCount; ++failAt) {
        SCOPED_TRACE(failAt);
        writeFile("Autorun.inf", earlier);
        FileSaveSteps real(path("Autorun.inf"));
        FailingSaveSteps steps(real, failAt);
        const SaveOutcome outcome = saveWhole(steps, pieces);
        EXPECT_FALSE(outcome.saved);
        EXPECT_EQ(outcome.reason, "No space left on device");
        EXPECT_TRUE(steps.discarded);
        EXPECT_EQ(steps.steps.size(), failAt) << "the save goes on after a failed step";
        EXPECT_EQ(readFile("Autorun.inf"), earlier);
        EXPECT_EQ(folderEntries(), QStringList{"Autorun.inf"});
    }
}

TEST_F(AtomicSaveTest, AFailureAtAnyStepCreatesNoNewFile)
{
    for (int failAt = 1; failAt <= 3 + int(pieces.size()); ++failAt) {
        SCOPED_TRACE(failAt);
        FileSaveSteps real(path("Autorun.inf"));
        FailingSaveSteps steps(real, failAt);
        EXPECT_FALSE(saveWhole(steps, pieces).saved);
        EXPECT_TRUE(folderEntries().isEmpty()) << folderEntries().join(' ').toStdString();
    }
}

TEST_F(AtomicSaveTest, AMissingFolderGivesTheSystemsReason)
{
    const SaveOutcome outcome = saveFileWhole(path("gone/Autorun.inf"), pieces);
    EXPECT_FALSE(outcome.saved);
    EXPECT_EQ(outcome.reason, reasonForNoFileAt(path("gone/Autorun.inf")));
    EXPECT_FALSE(outcome.reason.isEmpty());
    EXPECT_TRUE(folderEntries().isEmpty());
}

TEST_F(AtomicSaveTest, AFolderInTheTargetsPlaceIsLeftAlone)
{
    ASSERT_TRUE(QDir(m_folder.path()).mkdir("Autorun.inf"));
    const SaveOutcome outcome = saveFileWhole(path("Autorun.inf"), pieces);
    EXPECT_FALSE(outcome.saved);
    EXPECT_FALSE(outcome.reason.isEmpty());
    EXPECT_TRUE(QFileInfo(path("Autorun.inf")).isDir());
    EXPECT_EQ(folderEntries(), QStringList{"Autorun.inf"});
}

}  // namespace
