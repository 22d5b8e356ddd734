#pragma once

namespace vidorun {

// The operating system's platform code; 2 is the Windows NT family.
class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    virtual int platformId() = 0;
};

}  // namespace vidorun
