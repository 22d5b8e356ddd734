#pragma once

// The CD tray on Linux: the two media control strings of the tray toggle,
// carried out with the CD-ROM driver's eject and close-tray requests.
#include "platform/media_control.h"

#include <string>
#include <vector>

namespace vidorun {

// Media control error codes, as the Windows interface numbers them.
namespace MciError {
constexpr int None = 0;
constexpr int Hardware = 262;              // the drive refused
constexpr int InvalidDeviceName = 263;     // no drive to talk to
constexpr int UnrecognizedCommand = 261;   // not one of the strings we know
constexpr int UnsupportedFunction = 274;   // no tray control on this system
}  // namespace MciError

class UnixMediaControl final : public MediaControl {
public:
    // The default CD drive is the first of `drives` that can be opened.
    explicit UnixMediaControl(std::vector<std::string> drives = {"/dev/cdrom", "/dev/sr0"});

    // Understands "set CDAudio door open" and "set CDAudio door closed"
    // (words in any letter case). Never waits for a drive that is missing,
    // busy or not ours to use: it answers an error code at once.
    int sendString(const std::string &command) override;

private:
    std::vector<std::string> m_drives;
};

}  // namespace vidorun
