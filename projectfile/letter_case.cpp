#include "projectfile/letter_case.h"

#include <QString>

#include <optional>

namespace vidorun {
namespace {

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

// The lower-case partner of a letter, or the code point itself: ASCII,
// Latin-1, Latin Extended-A, Greek and Cyrillic.
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


}  // namespace

char32_t windowsUpper(char32_t c)
{
    if (c >= U'a' && c <= U'z')
        return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)  // à..þ, not ÷
        return c - 0x20;
    switch (c) {
    case 0x161: return 0x160;  // š
    case 0x153: return 0x152;  // œ
    case 0x17E: return 0x17D;  // ž
    case 0xFF: return 0x178;   // ÿ
    default: return c;
    }
}

QString windowsUpper(const QString &text)
{
    // Every letter with a partner lies in the Basic Multilingual Plane, so
    // UTF-16 units can be mapped one by one; surrogates are never letters here.
    QString upper = text;
    for (QChar &unit : upper)
        unit = QChar(char16_t(windowsUpper(unit.unicode())));
    return upper;
}

namespace {

// The UTF-8 text with `map` applied to every character; bytes that are not
// UTF-8 stay as they are.
template <class Map>
std::string mappedUtf8(std::string_view utf8, Map map)
{
    std::string mapped;
    mapped.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t length = 1;
        if (const auto c = decodeUtf8(utf8, i, length)) {
            appendUtf8(mapped, map(*c));
        } else {
            mapped += utf8[i];
            length = 1;
        }
        i += length;
    }
    return mapped;
}

}  // namespace

std::string windowsUpperUtf8(std::string_view utf8)
{
    return mappedUtf8(utf8, [](char32_t c) { return windowsUpper(c); });
}

char32_t fileNameFold(char32_t c)
{
    return lowerCase(c);
}

std::string fileNameFoldUtf8(std::string_view utf8)
{
    return mappedUtf8(utf8, lowerCase);
}

}  // namespace vidorun
