#pragma once

// The disc image: ISO 9660 with Joliet names (what Windows reads) and Rock
// Ridge names and permissions (what Linux reads, autorun.sh's executable
// bit among them), written by libarchive's ISO 9660 writer.
#include "platform/publish_files.h"
#include "publish/disc_layout.h"

#include <cstdint>
#include <string>

namespace vidorun {

struct ImageOutcome {
    bool written = false;
    std::int64_t bytes = 0;
    std::string reason;  // why not, in the system's or libarchive's words
    // The disc's file (its path on the disc) that could not be read; empty
    // when writing the image failed.
    std::string readingFile;
};

// Writes the image of the disc folder `root`, assembled after `disc`, to the
// new file `target`. The files' bytes are read from `root` through `files`.
// libarchive holds them in a temporary file until it knows where each goes:
// that file is made in `stagingFolder` and is gone when the writing ends,
// however it ends. `progress` hears of the bytes read and written so far
// (about three times the disc's bytes in all) and stops the writing by
// answering false.
ImageOutcome writeDiscImage(const DiscLayout &disc, const std::string &root, const std::string &target,
                            const std::string &stagingFolder, PublishFiles &files, const CopyProgress &progress);

// Why the names on a disc whose image is written here must keep to ASCII;
// empty when they need not. On Windows libarchive makes the Rock Ridge names
// (those Linux reads) in the C runtime's code page, which can't be UTF-8:
// a letter beyond ASCII would reach Linux as another byte, or not at all.
std::string imageNamesAsciiBecause();

// The work writeDiscImage() reports for a disc of `discBytes`: each byte
// read, staged, and written once more into the image.
constexpr std::int64_t imageWork(std::int64_t discBytes)
{
    return 3 * discBytes;
}

}  // namespace vidorun
