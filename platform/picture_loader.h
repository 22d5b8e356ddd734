#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace vidorun {

// Loads a picture file, decoded at (about) the size it is shown at.
// Answers a null image when the file is no picture the loader can read.
class PictureLoader {
public:
    virtual ~PictureLoader() = default;
    virtual QImage load(const QString &path, const QSize &shownSize) = 0;
};

}  // namespace vidorun
