// Paths on Linux and other Unix systems.
#include "platform/file_places.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace vidorun {

namespace {

// Only "/" separates; "//" at the start is "/", as everywhere else.
std::string cleaned(std::string_view path)
{
    const bool fromRoot = !path.empty() && path.front() == '/';
    std::vector<std::string_view> parts;
    for (std::size_t i = 0; i < path.size();) {
        std::size_t end = path.find('/', i);
        if (end == std::string_view::npos)
            end = path.size();
        const std::string_view part = path.substr(i, end - i);
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (!fromRoot)
                parts.push_back(part);
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = end + 1;
    }
    std::string clean = fromRoot ? "/" : "";
    for (std::size_t p = 0; p < parts.size(); ++p) {
        if (p > 0)
            clean += '/';
        clean += parts[p];
    }
    return clean.empty() ? "." : clean;
}

}  // namespace

std::string currentFolder()
{
    std::vector<char> buffer(4096);
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()))
            return buffer.data();
        if (errno != ERANGE || buffer.size() > (1u << 20))
            return {};
        buffer.resize(buffer.size() * 2);
    }
}

bool setCurrentFolder(const std::string &path)
{
    return path.find('\0') == std::string::npos && ::chdir(path.c_str()) == 0;
}

std::string absolutePath(std::string_view path)
{
    if (!path.empty() && path.front() == '/')
        return cleaned(path);
    return cleaned(currentFolder() + '/' + std::string(path));
}

std::string absoluteFolderOf(std::string_view path)
{
    return absolutePath(std::string(path) + "/..");
}

std::string nameInPath(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string canonicalPath(const std::string &path)
{
    if (path.empty() || path.find('\0') != std::string::npos)
        return {};
    char *real = ::realpath(path.c_str(), nullptr);
    if (!real)
        return {};
    std::string found = real;
    std::free(real);
    return found;
}

FileKind kindAt(const std::string &path)
{
    struct stat info;
    if (path.empty() || path.find('\0') != std::string::npos || ::stat(path.c_str(), &info) != 0)
        return FileKind::Missing;
    if (S_ISREG(info.st_mode))
        return FileKind::File;
    return S_ISDIR(info.st_mode) ? FileKind::Folder : FileKind::Special;
}

std::string runningProgramPath()
{
    return canonicalPath("/proc/self/exe");
}

}  // namespace vidorun
