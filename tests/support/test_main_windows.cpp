// Runs the tests built for Windows, under Wine: the windows are the
// system's own, on the display the test run shares (windows/wine-on-display.sh),
// each test in a folder of its own.
#include "support/window_driver.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    const std::unique_ptr<vidorun::testing::WindowDriver> driver = vidorun::testing::makeWindowDriver();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
