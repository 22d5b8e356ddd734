#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vidorun {

// The largest picture a loader decodes, in pixels: a bigger one is no
// picture to it, and the disc check says so of a cover that size.
constexpr std::int64_t MaxPicturePixels = 12000LL * 12000;

namespace ui {
class Picture;
}

using PictureHandle = std::shared_ptr<const ui::Picture>;

// Loads a picture file for a picture frame of `width` × `height` pixels,
// decoded at (about) the size it is shown at. Answers nothing when the file
// is no picture the loader can read.
class PictureLoader {
public:
    virtual ~PictureLoader() = default;
    virtual PictureHandle load(const std::string &path, int width, int height) = 0;

    // The same, without keeping the windows waiting: the picture is handed
    // to `done` on the windows' thread once it is decoded. A large photo
    // takes longer to decode than the whole window takes to come up. This
    // plain version decodes at once and calls `done` before it returns.
    virtual void loadInBackground(const std::string &path, int width, int height,
                                  std::function<void(PictureHandle)> done)
    {
        done(load(path, width, height));
    }
};

}  // namespace vidorun
