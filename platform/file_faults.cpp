// The hook through which tests fail the system's file calls on purpose.
#include "platform/publish_files.h"

#include <utility>

namespace vidorun {
namespace {

FileFaultHook &hook()
{
    static FileFaultHook installed;
    return installed;
}

}  // namespace

void setFileFaultHook(FileFaultHook installed)
{
    hook() = std::move(installed);
}

int fileFault(FileCall call, const std::string &path)
{
    return hook() ? hook()(call, path) : 0;
}

}  // namespace vidorun
