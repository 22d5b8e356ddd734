// libFuzzer target: any bytes as a project file, through the item reader and
// the whole project reader.
#include "fuzz/fuzz_entries.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string violation = vidorun::fuzz::readerViolation(data, size);
    if (!violation.empty()) {
        std::fprintf(stderr, "project reader: %s\n", violation.c_str());
        __builtin_trap();
    }
    return 0;
}
