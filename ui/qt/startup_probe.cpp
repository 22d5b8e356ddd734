#include "ui/qt/startup_probe.h"
#include "platform/peak_memory.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace vidorun {
namespace {

// Taken while the program's statics are set up, before main().
const auto loadedAt = std::chrono::steady_clock::now();

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
        // Tearing down is no part of start-up; the measurement is over,
        // unless the program is to go on being used.
        if (qgetenv("VIDORUN_STARTUP_PROBE") != "report")
            std::_Exit(0);
        qApp->removeEventFilter(this);
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
