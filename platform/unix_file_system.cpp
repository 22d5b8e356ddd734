// File tests and path lookups on Linux and other Unix systems, where a disc
// made on Windows shows its names in another letter case and its paths use
// "\" and drive letters.
#include "platform/disc_path.h"
#include "platform/file_test.h"
#include "platform/file_places.h"
#include "platform/native.h"

#include <cstdlib>
#include <unistd.h>

namespace vidorun {
namespace {

class UnixFileSystem final : public FileSystem {
public:
    bool fileExists(const std::string &path) override
    {
        return !path.empty() && isReadableRegularFile(resolve(path));
    }

    std::string resolve(const std::string &path) override
    {
        return path.empty() ? path : resolveDiscPath(path, currentFolder());
    }
};

}  // namespace

std::unique_ptr<FileSystem> makeNativeFileSystem() { return std::make_unique<UnixFileSystem>(); }

}  // namespace vidorun
