#include "platform/disc_path.h"

#include "projectfile/letter_case.h"

#ifndef _WIN32
#include <dirent.h>
#include <sys/stat.h>
#endif

#include <optional>
#include <vector>

namespace vidorun {
namespace {

// Whether an entry's name equals a name already folded, but for letter
// case. Most names on a disc are plain ASCII; they are compared without
// decoding.
bool matchesIgnoringCase(std::string_view entry, const std::string &folded)
{
    bool ascii = true;
    for (const char c : entry) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (!ascii)
        return fileNameFoldUtf8(entry) == folded;
    if (entry.size() != folded.size())
        return false;
    for (std::size_t i = 0; i < entry.size(); ++i) {
        const char c = entry[i];
        if (((c >= 'A' && c <= 'Z') ? char(c + 0x20) : c) != folded[i])
            return false;
    }
    return true;
}

bool isSeparator(char c)
{
    return c == '/' || c == '\\';
}

// The entry of `folder` whose name equals `name` but for letter case; the
// first in byte order when there are several.
std::optional<std::string> findIgnoringCase(DiscFolders &folders, const std::string &folder, const std::string &name)
{
    const std::string wanted = fileNameFoldUtf8(name);
    std::optional<std::string> best;
    folders.forEachEntry(folder, [&](std::string_view entryName) {
        if (best && entryName >= *best)
            return;
        if (matchesIgnoringCase(entryName, wanted))
            best = std::string(entryName);
    });
    return best;
}

#ifndef _WIN32
// The folders as the system shows them.
class SystemFolders final : public DiscFolders {
public:
    bool exists(const std::string &path) override
    {
        // A name with a NUL in it names no file; the system would stop at the NUL.
        if (path.find('\0') != std::string::npos)
            return false;
        struct stat info;
        return ::lstat(path.c_str(), &info) == 0;
    }

    void forEachEntry(const std::string &folder, const std::function<void(std::string_view)> &visit) override
    {
        DIR *dir = ::opendir(folder.c_str());
        if (!dir)
            return;
        while (const dirent *entry = ::readdir(dir)) {
            const std::string_view entryName(entry->d_name);
            if (entryName != "." && entryName != "..")
                visit(entryName);
        }
        ::closedir(dir);
    }
};
#endif

}  // namespace

#ifndef _WIN32
std::string resolveDiscPath(std::string_view path, const std::string &workingFolder)
{
    SystemFolders folders;
    return resolveDiscPath(path, workingFolder, folders);
}
#endif

std::string resolveDiscPath(std::string_view path, const std::string &workingFolder, DiscFolders &folders)
{
    if (path.empty())
        return std::string();

    std::string folder = workingFolder.empty() ? std::string(".") : workingFolder;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    auto inWorkingFolder = [&folder](const std::string &relative) {
        if (relative.empty())
            return folder;
        return folder == "/" ? folder + relative : folder + '/' + relative;
    };

    // A path that is there as written is used as written: Unix paths, and
    // everything that already works here, stay untouched.
    const std::string written(path);
    const bool unixAbsolute = path.front() == '/';
    const std::string writtenOnDisk = unixAbsolute ? written : inWorkingFolder(written);
    if (folders.exists(writtenOnDisk))
        return written;

    // Where the components start from: the file system's root for a Unix
    // absolute path or a network path, the working folder for everything
    // Windows would take as relative to the disc ("D:\", "\", ".\", none).
    const bool networkPath = path.size() >= 2 && isSeparator(path[0]) && isSeparator(path[1]);
    const bool fromRoot = unixAbsolute || networkPath;
    std::size_t start = 0;
    if (path.size() >= 2 && path[1] == ':'
        && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')))
        start = 2;

    // Split at either separator; "." goes, ".." takes back what came before,
    // by the text alone as on Windows.
    std::vector<std::string> components;
    std::size_t i = start;
    while (i < path.size()) {
        std::size_t end = i;
        while (end < path.size() && !isSeparator(path[end]))
            ++end;
        const std::string_view component = path.substr(i, end - i);
        if (component == "..") {
            if (!components.empty() && components.back() != "..")
                components.pop_back();
            else if (!fromRoot)
                components.emplace_back(component);
        } else if (!component.empty() && component != ".") {
            components.emplace_back(component);
        }
        i = end + 1;
    }
    if (components.empty())
        return fromRoot ? std::string("/") : std::string(".");

    // The path found so far: from "/" for paths from the root, else relative
    // to the working folder, as the path was.
    std::string found;
    auto onDisk = [&](const std::string &part) { return fromRoot ? (part.empty() ? "/" : part) : inWorkingFolder(part); };
    auto append = [fromRoot](std::string part, const std::string &name) {
        if (fromRoot || !part.empty())
            part += '/';
        return part + name;
    };

    // With its separators straightened out, the path is usually there.
    std::string straight;
    for (const std::string &component : components)
        straight = append(straight, component);
    if (onDisk(straight) != writtenOnDisk && folders.exists(onDisk(straight)))
        return straight;

    bool exactSoFar = true;  // then the whole path is known to be missing
    for (std::size_t n = 0; n < components.size(); ++n) {
        const std::string &component = components[n];
        std::string next = append(found, component);
        const bool knownMissing = exactSoFar && n + 1 == components.size();
        const bool exact = component == ".." || (!knownMissing && folders.exists(onDisk(next)));
        if (!exact) {
            exactSoFar = false;
            const std::optional<std::string> match = findIgnoringCase(folders, onDisk(found), component);
            if (!match) {
                // Not there in any case: keep the rest as written.
                for (std::size_t rest = n; rest < components.size(); ++rest)
                    found = append(found, components[rest]);
                return found;
            }
            next = append(found, *match);
        }
        found = std::move(next);
    }
    return found;
}

}  // namespace vidorun
