#include "ui/qt/picture_decoding.h"

#include <QEvent>
#include <QFileInfo>
#include <QImageReader>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <QWidget>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#endif

namespace vidorun {

void limitPictureDecoding()
{
    QImageReader::setAllocationLimit(MaxDecodedMegabytes);
}

QImage decodePicture(const QString &path, const QSize &shownSize)
{
    // Only a regular file is a picture: reading a pipe or a device could
    // block or never end.
    if (!QFileInfo(path).isFile())
        return QImage();
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QSize full = reader.size();
    // A picture that says it is bigger than any cover is refused before a
    // byte of it is decoded, whatever its header claims.
    if (full.isValid() && qint64(full.width()) * full.height() > MaxPicturePixels)
        return QImage();
    if (full.isValid() && shownSize.isValid() && !shownSize.isEmpty()
        && (full.width() > shownSize.width() || full.height() > shownSize.height())) {
        // Decode no larger than shown: a big photo costs little time and
        // memory. A long thin picture is never scaled up along its short side.
        reader.setScaledSize(full.scaled(shownSize, Qt::KeepAspectRatioByExpanding).boundedTo(full));
    }
    return reader.read();
}

void startAtLowPriority(QThreadPool &pool, std::function<void()> work)
{
    pool.start([work = std::move(work)] {
        // Linux ignores thread priorities under its normal scheduling, but
        // each thread has a nice value of its own ("0" is this thread).
        QThread::currentThread()->setPriority(QThread::LowPriority);
#ifdef Q_OS_LINUX
        setpriority(PRIO_PROCESS, 0, 10);
#endif
        work();
    });
}

namespace {

// Runs a step once `window` has painted its first frame.
class AfterFirstFrame final : public QObject {
public:
    AfterFirstFrame(QWidget *window, std::function<void()> step) : QObject(window), m_step(std::move(step))
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // The paint has just begun; the frame is done when the event
            // loop next gets control.
            QTimer::singleShot(0, watched, std::move(m_step));
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> m_step;
};

}  // namespace

void afterFirstFrame(QWidget *window, std::function<void()> step)
{
    new AfterFirstFrame(window, std::move(step));
}

}  // namespace vidorun
