#include "support/window_driver.h"

#include <cstdlib>

namespace vidorun::testing {

namespace {

WindowDriver *current = nullptr;

}  // namespace

WindowDriver::WindowDriver()
{
    current = this;
}

WindowDriver::~WindowDriver()
{
    current = nullptr;
}

WindowDriver &WindowDriver::instance()
{
    // Only the test program's main makes one; a test without it is a fault
    // of the test program.
    if (!current)
        std::abort();
    return *current;
}

}  // namespace vidorun::testing
