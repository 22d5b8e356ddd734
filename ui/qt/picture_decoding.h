#pragma once

// Decoding picture files for showing, with the program's limits.
#include "platform/picture_loader.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

class QThreadPool;
class QWidget;

namespace vidorun {

// Pictures over MaxPicturePixels (the loaders' common limit) are refused
// from their header alone, and no decode may allocate more than
// MaxDecodedMegabytes, so a hostile cover can't exhaust memory.
inline constexpr int MaxDecodedMegabytes = 128;

// Sets the allocation limit for every decode of the process, also of
// pictures whose size is only known once decoding starts.
void limitPictureDecoding();

// The picture file at `path` decoded with QImageReader, no larger than
// `shownSize` needs (an invalid or empty size: full size); a null image
// when it is no regular file or no picture that may be read.
QImage decodePicture(const QString &path, const QSize &shownSize);

// Runs `work` on `pool` at a lower priority than the windows' thread, so
// that the windows come first when the processor is busy.
void startAtLowPriority(QThreadPool &pool, std::function<void()> work);

// Runs `step` once `window` has painted its first frame (on its thread);
// dropped if the window goes first.
void afterFirstFrame(QWidget *window, std::function<void()> step);

}  // namespace vidorun
