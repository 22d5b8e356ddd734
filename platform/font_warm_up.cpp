#include "platform/font_warm_up.h"

#include <QtGlobal>

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
        m_thread = std::thread(fcInit);
#endif
}

void FontWarmUp::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

}  // namespace vidorun
