#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// The memory of this test process, from /proc/self/status (Linux), for tests
// that bound what reading a hostile file costs.
namespace vidorun::testing {

// The sanitizers keep freed memory aside on purpose and shadow every byte, so
// memory bounds mean nothing in a sanitizer build.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool SanitizerBuild = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool SanitizerBuild = true;
#else
constexpr bool SanitizerBuild = false;
#endif
#else
constexpr bool SanitizerBuild = false;
#endif

class ProcessMemory {
public:
    // Resident and peak resident size in kB; -1 where the system doesn't tell.
    static std::int64_t residentKb() { return statusField("VmRSS:"); }
    static std::int64_t peakKb() { return statusField("VmHWM:"); }

    // Sets the peak back to what is resident now; false where that can't be done.
    static bool resetPeak()
    {
#ifdef _WIN32
        return false;
#else
        std::FILE *clear = std::fopen("/proc/self/clear_refs", "w");
        if (!clear)
            return false;
        const bool written = std::fputs("5", clear) >= 0;
        return std::fclose(clear) == 0 && written;
#endif
    }

    // How far the peak rises above what was resident before while `work`
    // runs, in kB; -1 where the system can't tell.
    template<typename Work>
    static std::int64_t peakGrowthKb(Work work)
    {
        const std::int64_t before = residentKb();
        const bool reset = resetPeak();
        work();
        return reset && before > 0 ? peakKb() - before : -1;
    }

private:
    static std::int64_t statusField(const char *name)
    {
#ifdef _WIN32
        // Under Wine, /proc would be the Linux one of Wine's own process.
        (void)name;
        return -1;
#else
        std::FILE *status = std::fopen("/proc/self/status", "r");
        if (!status)
            return -1;
        std::int64_t value = -1;
        char line[256];
        while (value < 0 && std::fgets(line, sizeof line, status)) {
            if (std::strncmp(line, name, std::strlen(name)) == 0)
                value = std::strtoll(line + std::strlen(name), nullptr, 10);
        }
        std::fclose(status);
        return value;
#endif
    }
};

}  // namespace vidorun::testing
