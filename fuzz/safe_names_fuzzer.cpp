// libFuzzer target: arbitrary names for one folder of a disc, named as
// publishing names them.
#include "fuzz/fuzz_entries.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string violation = vidorun::fuzz::safeNamesViolation(data, size);
    if (!violation.empty()) {
        std::fprintf(stderr, "safe names: %s\n", violation.c_str());
        __builtin_trap();
    }
    return 0;
}
