#include "ui/qt/warm_up.h"

#include <QByteArrayList>
#include <QFontDatabase>
#include <QImageReader>
#include <QStringList>

#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
#include <dlfcn.h>
#endif

namespace vidorun {

WarmUp::WarmUp() : m_thread(&WarmUp::run, this) {}

void WarmUp::run()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    // Qt's own fontconfig, already loaded with Qt: looked up rather than
    // linked, so that a Qt without it simply skips this step.
    using FcInitFunction = int (*)();
    if (auto fcInit = reinterpret_cast<FcInitFunction>(dlsym(RTLD_DEFAULT, "FcInit")))
        fcInit();
#endif
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [this] { return m_application != Application::Coming; });
    if (m_application != Application::Ready)
        return;
    lock.unlock();
    // The window's first picture (its icon) waits for the plugin list; its
    // first text, later, for the font database. Both are shared by every thread.
    QImageReader::supportedImageFormats();
    QFontDatabase::families();
}

void WarmUp::applicationReady()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (m_application == Application::Coming)
        m_application = Application::Ready;
    m_changed.notify_all();
}

void WarmUp::wait()
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
