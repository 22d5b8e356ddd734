// The platform code on Linux and other Unix systems.
#include "platform/native.h"

namespace vidorun {
namespace {

// Windows numbers its platforms 0 (Win32s), 1 (the Windows 95 family) and
// 2 (the NT family); Windows tools give Unix the number 4. What matters is
// only that it is not 2: this is no Windows NT.
constexpr int UnixPlatformId = 4;

class UnixSystemInfo final : public SystemInfo {
public:
    int platformId() override { return UnixPlatformId; }
};

}  // namespace

std::unique_ptr<SystemInfo> makeNativeSystemInfo() { return std::make_unique<UnixSystemInfo>(); }

}  // namespace vidorun
