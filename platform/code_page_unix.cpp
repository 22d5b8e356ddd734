// Without an ANSI code page of the system's, project files are read and
// written in Windows-1252, the code page of western Windows.
#include "platform/code_page.h"

#include "base/utf8.h"

#include <array>

namespace vidorun {

namespace {

// 0x80 to 0x9F of Windows-1252; 0 marks the five unused places.
constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

std::optional<char> cp1252Byte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return char(c);
    for (std::size_t i = 0; i < Cp1252High.size(); ++i) {
        if (Cp1252High[i] == c || (Cp1252High[i] == 0 && c == 0x80 + i))
            return char(0x80 + i);
    }
    return std::nullopt;
}

}  // namespace

std::string decodeCodePage(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        if (b >= 0x80 && b <= 0x9F) {
            const char16_t c = Cp1252High[b - 0x80];
            // Unused places decode as the C1 control of the same number, as Windows does.
            appendUtf8(text, c ? c : char16_t(b));
        } else {
            appendUtf8(text, b);
        }
    }
    return text;
}

std::optional<std::string> encodeCodePage(std::string_view utf8)
{
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::optional<char> byte = cp1252Byte(nextCodePoint(utf8, i));
        if (!byte)
            return std::nullopt;
        bytes += *byte;
    }
    return bytes;
}

}  // namespace vidorun
