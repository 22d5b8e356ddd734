#pragma once

// Pictures for the Qt front end's picture frames, and their loader.
#include "ui/window_view.h"

#include <QImage>
#include <QThreadPool>

#include <functional>
#include <memory>
#include <string_view>

namespace vidorun::ui::qt {

// A decoded picture; a picture frame shows it scaled as its description says.
class QtPicture final : public Picture {
public:
    explicit QtPicture(QImage image) : m_image(std::move(image)) {}
    const QImage &image() const { return m_image; }

private:
    QImage m_image;
};

// The picture file at `path` (UTF-8), decoded no larger than shown at
// `shownWidth` × `shownHeight`; nothing when the file is missing, no
// picture, or larger than any picture may be (ui/qt/picture_decoding.h).
std::shared_ptr<const Picture> loadPicture(std::string_view path, int shownWidth, int shownHeight);

// Decodes picture files on a thread of its own, at a lower priority than the
// windows', and hands each picture back through the front end's post(): on
// the windows' thread, once the event being handled then is over.
class QtPictureLoader {
public:
    explicit QtPictureLoader(FrontEnd &frontEnd);
    // Waits for the decodes under way; pictures not handed back yet are
    // dropped.
    ~QtPictureLoader();
    QtPictureLoader(const QtPictureLoader &) = delete;
    QtPictureLoader &operator=(const QtPictureLoader &) = delete;

    // As loadPicture, in the background; `done` gets the picture, or nothing.
    // For a window of this front end that is not shown yet (`firstFrameOf`),
    // decoding starts once it has painted its first frame: decoding
    // alongside slows the frame down more than it speeds up the picture.
    void loadInBackground(std::string_view path, int shownWidth, int shownHeight,
                          std::function<void(std::shared_ptr<const Picture>)> done,
                          const WindowView *firstFrameOf = nullptr);

private:
    FrontEnd &m_frontEnd;
    std::shared_ptr<bool> m_alive;  // false once the loader is gone; read on the windows' thread only
    QThreadPool m_decoders;
};

}  // namespace vidorun::ui::qt
