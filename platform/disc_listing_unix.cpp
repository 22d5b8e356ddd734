// The disc check's listing on Linux and other Unix systems: one look at each
// entry, without following it, so that a disc of thousands of files is
// listed in a few milliseconds.
#include "platform/disc_listing.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vidorun {

bool FolderListing::list(const std::string &folder, std::vector<ListedEntry> &entries)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    DIR *dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    while (const dirent *found = ::readdir(dir)) {
        const std::string_view name(found->d_name);
        if (name == "." || name == "..")
            continue;
        ListedEntry entry;
        entry.name = std::string(name);
        struct stat info;
        if (::fstatat(fd, found->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
            entries.push_back(std::move(entry));
            continue;
        }
        entry.permissions = unsigned(info.st_mode) & 0777;
        if (S_ISLNK(info.st_mode)) {
            entry.kind = EntryKind::Link;
            const std::string path = folder + '/' + entry.name;
            if (char *target = ::realpath(path.c_str(), nullptr)) {
                entry.linkTarget = target;
                std::free(target);
            } else {
                entry.linkLoops = errno == ELOOP;
            }
        } else if (S_ISDIR(info.st_mode)) {
            entry.kind = EntryKind::Folder;
        } else if (S_ISREG(info.st_mode)) {
            entry.kind = EntryKind::File;
            entry.size = std::int64_t(info.st_size);
            entry.dataShared = info.st_nlink > 1
                               && !m_linkedFiles.emplace(std::uint64_t(info.st_dev), std::uint64_t(info.st_ino)).second;
        }
        entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    return true;
}

PathLook lookAt(const std::string &path)
{
    PathLook look;
    struct stat info;
    if (path.empty() || path.find('\0') != std::string::npos || ::stat(path.c_str(), &info) != 0)
        return look;
    look.kind = S_ISREG(info.st_mode) ? FileKind::File : S_ISDIR(info.st_mode) ? FileKind::Folder : FileKind::Special;
    look.readable = ::access(path.c_str(), R_OK) == 0;
    look.permissions = unsigned(info.st_mode) & 0777;
    return look;
}

bool holdsEntry(const std::string &folder, const std::function<bool(std::string_view name)> &matches)
{
    DIR *dir = folder.find('\0') == std::string::npos ? ::opendir(folder.c_str()) : nullptr;
    if (!dir)
        return false;
    bool found = false;
    while (const dirent *entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name != "." && name != ".." && matches(name)) {
            found = true;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

}  // namespace vidorun
