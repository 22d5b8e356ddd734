#include "disccheck/disc_names.h"

#include "base/paths.h"
#include "base/text.h"
#include "base/utf8.h"
#include "platform/windows_names.h"
#include "projectfile/letter_case.h"

#include <array>

namespace vidorun {

bool isFaultyNameCharacter(char32_t c)
{
    return c < 0x20 || c > 0xFFFF || isForbiddenNameCharacter(c);
}

namespace {

// The first character of `name` that no Windows or Joliet name holds;
// nothing when there is none.
std::optional<char32_t> firstFaultyCharacter(std::string_view name)
{
    for (std::size_t i = 0; i < name.size();) {
        const char32_t c = nextCodePoint(name, i);
        if (isFaultyNameCharacter(c))
            return c;
    }
    return std::nullopt;
}

}  // namespace

std::string_view jolietName(std::string_view name)
{
    return firstUtf16Units(name, std::size_t(JolietMaxNameLength));
}

bool isWindowsDeviceName(std::string_view name)
{
    return isWindowsDeviceName(std::u16string_view(toUtf16(name)));
}

std::string shownName(std::string_view name)
{
    const bool blankAtAnEnd = startsWith(name, " ") || endsWith(name, " ");
    return name.empty() || blankAtAnEnd ? "\"" + std::string(name) + "\"" : std::string(name);
}

std::string shownPath(std::string_view path)
{
    return shownName(nativePath(path));
}

NameFault nameFault(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return NameFault::Empty;
    if (utf16Length(name) > std::size_t(JolietMaxNameLength))
        return NameFault::TooLong;
    if (const std::optional<char32_t> bad = firstFaultyCharacter(name))
        return *bad < 0x20 ? NameFault::ControlCharacter : *bad > 0xFFFF ? NameFault::BeyondBmp : NameFault::ForbiddenCharacter;
    if (isWindowsDeviceName(name))
        return NameFault::DeviceName;
    if (endsWith(name, ".") || endsWith(name, " "))
        return NameFault::TrailingDotOrBlank;
    return NameFault::None;
}

std::string faultyCharacterText(std::string_view name)
{
    const std::optional<char32_t> bad = firstFaultyCharacter(name);
    if (!bad)
        return {};
    if (*bad < 0x20)
        return "a control character";
    if (*bad > 0xFFFF)
        return "a character beyond U+FFFF";
    std::string text = "'";
    appendUtf8(text, *bad);
    return text + "'";
}

std::optional<Medium> smallestMedium(std::int64_t bytes)
{
    static const std::array<Medium, 4> media = {{
        {"a 650 MB CD", 681984000},
        {"a 700 MB CD", 737280000},
        {"a 4.7 GB DVD", 4700372992},
        {"an 8.5 GB double-layer DVD", 8543666176},
    }};
    for (const Medium &medium : media) {
        if (bytes <= medium.bytes)
            return medium;
    }
    return std::nullopt;
}

std::string jolietKey(std::string_view name)
{
    return fileNameFoldUtf8(jolietName(name));
}

}  // namespace vidorun
