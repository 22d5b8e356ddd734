#pragma once

#include <thread>

namespace vidorun {

// Reads the system's font configuration on a thread of its own, while Qt
// connects to the display and the window is built. On Linux that reading
// (fontconfig's configuration files and caches) is most of the time Qt takes
// to lay out the first text; the second processor core does it meanwhile.
// Where there is no fontconfig it does nothing.
class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp() { wait(); }
    FontWarmUp(const FontWarmUp &) = delete;
    FontWarmUp &operator=(const FontWarmUp &) = delete;

    // Waits until the configuration is read: call before the first text is
    // measured, so that Qt does not read it a second time alongside.
    void wait();

private:
    std::thread m_thread;
};

}  // namespace vidorun
