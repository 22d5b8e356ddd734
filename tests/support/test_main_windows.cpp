// Runs the tests built for Windows, under Wine: the windows are the
// system's own, on the display the test run shares (windows/wine-on-display.sh),
// each test in a folder of its own.
#include "support/window_driver.h"

#include <gtest/gtest.h>

namespace {

// A test that closed a main window leaves the request to end the message
// loop behind; the next test starts without it.
class ForgetEndedLoops : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo &) override { vidorun::testing::WindowDriver::instance().startAnew(); }
};

}  // namespace

int main(int argc, char **argv)
{
    const std::unique_ptr<vidorun::testing::WindowDriver> driver = vidorun::testing::makeWindowDriver();
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ForgetEndedLoops);
    return RUN_ALL_TESTS();
}
