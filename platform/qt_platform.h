#pragma once

#include "platform/platform.h"
#include "platform/qt_pictures.h"

#include <QThreadPool>

#include <memory>

namespace vidorun {

class QtMessageBoxes final : public MessageBoxes {
public:
    MsgAnswer show(QWidget *parent, const QString &text, const QString &title, int style) override;
};

class QtInputBox final : public InputBox {
public:
    QString ask(QWidget *parent, const QString &prompt, const QString &title,
                const QString &defaultAnswer) override;
};

// Decodes with QImageReader at the size shown (decodePicture, with its
// limits: qt_pictures.h).
class QtPictureLoader final : public PictureLoader {
public:
    static constexpr qint64 MaxPicturePixels = vidorun::MaxPicturePixels;
    static constexpr int MaxDecodedMegabytes = vidorun::MaxDecodedMegabytes;

    QtPictureLoader();
    QImage load(const QString &path, const QSize &shownSize) override;
    // Decodes on a thread of its own, at a lower priority than the window's,
    // so that the window comes first when the processor is busy; for a
    // window not shown yet, once it has painted its first frame.
    void loadInBackground(const QString &path, const QSize &shownSize, QObject *receiver,
                          std::function<void(const QImage &)> done) override;

private:
    QThreadPool m_decoders;
};

// The services the program runs with on this system.
class RealPlatform {
public:
    RealPlatform();
    ~RealPlatform();
    Platform platform();

private:
    QtMessageBoxes m_messages;
    QtInputBox m_input;
    std::unique_ptr<FileDialogs> m_dialogs;
    QtPictureLoader m_pictures;
    std::unique_ptr<Launcher> m_launcher;
    std::unique_ptr<MediaControl> m_media;
    std::unique_ptr<SystemInfo> m_system;
    std::unique_ptr<FileSystem> m_files;
};

}  // namespace vidorun
