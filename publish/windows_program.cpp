#include "publish/windows_program.h"

#include "base/paths.h"
#include "base/text.h"
#include "platform/file_places.h"
#include "platform/publish_files.h"

namespace vidorun {

std::vector<std::string> windowsProgramCandidates(const std::string &runningProgram)
{
#ifdef _WIN32
    return {runningProgram};
#else
    const std::string folder = absoluteFolderOf(runningProgram);
    std::vector<std::string> candidates = {absolutePath(folder + "/../share/vidorun/Vidorun.exe")};
    if (kindAt(folder + "/CMakeCache.txt") != FileKind::Missing)
        candidates.push_back(absolutePath(folder + "/../build-windows/Vidorun.exe"));
    return candidates;
#endif
}

bool isWindowsProgramHeader(std::string_view head)
{
    constexpr std::size_t PeOffsetAt = 0x3C;
    if (head.size() < PeOffsetAt + 4 || !startsWith(head, "MZ"))
        return false;
    std::uint32_t peOffset = 0;
    for (std::size_t i = 4; i-- > 0;)
        peOffset = peOffset << 8 | static_cast<unsigned char>(head[PeOffsetAt + i]);
    return peOffset <= head.size() - 4 && head.substr(peOffset, 4) == std::string_view("PE\0\0", 4);
}

WindowsProgram findWindowsProgram(const std::vector<std::string> &candidates, PublishFiles &files)
{
    std::vector<std::string> refused;
    for (const std::string &candidate : candidates) {
        FileKind kind;
        std::string reason;
        const std::unique_ptr<ReadableFile> file = files.openForReading(candidate, kind, reason);
        if (!file) {
            if (kind != FileKind::Missing)
                refused.push_back(nativePath(candidate) + ": " + reason);
            continue;
        }
        std::string head(4096, '\0');
        const std::int64_t got = file->read(head.data(), std::int64_t(head.size()));
        head.resize(got < 0 ? 0 : std::size_t(got));
        if (isWindowsProgramHeader(head))
            return {candidate, file->size(), std::string()};
        refused.push_back(nativePath(candidate) + " is no Windows program");
    }
    WindowsProgram none;
    none.error = "no Vidorun.exe to put on the discs";
    if (!refused.empty())
        none.error += " (" + joined(refused, "; ") + ")";
    none.error += ": install Vidorun's Debian package, which carries it (make package builds one), or build it in "
                  "Vidorun's source with make windows; --linux-only makes discs without it, for viewers on Linux";
    return none;
}

}  // namespace vidorun
