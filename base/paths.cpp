#include "base/paths.h"

#include <vector>

namespace vidorun {

namespace {

bool isSeparator(char c)
{
    return c == '/' || c == '\\';
}

}  // namespace

std::string fileNameOf(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string folderOf(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    if (slash == std::string_view::npos)
        return ".";
    if (slash == 0)
        return std::string(path.substr(0, 1));
    if (slash == 2 && path[1] == ':')
        return std::string(path.substr(0, 3));
    return std::string(path.substr(0, slash));
}

std::string inFolder(std::string_view folder, std::string_view name)
{
    if (folder.empty() || folder == ".")
        return std::string(name);
    std::string path(folder);
    if (!isSeparator(path.back()))
        path += '/';
    return path + std::string(name);
}

std::string withSlashes(std::string_view path)
{
    std::string result(path);
    for (char &c : result)
        c = c == '\\' ? '/' : c;
    return result;
}

std::string withBackslashes(std::string_view path)
{
    std::string result(path);
    for (char &c : result)
        c = c == '/' ? '\\' : c;
    return result;
}

std::string nativePath(std::string_view path)
{
#ifdef _WIN32
    return withBackslashes(path);
#else
    return std::string(path);
#endif
}

std::string cleanPath(std::string_view path)
{
    if (path.empty())
        return std::string();
    // What comes before the parts: "/", "//" (a network path), "C:/" or "C:".
    std::string start;
    std::size_t i = 0;
    if (path.size() >= 2 && path[1] == ':') {
        start = std::string(path.substr(0, 2));
        i = 2;
    }
    if (i < path.size() && isSeparator(path[i])) {
        start += '/';
        ++i;
        if (start == "/" && i < path.size() && isSeparator(path[i])) {
            start += '/';
            ++i;
        }
    }
    std::vector<std::string_view> parts;
    while (i < path.size()) {
        std::size_t end = i;
        while (end < path.size() && !isSeparator(path[end]))
            ++end;
        const std::string_view part = path.substr(i, end - i);
        if (part == "..") {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (start.empty() || start.back() != '/')
                parts.push_back(part);
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = end + 1;
    }
    std::string clean = start;
    for (std::size_t p = 0; p < parts.size(); ++p) {
        if (p > 0)
            clean += '/';
        clean += parts[p];
    }
    return clean.empty() ? "." : clean;
}

}  // namespace vidorun
