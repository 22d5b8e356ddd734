#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

namespace vidorun {

// Prepares, on a thread of its own while Qt connects to the display and the
// window is built, what the first frame needs and the window's thread would
// otherwise stop for: fontconfig's configuration and caches (on Linux), and,
// once the application object exists, the list of image format plugins and
// Qt's font database. The second processor core does it meanwhile.
class WarmUp {
public:
    WarmUp();
    ~WarmUp() { wait(); }
    WarmUp(const WarmUp &) = delete;
    WarmUp &operator=(const WarmUp &) = delete;

    // Call once the QApplication is made: the plugins and fonts need it.
    void applicationReady();
    // Waits until all is ready: call before the first text is measured, so
    // that Qt does not read the fonts a second time alongside.
    void wait();

private:
    void run();

    enum class Application { Coming, Ready, NotComing };
    std::mutex m_mutex;
    std::condition_variable m_changed;
    Application m_application = Application::Coming;
    std::thread m_thread;  // last: it starts once the rest is made
};

}  // namespace vidorun
