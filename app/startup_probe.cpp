#include "app/startup_probe.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vidorun {
namespace {

// Taken while the program's statics are set up, before main().
const auto loadedAt = std::chrono::steady_clock::now();

// The process's peak resident memory (VmHWM) in kB; 0 where /proc is not there.
long peakResidentKb()
{
    std::FILE *status = std::fopen("/proc/self/status", "r");
    if (!status)
        return 0;
    long kb = 0;
    char line[256];
    while (std::fgets(line, sizeof line, status)) {
        if (std::strncmp(line, "VmHWM:", 6) == 0) {
            kb = std::strtol(line + 6, nullptr, 10);
            break;
        }
    }
    std::fclose(status);
    return kb;
}

double msSinceLoaded()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - loadedAt).count();
}

class FrameProbe final : public QObject {
public:
    FrameProbe(QWidget &window, std::function<bool()> settled)
        : QObject(&window), m_window(window), m_settled(std::move(settled))
    {
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A frame is on the screen once its paint has been handed to the
        // window system, that is when the event loop next gets control.
        if (event->type() == QEvent::Paint && !m_reportPending && watched->isWidgetType()
            && static_cast<QWidget *>(watched)->window() == &m_window) {
            m_reportPending = true;
            QTimer::singleShot(0, this, &FrameProbe::report);
        }
        return false;
    }

private:
    void report()
    {
        m_reportPending = false;
        if (!m_firstReported) {
            m_firstReported = true;
            std::printf("first-frame ms=%.2f peak_kb=%ld width=%d height=%d\n", msSinceLoaded(), peakResidentKb(),
                        m_window.width(), m_window.height());
            std::fflush(stdout);
        }
        if (m_settled && !m_settled())
            return;
        std::printf("settled-frame ms=%.2f peak_kb=%ld\n", msSinceLoaded(), peakResidentKb());
        std::fflush(stdout);
        // Tearing down is no part of start-up; the measurement is over.
        std::_Exit(0);
    }

    QWidget &m_window;
    std::function<bool()> m_settled;
    bool m_reportPending = false;
    bool m_firstReported = false;
};

}  // namespace

void watchFirstFrame(QWidget &window, std::function<bool()> settled)
{
    if (!qEnvironmentVariableIsSet("VIDORUN_STARTUP_PROBE"))
        return;
    // Every widget of the window paints itself: the cover arrives in a paint
    // of its own frame alone.
    qApp->installEventFilter(new FrameProbe(window, std::move(settled)));
}

}  // namespace vidorun
