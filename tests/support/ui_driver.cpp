#include "support/ui_driver.h"

#include <cstdlib>

namespace vidorun::testing {

namespace {

UiDriver *current = nullptr;

}  // namespace

UiDriver::UiDriver()
{
    current = this;
}

UiDriver::~UiDriver()
{
    current = nullptr;
}

UiDriver &UiDriver::instance()
{
    // Only the test program's main makes one; a test without it is a fault
    // of the test program.
    if (!current)
        std::abort();
    return *current;
}

}  // namespace vidorun::testing
