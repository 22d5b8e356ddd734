#pragma once

// Makes one disc in OUTDIR: its folder and, when asked, its image. Each is
// assembled under a temporary name beside its place and put there only when
// complete; whatever stops it on the way (an unreadable movie, a full disk,
// Ctrl+C), nothing of it is left behind and everything else stays as it was.
#include "platform/publish_files.h"
#include "publish/disc_layout.h"

#include <QString>

namespace vidorun {

struct DiscOutputs {
    QString folder;  // OUTDIR/<name>
    QString image;   // OUTDIR/<name>.iso; empty for no image
};

struct MadeDisc {
    bool made = false;
    bool stopped = false;  // the progress asked to stop; then `reason` says nothing more
    qint64 imageBytes = 0;
    QString reason;        // why it was not made
};

// The work make() reports in all for `disc`, in bytes moved.
qint64 discWork(const DiscLayout &disc, bool image);

// Makes the disc at `outputs`. An output that is already there is replaced
// only with `replace`, and only once the new one is complete. `progress`
// hears of the work done so far and stops the making by answering false.
MadeDisc makeDisc(const DiscLayout &disc, const DiscOutputs &outputs, bool replace, PublishFiles &files,
                  const CopyProgress &progress);

}  // namespace vidorun
