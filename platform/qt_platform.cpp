#include "platform/qt_platform.h"

#include "platform/native.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QImageReader>
#include <QInputDialog>
#include <QMessageBox>
#include <QPromise>
#include <QThread>
#include <QTimer>
#include <QWidget>

#include <memory>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#endif

namespace vidorun {

MsgAnswer QtMessageBoxes::show(QWidget *parent, const QString &text, const QString &title, int style)
{
    QMessageBox box(parent);
    box.setWindowTitle(title);
    // Line breaks inside messages are CR LF; Qt wants plain LF.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    box.setText(shown);
    box.setTextFormat(Qt::PlainText);
    if (style == MsgStyle::Question) {
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? MsgAnswer::Yes : MsgAnswer::No;
    }
    box.setIcon(QMessageBox::Critical);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MsgAnswer::Ok;
}

QString QtInputBox::ask(QWidget *parent, const QString &prompt, const QString &title,
                        const QString &defaultAnswer)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, defaultAnswer, &ok);
    return ok ? answer : QString();
}

QtPictureLoader::QtPictureLoader()
{
    // Also for pictures whose size is only known once decoding starts.
    QImageReader::setAllocationLimit(MaxDecodedMegabytes);
}

namespace {

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
    if (full.isValid() && qint64(full.width()) * full.height() > QtPictureLoader::MaxPicturePixels)
        return QImage();
    if (full.isValid() && shownSize.isValid() && !shownSize.isEmpty()
        && (full.width() > shownSize.width() || full.height() > shownSize.height())) {
        // Decode no larger than shown: a big photo costs little time and
        // memory. A long thin picture is never scaled up along its short side.
        reader.setScaledSize(full.scaled(shownSize, Qt::KeepAspectRatioByExpanding).boundedTo(full));
    }
    return reader.read();
}

}  // namespace

QImage QtPictureLoader::load(const QString &path, const QSize &shownSize)
{
    return decodePicture(path, shownSize);
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

void QtPictureLoader::loadInBackground(const QString &path, const QSize &shownSize, QObject *receiver,
                                       std::function<void(const QImage &)> done)
{
    // The watcher lives with the receiver: if the receiver goes first, so
    // does the watcher, and the picture decoded meanwhile is dropped.
    auto *watcher = new QFutureWatcher<QImage>(receiver);
    QObject::connect(watcher, &QFutureWatcherBase::finished, watcher, [watcher, done = std::move(done)] {
        done(watcher->result());
        watcher->deleteLater();
    });
    auto promise = std::make_shared<QPromise<QImage>>();
    watcher->setFuture(promise->future());
    auto decode = [this, promise, path, shownSize] {
        m_decoders.start([promise, path, shownSize] {
            // Linux ignores thread priorities under its normal scheduling, but
            // each thread has a nice value of its own ("0" is this thread).
            QThread::currentThread()->setPriority(QThread::LowPriority);
#ifdef Q_OS_LINUX
            setpriority(PRIO_PROCESS, 0, 10);
#endif
            promise->start();
            promise->addResult(decodePicture(path, shownSize));
            promise->finish();
        });
    };
    // A window still being built shows its first frame first: decoding
    // alongside slows the frame down more than it speeds up the picture.
    auto *window = qobject_cast<QWidget *>(receiver);
    if (window && !window->isVisible())
        new AfterFirstFrame(window, decode);
    else
        decode();
}

RealPlatform::RealPlatform()
    : m_dialogs(makeNativeFileDialogs()),
      m_launcher(makeNativeLauncher()),
      m_media(makeNativeMediaControl()),
      m_system(makeNativeSystemInfo()),
      m_files(makeNativeFileSystem())
{
}

RealPlatform::~RealPlatform() = default;

Platform RealPlatform::platform()
{
    return Platform{m_messages, m_input, *m_dialogs, *m_launcher, *m_media, *m_system, *m_files, m_pictures};
}

}  // namespace vidorun
