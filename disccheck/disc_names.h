#pragma once

// What a file may be called on a disc that Windows reads through its Joliet
// names (genisoimage or xorriso with -J -R) and on a FAT32 stick. The disc
// check judges the names it finds by these rules; publishing makes every
// name it writes pass them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vidorun {

// Joliet keeps 64 UCS-2 characters of a name and 240 bytes (120 characters)
// of a path, counted from the root without a leading separator; ISO 9660
// counts the root as the first of its 8 folder levels; FAT32 and ISO 9660
// below level 3 hold files up to 4 GiB - 1. Names and paths are UTF-8, and
// their characters are counted as UTF-16 counts them.
constexpr int JolietMaxNameLength = 64;
constexpr int JolietMaxPathLength = 120;
constexpr int IsoMaxFolderLevels = 8;
constexpr std::int64_t Fat32MaxFileBytes = 4294967295LL;

// Whether genisoimage -R moves a folder `level` levels below the root (1 for
// a folder on the root) into RR_MOVED on the root: the folder that would be
// ISO 9660's ninth level, counting the root as the first, and below a moved
// folder each that would be so again. Rock Ridge and Joliet names keep it in
// its place; xorriso moves nothing.
constexpr bool movedToRrMoved(int level)
{
    return level >= IsoMaxFolderLevels && (level - IsoMaxFolderLevels) % (IsoMaxFolderLevels - 2) == 0;
}

enum class NameFault {
    None,
    Empty,               // "" (and "." or "..", which name no file)
    TooLong,             // over JolietMaxNameLength characters
    ForbiddenCharacter,  // one of * / : ; ? \ < > " |
    ControlCharacter,    // below U+0020
    BeyondBmp,           // a character beyond U+FFFF, which UCS-2 can't hold
    DeviceName,          // CON, CONIN$, COM1 and their kind (isWindowsDeviceName), with any extension
    TrailingDotOrBlank,  // Windows drops a trailing dot or blank and opens another name
};

// The first fault of a file or folder name, in the order above; None when
// Windows and a disc's Joliet names hold it as it is.
NameFault nameFault(std::string_view name);

// The character that makes `name` a ForbiddenCharacter, ControlCharacter or
// BeyondBmp name, as a message shows it ("'?'", "a control character");
// empty for other faults.
std::string faultyCharacterText(std::string_view name);

// A device name to Windows (platform/windows_names.h): CON, CONIN$, COM1
// and their kind, with any extension.
bool isWindowsDeviceName(std::string_view name);

// A name as messages show it: in double quotes when a blank at its start or
// end would not be seen, or when it is empty.
std::string shownName(std::string_view name);
// A path as messages show it: with this system's separators, and quoted as
// a name is.
std::string shownPath(std::string_view path);

// Two names of one folder are one name on the disc when their keys are
// equal: Windows and Joliet don't tell letter case apart, and Joliet keeps
// only the first 64 characters.
std::string jolietKey(std::string_view name);
// A character no Windows or Joliet name holds: a control character, one
// past U+FFFF, or one Windows forbids in names.
bool isFaultyNameCharacter(char32_t c);
// The part of a name a disc's Joliet names keep: its first 64 characters.
std::string_view jolietName(std::string_view name);

// A blank medium and how many bytes it holds.
struct Medium {
    const char *name;
    std::int64_t bytes;
};
// The smallest medium that holds `bytes`; nothing when none does.
std::optional<Medium> smallestMedium(std::int64_t bytes);

}  // namespace vidorun
