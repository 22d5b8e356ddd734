// Writes the image of a disc folder as vidorun --publish --iso does, and
// tells how long libarchive's two steps took: taking the files in (each one
// read and staged in its temporary file) and writing the image out.
//   bench_disc_image FOLDER IMAGE [LABEL]
// Prints one line: "bytes=... staging_ms=... writing_ms=... peak_kb=...".
#include "platform/console.h"
#include "platform/disc_listing.h"
#include "platform/file_places.h"
#include "platform/peak_memory.h"
#include "platform/publish_files.h"
#include "publish/disc_image.h"
#include "publish/safe_names.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

using namespace vidorun;

int main(int argc, char *argv[])
{
    const std::vector<std::string> arguments = programArguments(argc, argv);
    if (arguments.size() < 3) {
        std::fprintf(stderr, "usage: bench_disc_image FOLDER IMAGE [LABEL]\n");
        return 2;
    }
    const std::string root = absolutePath(arguments[1]);
    const std::string image = absolutePath(arguments[2]);
    const std::unique_ptr<PublishFiles> files = makeNativePublishFiles();
    DiscLayout disc;
    disc.volumeId = volumeIdentifier(arguments.size() > 3 ? arguments[3] : "BENCH");
    std::string reason;
    const std::optional<std::vector<TreeEntry>> tree = files->listTree(root, reason);
    if (!tree) {
        std::fprintf(stderr, "bench_disc_image: %s\n", reason.c_str());
        return 1;
    }
    for (const TreeEntry &entry : *tree) {
        const std::string path = root + '/' + entry.path;
        if (entry.folder)
            disc.folders.push_back(entry.path);
        else
            disc.files.push_back({entry.path, path, {}, (lookAt(path).permissions & 0111) != 0, entry.bytes});
    }
    std::sort(disc.folders.begin(), disc.folders.end());  // parents before what they hold

    using Clock = std::chrono::steady_clock;
    const auto since = [start = Clock::now()] {
        return std::int64_t(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
    };
    std::int64_t stagedAt = -1;
    const std::int64_t staged = 2 * disc.bytes();
    const ImageOutcome outcome =
        writeDiscImage(disc, root, image, absoluteFolderOf(image), *files, [&](std::int64_t done) {
            if (stagedAt < 0 && done > staged)
                stagedAt = since();
            return true;
        });
    const std::int64_t total = since();
    if (!outcome.written) {
        std::fprintf(stderr, "bench_disc_image: %s\n", outcome.reason.c_str());
        return 1;
    }
    std::printf("bytes=%lld staging_ms=%lld writing_ms=%lld peak_kb=%ld\n", static_cast<long long>(outcome.bytes),
                static_cast<long long>(stagedAt), static_cast<long long>(total - stagedAt), peakResidentKb());
    return 0;
}
