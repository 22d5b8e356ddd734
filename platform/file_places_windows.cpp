// Paths on Windows, through the wide API.
#include "platform/file_places.h"

#include "platform/win32_api.h"
#include "platform/windows_text.h"

#include <vector>

namespace vidorun {

namespace {

std::string withSlashes(std::wstring_view path)
{
    std::string text = narrow(path);
    for (char &c : text)
        c = c == '\\' ? '/' : c;
    return text;
}

// The path the system keeps for an open file, without the "\\?\" it puts
// before it: "C:/Movies", "//server/share/Movies".
std::string finalPath(HANDLE file)
{
    std::vector<wchar_t> buffer(32768);
    const DWORD length = ::GetFinalPathNameByHandleW(file, buffer.data(), DWORD(buffer.size()), FILE_NAME_NORMALIZED);
    if (length == 0 || length >= buffer.size())
        return {};
    std::wstring path(buffer.data(), length);
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0)
        path = L"\\\\" + path.substr(8);
    else if (path.rfind(L"\\\\?\\", 0) == 0)
        path = path.substr(4);
    return withSlashes(path);
}

}  // namespace

std::string currentFolder()
{
    const DWORD length = ::GetCurrentDirectoryW(0, nullptr);
    if (length == 0)
        return {};
    std::wstring folder(length, L'\0');
    folder.resize(::GetCurrentDirectoryW(length, folder.data()));
    return withSlashes(folder);
}

bool setCurrentFolder(const std::string &path)
{
    return ::SetCurrentDirectoryW(widePath(path).c_str()) != 0;
}

std::string absolutePath(std::string_view path)
{
    if (path.empty())
        return currentFolder();
    std::wstring given = wide(path);
    for (wchar_t &c : given)
        c = c == L'/' ? L'\\' : c;
    const DWORD length = ::GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
    if (length == 0)
        return withSlashes(given);
    std::wstring full(length, L'\0');
    full.resize(::GetFullPathNameW(given.c_str(), length, full.data(), nullptr));
    // A folder keeps no trailing separator, but a drive's root does.
    while (full.size() > 3 && full.back() == L'\\')
        full.pop_back();
    return withSlashes(full);
}

std::string absoluteFolderOf(std::string_view path)
{
    return absolutePath(std::string(path) + "/..");
}

std::string nameInPath(std::string_view path)
{
    const std::size_t separator = path.find_last_of("/\\");
    std::string_view name = separator == std::string_view::npos ? path : path.substr(separator + 1);
    if (separator == std::string_view::npos && name.size() >= 2 && name[1] == ':')
        name.remove_prefix(2);
    return std::string(name);
}

std::string canonicalPath(const std::string &path)
{
    if (path.empty())
        return {};
    const HANDLE file = ::CreateFileW(widePath(path).c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    const std::string found = finalPath(file);
    ::CloseHandle(file);
    // Wine names no open file whose path is longer than the old limit of 260
    // characters: its full path as given stands for it then.
    return found.empty() ? absolutePath(path) : found;
}

FileKind kindAt(const std::string &path)
{
    if (path.empty())
        return FileKind::Missing;
    const DWORD attributes = ::GetFileAttributesW(widePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return FileKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? FileKind::Folder : FileKind::File;
}

std::string runningProgramPath()
{
    std::vector<wchar_t> buffer(32768);
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
    if (length == 0 || length >= buffer.size())
        return {};
    return withSlashes(std::wstring_view(buffer.data(), length));
}

}  // namespace vidorun
