// libFuzzer target: a project made from the bytes, written and read back.
#include "fuzz/fuzz_entries.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string violation = vidorun::fuzz::roundTripViolation(data, size);
    if (!violation.empty()) {
        std::fprintf(stderr, "round trip: %s\n", violation.c_str());
        __builtin_trap();
    }
    return 0;
}
