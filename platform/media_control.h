#pragma once

#include <string>

namespace vidorun {

// The media control interface: takes command strings such as
// "set CDAudio door open" and answers an error code (0 for success).
class MediaControl {
public:
    virtual ~MediaControl() = default;
    virtual int sendString(const std::string &command) = 0;
};

}  // namespace vidorun
