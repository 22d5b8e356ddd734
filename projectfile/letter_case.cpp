#include "projectfile/letter_case.h"

#include "projectfile/text_codec.h"

#include <QChar>
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

char32_t projectUpper(char32_t c, bool fileIsUtf8)
{
    if (c > 0xFFFF)
        return c;
    const char32_t capital = QChar::toUpper(c);
    if (capital == c || capital > 0xFFFF)
        return c;
    if (fileIsUtf8)
        return capital >= 0x1C90 && capital <= 0x1CBF ? c : capital;  // not Georgian Mtavruli
    return inProjectCodePage(char16_t(c)) && inProjectCodePage(char16_t(capital)) ? capital : c;
}

QString projectUpper(const QString &text, bool fileIsUtf8)
{
    // Letters beyond the Basic Multilingual Plane stay, so UTF-16 units can
    // be mapped one by one; a surrogate is never a letter.
    QString upper = text;
    for (QChar &unit : upper)
        unit = QChar(char16_t(projectUpper(unit.unicode(), fileIsUtf8)));
    return upper;
}

char32_t fileNameFold(char32_t c)
{
    // Lower case of the upper case: letters with one capital fold alike
    // (µ with μ, ς with σ, ſ with s), and so does anything upper-cased.
    return c > 0xFFFF ? c : QChar::toLower(QChar::toUpper(c));
}

std::string fileNameFoldUtf8(std::string_view utf8)
{
    return mappedUtf8(utf8, fileNameFold);
}

}  // namespace vidorun
