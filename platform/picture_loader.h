#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

class QObject;

namespace vidorun {

// Loads a picture file, decoded at (about) the size it is shown at.
// Answers a null image when the file is no picture the loader can read.
class PictureLoader {
public:
    virtual ~PictureLoader() = default;
    virtual QImage load(const QString &path, const QSize &shownSize) = 0;

    // The same, without keeping `receiver`'s thread waiting: the picture is
    // handed to `done` on that thread once it is decoded, unless `receiver`
    // is gone by then. A large photo takes longer to decode than the whole
    // window takes to come up. This plain version decodes at once and calls
    // `done` before it returns.
    virtual void loadInBackground(const QString &path, const QSize &shownSize, QObject *receiver,
                                  std::function<void(const QImage &)> done)
    {
        (void)receiver;
        done(load(path, shownSize));
    }
};

}  // namespace vidorun
