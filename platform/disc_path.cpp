#include "platform/disc_path.h"

#ifndef _WIN32
#include <dirent.h>
#include <sys/stat.h>
#endif

#include <optional>
#include <vector>

namespace vidorun {
namespace {

// The lower-case partner of a letter, or the code point itself.
char32_t lowerCase(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 0x20 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)  // À..Þ, not ×
        return c + 0x20;
    if (c >= 0x100 && c <= 0x17F) {  // Latin Extended-A: upper/lower pairs
        if (c == 0x130)
            return U'i';  // İ
        if (c == 0x178)
            return 0xFF;  // Ÿ
        if (c == 0x17F)
            return U's';  // ſ
        const bool upperEven = (c <= 0x137) || (c >= 0x14A && c <= 0x177);
        const bool upperOdd = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (upperEven && c % 2 == 0)
            return c + 1;
        if (upperOdd && c % 2 == 1)
            return c + 1;
        return c;
    }
    if (c >= 0x386 && c <= 0x3AB) {  // Greek capitals
        if (c == 0x386)
            return 0x3AC;
        if (c >= 0x388 && c <= 0x38A)
            return c + 0x25;
        if (c == 0x38C)
            return 0x3CC;
        if (c == 0x38E || c == 0x38F)
            return c + 0x3F;
        if (c >= 0x391 && c != 0x3A2)
            return c + 0x20;
        return c;
    }
    if (c == 0x3C2)
        return 0x3C3;  // final sigma folds with sigma
    if (c >= 0x400 && c <= 0x40F)  // Ѐ..Џ
        return c + 0x50;
    if (c >= 0x410 && c <= 0x42F)  // А..Я
        return c + 0x20;
    if (((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F)) && c % 2 == 0)
        return c + 1;
    return c;
}

void appendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Decodes the UTF-8 sequence at text[i]; nothing when it is no well-formed
// sequence. `length` receives its size in bytes.
std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t i, std::size_t &length)
{
    const auto b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
        length = 1;
        return b;
    }
    char32_t c = 0;
    char32_t least = 0;  // smaller values are overlong encodings
    if ((b & 0xE0) == 0xC0) {
        length = 2;
        c = b & 0x1F;
        least = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        length = 3;
        c = b & 0x0F;
        least = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        length = 4;
        c = b & 0x07;
        least = 0x10000;
    } else {
        return std::nullopt;
    }
    if (i + length > text.size())
        return std::nullopt;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        c = (c << 6) | (next & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return std::nullopt;
    return c;
}

// Whether an entry's name equals a folded name but for letter case. Most
// names on a disc are plain ASCII; they are compared without folding.
bool matchesFolded(std::string_view entry, const std::string &folded)
{
    bool ascii = true;
    for (const char c : entry) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (!ascii)
        return foldCase(entry) == folded;
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
    const std::string wanted = foldCase(name);
    std::optional<std::string> best;
    folders.forEachEntry(folder, [&](std::string_view entryName) {
        if (best && entryName >= *best)
            return;
        if (matchesFolded(entryName, wanted))
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

std::string foldCase(std::string_view utf8)
{
    std::string folded;
    folded.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t length = 1;
        if (const auto c = decodeUtf8(utf8, i, length)) {
            appendUtf8(folded, lowerCase(*c));
        } else {
            folded += utf8[i];
            length = 1;
        }
        i += length;
    }
    return folded;
}

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
