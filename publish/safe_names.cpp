#include "publish/safe_names.h"

#include "base/text.h"
#include "base/unicode.h"
#include "base/utf8.h"
#include "disccheck/disc_names.h"
#include "platform/windows_names.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vidorun {

namespace {

// The longest ending kept as an extension when a long name is shortened.
constexpr std::size_t MaxKeptExtension = 16;

// Letters of the code page that no decomposition takes apart.
std::string_view plainLetters(char32_t c)
{
    static const std::array<std::pair<char32_t, const char *>, 16> letters = {{
        {U'ß', "ss"}, {U'æ', "ae"}, {U'Æ', "AE"}, {U'ø', "o"}, {U'Ø', "O"}, {U'œ', "oe"},
        {U'Œ', "OE"}, {U'ð', "d"}, {U'Ð', "D"}, {U'þ', "th"}, {U'Þ', "TH"}, {U'ł', "l"},
        {U'Ł', "L"}, {U'đ', "d"}, {U'Đ', "D"}, {U'ı', "i"},
    }};
    for (const auto &[letter, plain] : letters) {
        if (letter == c)
            return plain;
    }
    // "é" is "e" and an accent, "ﬁ" is "fi": the ASCII part of the
    // compatibility decomposition, when it has no other part but marks.
    return asciiLettersOf(c);
}

std::string withSafeCharacters(std::string_view name, NameLetters letters)
{
    std::string safe;
    for (std::size_t i = 0; i < name.size();) {
        const char32_t c = nextCodePoint(name, i);
        if (isFaultyNameCharacter(c)) {
            safe += '_';
        } else if (letters == NameLetters::Ascii && c >= 0x80) {
            const std::string_view plain = plainLetters(c);
            if (plain.empty())
                safe += '_';
            for (const char p : plain)
                safe += isFaultyNameCharacter(char32_t(p)) ? '_' : p;
        } else {
            appendUtf8(safe, c);
        }
    }
    return safe;
}

void dropTrailingDotsAndBlanks(std::string &name)
{
    while (!name.empty() && (name.back() == '.' || name.back() == ' '))
        name.pop_back();
}

// The name within `length` characters, its extension kept where it has a
// short one. Names made safe hold no character beyond U+FFFF: a character
// is one UTF-16 unit.
std::string shortened(const std::string &name, std::size_t length)
{
    const std::size_t characters = codePointCount(name);
    if (characters <= length)
        return name;
    const std::size_t dot = name.rfind('.');
    const std::size_t extension = dot != std::string::npos && dot > 0 ? codePointCount(name.substr(dot)) : 0;
    if (extension == 0 || extension > MaxKeptExtension)
        return firstCodePoints(name, length);
    return firstCodePoints(name, length - extension) + name.substr(dot);
}

std::string reasonFor(std::string_view name, NameLetters letters, const std::string &whyAscii)
{
    switch (nameFault(name)) {
    case NameFault::Empty:
        return "a file needs a name";
    case NameFault::TooLong:
        return fill("a disc keeps %1 characters of a name", {std::to_string(JolietMaxNameLength)});
    case NameFault::ForbiddenCharacter:
    case NameFault::ControlCharacter:
    case NameFault::BeyondBmp:
        return "Windows and a disc's Joliet names can't hold " + faultyCharacterText(name);
    case NameFault::DeviceName:
        return "Windows opens a device for " + std::string(trimmed(name.substr(0, name.find('.'))));
    case NameFault::TrailingDotOrBlank:
        return "Windows drops a trailing dot or blank";
    case NameFault::None:
        break;
    }
    if (letters == NameLetters::Ascii) {
        for (std::size_t i = 0; i < name.size();) {
            const char32_t c = nextCodePoint(name, i);
            if (c >= 0x80) {
                std::string beyond = "'";
                appendUtf8(beyond, c);
                beyond += "' is beyond ASCII";
                return whyAscii.empty() ? beyond : beyond + ", and " + whyAscii;
            }
        }
    }
    return std::string();
}

}  // namespace

std::string safeFileName(std::string_view name, NameLetters letters)
{
    std::string safe = withSafeCharacters(name, letters);
    dropTrailingDotsAndBlanks(safe);
    if (isWindowsDeviceName(safe))
        safe.insert(0, 1, '_');
    safe = shortened(safe, JolietMaxNameLength);
    dropTrailingDotsAndBlanks(safe);
    return safe.empty() ? "_" : safe;
}

std::string volumeIdentifier(std::string_view label)
{
    constexpr std::size_t MaxVolumeIdentifier = 32;
    std::string id;
    for (const char c : asciiUpper(safeFileName(label, NameLetters::Ascii))) {
        const bool kept = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        id += kept ? c : '_';
    }
    id = id.substr(0, MaxVolumeIdentifier);
    const bool nothingLeft = std::all_of(id.begin(), id.end(), [](char c) { return c == '_'; });
    return nothingLeft ? "VIDORUN" : id;
}

void FolderNames::reserve(std::string_view name)
{
    m_keys.insert(jolietKey(name));
}

GivenName FolderNames::add(std::string_view name, NameLetters letters, const std::string &whyAscii)
{
    const std::string safe = safeFileName(name, letters);
    GivenName given{safe, safe == name ? std::string() : reasonFor(name, letters, whyAscii)};
    const std::size_t dot = safe.rfind('.');
    const bool hasExtension =
        dot != std::string::npos && dot > 0 && codePointCount(std::string_view(safe).substr(dot)) <= MaxKeptExtension;
    const std::string stem = hasExtension ? safe.substr(0, dot) : safe;
    const std::string extension = hasExtension ? safe.substr(dot) : std::string();
    for (int number = 2; m_keys.count(jolietKey(given.name)); ++number) {
        const std::string suffix = "_" + std::to_string(number);
        given.name = firstCodePoints(stem, JolietMaxNameLength - suffix.size() - codePointCount(extension)) + suffix
                     + extension;
        given.reason = "another file of the folder has that name, to Windows";
    }
    m_keys.insert(jolietKey(given.name));
    return given;
}

}  // namespace vidorun
