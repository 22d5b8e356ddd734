#include "platform/qt_platform.h"

#include "platform/native.h"
#include "platform/qt_message_box.h"
#include "platform/qt_pictures.h"

#include <QFutureWatcher>
#include <QInputDialog>
#include <QPromise>
#include <QWidget>

#include <memory>

namespace vidorun {

MsgAnswer QtMessageBoxes::show(QWidget *parent, const QString &text, const QString &title, int style)
{
    return showQtMessageBox(parent, text, title, style);
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
    limitPictureDecoding();
}

QImage QtPictureLoader::load(const QString &path, const QSize &shownSize)
{
    return decodePicture(path, shownSize);
}

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
        startAtLowPriority(m_decoders, [promise, path, shownSize] {
            promise->start();
            promise->addResult(decodePicture(path, shownSize));
            promise->finish();
        });
    };
    // A window still being built shows its first frame first: decoding
    // alongside slows the frame down more than it speeds up the picture.
    auto *window = qobject_cast<QWidget *>(receiver);
    if (window && !window->isVisible())
        afterFirstFrame(window, decode);
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
