#include "ui/qt/qt_pictures.h"

#include "ui/qt/picture_decoding.h"
#include "ui/qt/qt_controls.h"
#include "ui/qt/qt_front_end.h"

#include <QWidget>

namespace vidorun::ui::qt {

namespace {

std::shared_ptr<const Picture> decoded(const QString &path, const QSize &shownSize)
{
    QImage image = decodePicture(path, shownSize);
    if (image.isNull())
        return nullptr;
    return std::make_shared<QtPicture>(std::move(image));
}

}  // namespace

std::shared_ptr<const Picture> loadPicture(std::string_view path, int shownWidth, int shownHeight)
{
    limitPictureDecoding();
    return decoded(toQString(path), QSize(shownWidth, shownHeight));
}

QtPictureLoader::QtPictureLoader(FrontEnd &frontEnd) : m_frontEnd(frontEnd), m_alive(std::make_shared<bool>(true))
{
    limitPictureDecoding();
}

QtPictureLoader::~QtPictureLoader()
{
    *m_alive = false;
    m_decoders.waitForDone();
}

void QtPictureLoader::loadInBackground(std::string_view path, int shownWidth, int shownHeight,
                                       std::function<void(std::shared_ptr<const Picture>)> done,
                                       const WindowView *firstFrameOf)
{
    auto decode = [this, alive = m_alive, file = toQString(path), size = QSize(shownWidth, shownHeight),
                   done = std::move(done)]() mutable {
        if (!*alive)
            return;
        FrontEnd &frontEnd = m_frontEnd;
        startAtLowPriority(m_decoders, [&frontEnd, alive, file, size, done = std::move(done)]() mutable {
            std::shared_ptr<const Picture> picture = decoded(file, size);
            frontEnd.post([alive, picture = std::move(picture), done = std::move(done)] {
                if (*alive)
                    done(picture);
            });
        });
    };
    QWidget *window = firstFrameOf ? windowWidget(*firstFrameOf) : nullptr;
    if (window && !window->isVisible())
        afterFirstFrame(window, std::move(decode));
    else
        decode();
}

}  // namespace vidorun::ui::qt
