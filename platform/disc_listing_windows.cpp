// The disc check's listing on Windows, from the folder's own listing: a
// symbolic link or a junction (a folder that leads elsewhere, to a parent or
// a whole drive as well) is a link, never walked into.
#include "platform/disc_listing.h"

#include "platform/file_places.h"
#include "platform/win32_api.h"
#include "platform/windows_text.h"

#include <algorithm>
#include <array>
#include <cwctype>

namespace vidorun {

namespace {

// What Windows lets everyone do, as Unix permission bits: every file can be
// read, written unless it is read-only, and run when it is a folder or a
// program by its extension.
unsigned permissionsOf(DWORD attributes, std::wstring_view name)
{
    unsigned permissions = 0444;
    if (!(attributes & FILE_ATTRIBUTE_READONLY))
        permissions |= 0222;
    bool runs = attributes & FILE_ATTRIBUTE_DIRECTORY;
    const std::size_t dot = name.rfind(L'.');
    if (!runs && dot != std::wstring_view::npos) {
        std::wstring extension(name.substr(dot + 1));
        for (wchar_t &c : extension)
            c = wchar_t(std::towlower(c));
        static const std::array<std::wstring_view, 5> programs = {L"exe", L"com", L"bat", L"pif", L"cmd"};
        runs = std::find(programs.begin(), programs.end(), extension) != programs.end();
    }
    return runs ? permissions | 0111 : permissions;
}

bool isLink(const WIN32_FIND_DATAW &found)
{
    return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
           && (found.dwReserved0 == IO_REPARSE_TAG_SYMLINK || found.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
}

}  // namespace

bool FolderListing::list(const std::string &folder, std::vector<ListedEntry> &entries)
{
    const DWORD attributes = ::GetFileAttributesW(widePath(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW(widePath(folder + "/*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        const std::wstring_view name(found.cFileName);
        if (name == L"." || name == L"..")
            continue;
        ListedEntry entry;
        entry.name = narrow(name);
        entry.permissions = permissionsOf(found.dwFileAttributes, name);
        if (isLink(found)) {
            entry.kind = EntryKind::Link;
            entry.linkTarget = canonicalPath(folder + '/' + entry.name);
        } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            entry.kind = EntryKind::Folder;
        } else {
            entry.kind = EntryKind::File;
            entry.size = std::int64_t((std::uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow);
        }
        entries.push_back(std::move(entry));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return true;
}

PathLook lookAt(const std::string &path)
{
    PathLook look;
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(widePath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return look;
    look.kind = (attributes & FILE_ATTRIBUTE_DIRECTORY) ? FileKind::Folder : FileKind::File;
    look.readable = true;
    look.permissions = permissionsOf(attributes, wide(nameInPath(path)));
    return look;
}

bool holdsEntry(const std::string &folder, const std::function<bool(std::string_view name)> &matches)
{
    WIN32_FIND_DATAW found;
    const HANDLE search = ::FindFirstFileW(widePath(folder + "/*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    bool held = false;
    do {
        const std::wstring_view name(found.cFileName);
        held = name != L"." && name != L".." && matches(narrow(name));
    } while (!held && ::FindNextFileW(search, &found));
    ::FindClose(search);
    return held;
}

}  // namespace vidorun
