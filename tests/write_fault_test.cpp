// File > Write against a failure at every step of the save: create, each
// line's write, flush and the rename over the earlier file.
#include "projectfile/project_writer.h"
#include "support/failing_save_steps.h"
#include "support/main_window_fixture.h"
#include "support/sample_projects.h"

#include <gtest/gtest.h>

using namespace vidorun;
using namespace vidorun::testing;

namespace {

const std::string Holiday = holidayProject();

class WriteFaultTest : public MainWindowTest {
protected:
    std::vector<std::string> entries() const { return folderEntries(m_folder.path()); }

    // The save steps File > Write takes from now on: real ones that fail at
    // step `failAt`.
    void failSavesAt(int failAt)
    {
        m_real.reset();
        window().setSaveSteps([this, failAt](const std::string &path) {
            m_real = makeFileSaveSteps(path);
            return std::make_unique<FailingSaveSteps>(*m_real, failAt);
        });
    }

    // Saves the project over Autorun.inf (answering Yes to the overwrite
    // question) with real steps that fail at step `failAt`.
    void saveFailingAt(int failAt)
    {
        failSavesAt(failAt);
        fake.messages.shown.clear();
        fake.messages.answers = {MsgAnswer::Yes};
        fake.dialogs.answers.push_back(path("Autorun.inf"));
        trigger("SAVEFILE");
    }

    std::unique_ptr<SaveSteps> m_real;
};

TEST_F(WriteFaultTest, EveryFailedStepKeepsTheEarlierFileAndSaysSo)
{
    writeFile("Holiday.inf", Holiday);
    const std::string earlier = "[vidorun]\r\ntitle01=The earlier project\r\n";
    writeFile("Autorun.inf", earlier);
    start();
    fake.dialogs.answers.push_back(path("Holiday.inf"));
    trigger("OPENINIFILE");
    const std::vector<std::string> before = entries();
    const std::string failed = "The file " + path("Autorun.inf") + " could not be written!\r\n\r\n"
                               "No space left on device\r\n\r\nNothing was saved.";

    // open, one write per line, flush, commit
    const int steps = 1 + int(composeProjectFile(project()).size()) + 2;
    for (int failAt = 1; failAt <= steps; ++failAt) {
        SCOPED_TRACE(failAt);
        saveFailingAt(failAt);
        ASSERT_EQ(fake.messages.shown.size(), 2u) << "the overwrite question, then the failure";
        EXPECT_EQ(fake.messages.shown[1].text, failed);
        EXPECT_EQ(fake.messages.shown[1].title, ErrorTitle);
        EXPECT_EQ(fake.messages.shown[1].style, MsgStyle::Critical);
        EXPECT_EQ(readFile("Autorun.inf"), earlier);
        EXPECT_EQ(entries(), before);
    }

    // One step further nothing fails: the project replaces the earlier file.
    saveFailingAt(steps + 1);
    EXPECT_EQ(fake.messages.shown.size(), 1u);
    EXPECT_EQ(readFile("Autorun.inf"), Holiday);
    EXPECT_EQ(entries(), before);
}

TEST_F(WriteFaultTest, AFailedFirstSaveLeavesNoFile)
{
    start();
    const int steps = 1 + int(composeProjectFile(project()).size()) + 2;
    for (int failAt = 1; failAt <= steps; ++failAt) {
        SCOPED_TRACE(failAt);
        failSavesAt(failAt);
        fake.messages.shown.clear();
        fake.dialogs.answers.push_back(path("Autorun.inf"));
        trigger("SAVEFILE");
        ASSERT_EQ(fake.messages.shown.size(), 1u) << "no overwrite question, only the failure";
        EXPECT_EQ(entries(), std::vector<std::string>{});
        // The unset close switch becomes "0" only once the file is open.
        EXPECT_EQ(project().CloseAfterPlay, failAt == 1 ? "" : "0");
    }
}

}  // namespace
