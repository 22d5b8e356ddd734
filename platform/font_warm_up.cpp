#include "platform/font_warm_up.h"

#include <QFontDatabase>
#include <QStringList>

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
#include <dlfcn.h>
#endif

namespace vidorun {

FontWarmUp::FontWarmUp()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // Qt's own fontconfig, already loaded with Qt: looked up rather than
    // linked, so that a Qt without it simply skips the warm-up.
    using FcInitFunction = int (*)();
    if (auto fcInit = reinterpret_cast<FcInitFunction>(dlsym(RTLD_DEFAULT, "FcInit")))
        m_thread = std::thread(&FontWarmUp::run, this, fcInit);
#endif
}

void FontWarmUp::run(int (*fcInit)())
{
    fcInit();
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_application != Application::Coming; });
    if (m_application == Application::Ready) {
        lock.unlock();
        // Fills Qt's font database, which every thread shares.
        QFontDatabase::families();
    }
}

void FontWarmUp::applicationReady()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_application == Application::Coming)
        m_application = Application::Ready;
    m_changed.notify_all();
}

void FontWarmUp::wait()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_application == Application::Coming)
            m_application = Application::NotComing;
        m_changed.notify_all();
    }
    if (m_thread.joinable())
        m_thread.join();
}

}  // namespace vidorun
