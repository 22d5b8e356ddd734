// File tests and path lookups on Linux and other Unix systems, where a disc
// made on Windows shows its names in another letter case and its paths use
// "\" and drive letters.
#include "platform/disc_path.h"
#include "platform/file_test.h"
#include "platform/native.h"

#include <cstdlib>
#include <unistd.h>

namespace vidorun {
namespace {

std::string workingFolder()
{
    char *here = ::getcwd(nullptr, 0);
    const std::string folder = here ? here : ".";
    std::free(here);
    return folder;
}

class UnixFileSystem final : public FileSystem {
public:
    bool fileExists(const std::string &path) override
    {
        return !path.empty() && isReadableRegularFile(resolve(path));
    }

    std::string resolve(const std::string &path) override
    {
        return path.empty() ? path : resolveDiscPath(path, workingFolder());
    }
};

}  // namespace

std::unique_ptr<FileSystem> makeNativeFileSystem() { return std::make_unique<UnixFileSystem>(); }

}  // namespace vidorun
