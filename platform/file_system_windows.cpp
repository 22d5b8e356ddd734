// File tests and path lookups on Windows, which already ignores letter case
// and takes both separators: paths are used as they are.
#include "platform/file_test.h"
#include "platform/native.h"

namespace vidorun {
namespace {

class WindowsFileSystem final : public FileSystem {
public:
    bool fileExists(const std::string &path) override { return !path.empty() && isReadableRegularFile(path); }
    std::string resolve(const std::string &path) override { return path; }
};

}  // namespace

std::unique_ptr<FileSystem> makeNativeFileSystem() { return std::make_unique<WindowsFileSystem>(); }

}  // namespace vidorun
