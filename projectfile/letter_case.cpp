#include "projectfile/letter_case.h"

#include "base/unicode.h"
#include "base/utf8.h"
#include "projectfile/text_codec.h"

namespace vidorun {
namespace {

// The UTF-8 text with `map` applied to every character; bytes that are not
// UTF-8 stay as they are.
template <class Map>
std::string mappedUtf8(std::string_view utf8, Map map)
{
    std::string mapped;
    mapped.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        const char32_t c = nextCodePoint(utf8, i);
        if (c == 0xFFFD && !(i - start == 3 && utf8.substr(start, 3) == "\xEF\xBF\xBD"))
            mapped += utf8[start];
        else
            appendUtf8(mapped, map(c));
    }
    return mapped;
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

std::string windowsUpper(std::string_view utf8)
{
    return mappedUtf8(utf8, [](char32_t c) { return windowsUpper(c); });
}

char32_t projectUpper(char32_t c, bool fileIsUtf8)
{
    // Every code page holds ASCII, and the capital of an ASCII letter is one.
    if (c < 0x80)
        return c >= 'a' && c <= 'z' ? c - 0x20 : c;
    if (c > 0xFFFF)
        return c;
    const char32_t capital = simpleUpper(c);
    if (capital == c || capital > 0xFFFF)
        return c;
    if (fileIsUtf8)
        return capital >= 0x1C90 && capital <= 0x1CBF ? c : capital;  // not Georgian Mtavruli
    return inProjectCodePage(c) && inProjectCodePage(capital) ? capital : c;
}

std::string projectUpper(std::string_view utf8, bool fileIsUtf8)
{
    return mappedUtf8(utf8, [fileIsUtf8](char32_t c) { return projectUpper(c, fileIsUtf8); });
}

char32_t fileNameFold(char32_t c)
{
    // Lower case of the upper case: letters with one capital fold alike
    // (µ with μ, ς with σ, ſ with s), and so does anything upper-cased.
    return c > 0xFFFF ? c : simpleLower(simpleUpper(c));
}

std::string fileNameFoldUtf8(std::string_view utf8)
{
    return mappedUtf8(utf8, fileNameFold);
}

}  // namespace vidorun
