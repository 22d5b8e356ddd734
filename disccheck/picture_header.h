#pragma once

// What a picture file's header says of it, read from the header alone: the
// kinds of picture a cover comes in (JPEG, PNG, GIF and BMP) and the size.
// The header is held to what the program's decoders take for a picture, so
// that a file they refuse is no picture here either.
#include "platform/publish_files.h"

#include <optional>
#include <string>

namespace vidorun {

struct PictureHeader {
    std::string format;  // "jpeg", "png", "gif" or "bmp"
    int width = 0;
    int height = 0;
};

// Reads the header of the picture in `file` from where the file stands;
// nothing when the file is no picture of those kinds, or its header tells
// no size. A JPEG is read up to its first scan, the rest only up to its size.
std::optional<PictureHeader> readPictureHeader(ReadableFile &file);

}  // namespace vidorun
