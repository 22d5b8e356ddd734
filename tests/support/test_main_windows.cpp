// Runs the tests built for Windows, under Wine: the windows are the
// system's own, on the display the test run gives them (on-display.sh),
// each test in a folder of its own.
#include "support/ui_driver.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    const std::unique_ptr<vidorun::testing::UiDriver> driver = vidorun::testing::makeUiDriver();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
