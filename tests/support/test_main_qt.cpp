// Runs the tests headless, with a home and settings folder of their own, so
// no test ever touches the user's files or needs a display; the windows are
// Qt widgets, drawn offscreen.
#include "support/window_driver.h"
#include "ui/qt/fonts.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#if defined(__SANITIZE_ADDRESS__)
// GCC 12's sanitizer runtime (and clang's before 16) takes a dynamic TLS
// block for one with a glibc 2.19 header whenever its address lies 16 bytes
// into a page, and then scans the two words before it as a range: garbage
// since glibc 2.25, so LeakSanitizer's tracer crashes at exit. The JPEG
// plugin's libjpeg brings such a block. Without the __tls_get_addr
// interceptor nothing is lost: the blocks are heap blocks that glibc's
// thread vector keeps, and LeakSanitizer scans them as reachable memory.
extern "C" const char *__asan_default_options()
{
    return "intercept_tls_get_addr=0";
}
#endif

int main(int argc, char **argv)
{
    // VIDORUN_TEST_PLATFORM=xcb (under xvfb-run) runs them on a real X server
    // without a window manager, where activation is not handed out for free.
    const QByteArray platform = qgetenv("VIDORUN_TEST_PLATFORM");
    qputenv("QT_QPA_PLATFORM", platform.isEmpty() ? QByteArray("offscreen") : platform);
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral(".local/share"))));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath(QStringLiteral(".cache"))));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));

    QApplication app(argc, argv);
    vidorun::installFontSubstitutes();
    const std::unique_ptr<vidorun::testing::WindowDriver> driver = vidorun::testing::makeWindowDriver();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
