#include "base/text.h"

namespace vidorun {

std::string fill(std::string_view pattern, std::initializer_list<std::string_view> arguments)
{
    std::string text;
    text.reserve(pattern.size() + 32);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const auto index = std::size_t(pattern[i + 1] - '1');
            if (index < arguments.size()) {
                text += *(arguments.begin() + index);
                ++i;
                continue;
            }
        }
        text += c;
    }
    return text;
}

std::string groupedNumber(long long n)
{
    const std::string digits = std::to_string(n < 0 ? -n : n);
    std::string text = n < 0 ? "-" : "";
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

std::string replaced(std::string_view text, std::string_view from, std::string_view to)
{
    if (from.empty())
        return std::string(text);
    std::string result;
    std::size_t start = 0;
    for (std::size_t found; (found = text.find(from, start)) != std::string_view::npos; start = found + from.size()) {
        result += text.substr(start, found - start);
        result += to;
    }
    result += text.substr(start);
    return result;
}

std::string joined(const std::vector<std::string> &parts, std::string_view separator)
{
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            text += separator;
        text += parts[i];
    }
    return text;
}

std::vector<std::string> split(std::string_view text, char separator)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t found; (found = text.find(separator, start)) != std::string_view::npos; start = found + 1)
        parts.emplace_back(text.substr(start, found - start));
    parts.emplace_back(text.substr(start));
    return parts;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::string asciiUpper(std::string_view text)
{
    std::string result(text);
    for (char &c : result)
        c = (c >= 'a' && c <= 'z') ? char(c - 0x20) : c;
    return result;
}

std::string asciiLower(std::string_view text)
{
    std::string result(text);
    for (char &c : result)
        c = (c >= 'A' && c <= 'Z') ? char(c + 0x20) : c;
    return result;
}

bool equalIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && asciiUpper(a) == asciiUpper(b);
}

}  // namespace vidorun
