#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

namespace vidorun {

// Prepares the fonts on a thread of its own while Qt connects to the display
// and the window is built: first fontconfig's configuration and caches, then,
// once the application object exists, Qt's font database. On Linux that is
// most of the time Qt takes to lay out the first text; the second processor
// core does it meanwhile. Where there is no fontconfig it does nothing.
class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp() { wait(); }
    FontWarmUp(const FontWarmUp &) = delete;
    FontWarmUp &operator=(const FontWarmUp &) = delete;

    // Call once the QApplication is made: the font database needs it.
    void applicationReady();
    // Waits until the fonts are ready: call before the first text is
    // measured, so that Qt does not read them a second time alongside.
    void wait();

private:
    void run(int (*fcInit)());

    enum class Application { Coming, Ready, NotComing };
    std::mutex m_mutex;
    std::condition_variable m_changed;
    Application m_application = Application::Coming;
    std::thread m_thread;
};

}  // namespace vidorun
