#pragma once

// UTF-8, the text of every string the program holds, and the other forms
// it meets at its edges: UTF-16 (Windows, Joliet names) and code points.
#include <cstddef>
#include <string>
#include <string_view>

namespace vidorun {

// Checks, a piece at a time, whether a byte stream is well-formed UTF-8.
class Utf8Validator {
public:
    void feed(const char *data, std::size_t size);
    // True when everything fed so far is UTF-8 and no sequence is left open.
    bool valid() const { return !m_invalid && m_pending == 0; }

private:
    bool m_invalid = false;
    int m_pending = 0;                             // continuation bytes still expected
    unsigned char m_lower = 0x80, m_upper = 0xBF;  // range of the next continuation byte
};

bool isValidUtf8(std::string_view bytes);
// The bytes as they are when they are valid UTF-8; else each byte that
// starts no valid sequence becomes U+FFFD.
std::string asValidUtf8(std::string_view bytes);

// The next code point of `text` from `position`, which moves past it; a
// byte that starts no valid sequence is U+FFFD and moves one byte.
char32_t nextCodePoint(std::string_view text, std::size_t &position);
void appendUtf8(std::string &text, char32_t c);

std::u32string toUtf32(std::string_view utf8);
std::string fromUtf32(std::u32string_view text);
std::u16string toUtf16(std::string_view utf8);
// Lone surrogates become U+FFFD.
std::string fromUtf16(std::u16string_view text);

// How many code points, and how many UTF-16 units, the text holds.
std::size_t codePointCount(std::string_view utf8);
std::size_t utf16Length(std::string_view utf8);
// The first `count` code points.
std::string firstCodePoints(std::string_view utf8, std::size_t count);
// The longest start of the text that `units` UTF-16 units hold: a code
// point past U+FFFF takes two.
std::string_view firstUtf16Units(std::string_view utf8, std::size_t units);

}  // namespace vidorun
