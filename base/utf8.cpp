#include "base/utf8.h"

namespace vidorun {

void Utf8Validator::feed(const char *data, std::size_t size)
{
    for (std::size_t i = 0; i < size && !m_invalid; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        if (m_pending > 0) {
            if (b < m_lower || b > m_upper) {
                m_invalid = true;
                return;
            }
            m_lower = 0x80;
            m_upper = 0xBF;
            --m_pending;
            continue;
        }
        if (b < 0x80)
            continue;
        if (b >= 0xC2 && b <= 0xDF) {
            m_pending = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            m_pending = 2;
            if (b == 0xE0)
                m_lower = 0xA0;  // no overlong forms
            else if (b == 0xED)
                m_upper = 0x9F;  // no surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            m_pending = 3;
            if (b == 0xF0)
                m_lower = 0x90;
            else if (b == 0xF4)
                m_upper = 0x8F;  // nothing past U+10FFFF
        } else {
            m_invalid = true;
        }
    }
}

bool isValidUtf8(std::string_view bytes)
{
    Utf8Validator validator;
    validator.feed(bytes.data(), bytes.size());
    return validator.valid();
}

std::string asValidUtf8(std::string_view bytes)
{
    return isValidUtf8(bytes) ? std::string(bytes) : fromUtf32(toUtf32(bytes));
}

char32_t nextCodePoint(std::string_view text, std::size_t &position)
{
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(position);
    int length = 0;
    char32_t c = 0;
    if (lead < 0x80) {
        ++position;
        return lead;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
    } else {
        ++position;
        return 0xFFFD;
    }
    if (position + std::size_t(length) > text.size()) {
        ++position;
        return 0xFFFD;
    }
    for (int i = 1; i < length; ++i) {
        const unsigned char next = byte(position + std::size_t(i));
        if ((next & 0xC0) != 0x80) {
            ++position;
            return 0xFFFD;
        }
        c = (c << 6) | (next & 0x3F);
    }
    const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    if (overlong || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++position;
        return 0xFFFD;
    }
    position += std::size_t(length);
    return c;
}

void appendUtf8(std::string &text, char32_t c)
{
    if (c < 0x80) {
        text += char(c);
    } else if (c < 0x800) {
        text += char(0xC0 | (c >> 6));
        text += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += char(0xE0 | (c >> 12));
        text += char(0x80 | ((c >> 6) & 0x3F));
        text += char(0x80 | (c & 0x3F));
    } else {
        text += char(0xF0 | (c >> 18));
        text += char(0x80 | ((c >> 12) & 0x3F));
        text += char(0x80 | ((c >> 6) & 0x3F));
        text += char(0x80 | (c & 0x3F));
    }
}

std::u32string toUtf32(std::string_view utf8)
{
    std::u32string text;
    text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();)
        text += nextCodePoint(utf8, i);
    return text;
}

std::string fromUtf32(std::u32string_view text)
{
    std::string utf8;
    utf8.reserve(text.size());
    for (const char32_t c : text)
        appendUtf8(utf8, c);
    return utf8;
}

std::u16string toUtf16(std::string_view utf8)
{
    std::u16string text;
    text.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = nextCodePoint(utf8, i);
        if (c < 0x10000) {
            text += char16_t(c);
        } else {
            text += char16_t(0xD800 + ((c - 0x10000) >> 10));
            text += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return text;
}

std::string fromUtf16(std::u16string_view text)
{
    std::string utf8;
    utf8.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD;
        appendUtf8(utf8, c);
    }
    return utf8;
}

std::size_t codePointCount(std::string_view utf8)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < utf8.size(); ++count)
        nextCodePoint(utf8, i);
    return count;
}

std::size_t utf16Length(std::string_view utf8)
{
    std::size_t length = 0;
    for (std::size_t i = 0; i < utf8.size();)
        length += nextCodePoint(utf8, i) >= 0x10000 ? 2 : 1;
    return length;
}

std::string firstCodePoints(std::string_view utf8, std::size_t count)
{
    std::size_t end = 0;
    for (std::size_t n = 0; n < count && end < utf8.size(); ++n)
        nextCodePoint(utf8, end);
    return std::string(utf8.substr(0, end));
}

std::string_view firstUtf16Units(std::string_view utf8, std::size_t units)
{
    std::size_t end = 0;
    for (std::size_t counted = 0; end < utf8.size();) {
        std::size_t next = end;
        counted += nextCodePoint(utf8, next) > 0xFFFF ? 2 : 1;
        if (counted > units)
            break;
        end = next;
    }
    return utf8.substr(0, end);
}

}  // namespace vidorun
