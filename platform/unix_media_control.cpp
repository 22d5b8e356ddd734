// The CD tray and the platform code on Linux and other Unix systems.
#include "platform/native.h"

namespace vidorun {
namespace {

class UnixMediaControl final : public MediaControl {
public:
    int sendString(const std::string &) override { return 0; }
};

class UnixSystemInfo final : public SystemInfo {
public:
    int platformId() override { return 0; }
};

}  // namespace

std::unique_ptr<MediaControl> makeNativeMediaControl() { return std::make_unique<UnixMediaControl>(); }
std::unique_ptr<SystemInfo> makeNativeSystemInfo() { return std::make_unique<UnixSystemInfo>(); }

}  // namespace vidorun
