#include "platform/unix_media_control.h"

#include "base/text.h"
#include "platform/native.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>
#if defined(__linux__)
#include <linux/cdrom.h>
#endif

namespace vidorun {
namespace {

enum class TrayRequest { Open, Close, Unknown };

TrayRequest parseCommand(const std::string &command)
{
    // The words between blanks, in any letter case.
    std::vector<std::string> words;
    std::string word;
    for (const char c : command + ' ') {
        if (std::isspace(static_cast<unsigned char>(c))) {
            if (!word.empty())
                words.push_back(asciiLower(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (words.size() != 4 || words[0] != "set" || words[1] != "cdaudio" || words[2] != "door")
        return TrayRequest::Unknown;
    if (words[3] == "open")
        return TrayRequest::Open;
    if (words[3] == "closed")
        return TrayRequest::Close;
    return TrayRequest::Unknown;
}

}  // namespace

UnixMediaControl::UnixMediaControl(std::vector<std::string> drives) : m_drives(std::move(drives)) {}

int UnixMediaControl::sendString(const std::string &command)
{
    const TrayRequest request = parseCommand(command);
    if (request == TrayRequest::Unknown)
        return MciError::UnrecognizedCommand;
#if defined(__linux__)
    // Non-blocking: the drive opens even without a disc, and a missing or
    // busy drive answers at once instead of freezing the window.
    int fd = -1;
    for (const std::string &drive : m_drives) {
        fd = ::open(drive.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0)
            break;
    }
    if (fd < 0)
        return MciError::InvalidDeviceName;
    const int done = ::ioctl(fd, request == TrayRequest::Open ? CDROMEJECT : CDROMCLOSETRAY, 0);
    ::close(fd);
    return done == 0 ? MciError::None : MciError::Hardware;
#else
    return MciError::UnsupportedFunction;
#endif
}

std::unique_ptr<MediaControl> makeNativeMediaControl() { return std::make_unique<UnixMediaControl>(); }

}  // namespace vidorun
