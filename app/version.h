#pragma once

// The program's version, shown as "4.0".
#include <string>

namespace vidorun {

constexpr int VersionMajor = VIDORUN_VERSION_MAJOR;
constexpr int VersionMinor = VIDORUN_VERSION_MINOR;

inline std::string versionText()
{
    return std::to_string(VersionMajor) + '.' + std::to_string(VersionMinor);
}

}  // namespace vidorun
