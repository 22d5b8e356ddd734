// The file test on Windows.
#include "platform/file_test.h"

#include "platform/win32_api.h"
#include "platform/windows_text.h"

namespace vidorun {

bool isReadableRegularFile(const std::string &path)
{
    // A name with a NUL in it names no file; Windows would stop at the NUL
    // and test another one.
    if (path.empty() || path.find('\0') != std::string::npos)
        return false;
    const std::wstring name = widePath(path);
    if (name.empty())
        return false;
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;

    // Open as an existing file, sharing it with everyone, as a reader would.
    const HANDLE file = ::CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        switch (::GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_ACCESS_DENIED:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_NETPATH:
        case ERROR_BAD_NET_NAME:
        case ERROR_INVALID_DRIVE:
        case ERROR_DIRECTORY:
            return false;
        default:
            return true;  // there, but locked, or the drive is not ready
        }
    }
    // Console and device names ("CON", "NUL", "COM1") and pipes open too.
    const bool disk = ::GetFileType(file) == FILE_TYPE_DISK;
    ::CloseHandle(file);
    return disk;
}

}  // namespace vidorun
