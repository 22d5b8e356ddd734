#pragma once

// The few things the program does with its UTF-8 text: fill in a message,
// write a number, take text apart and put it together.
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace vidorun {

// `pattern` with each %1 to %9 replaced by that argument: "movie %1 \"%2\"".
std::string fill(std::string_view pattern, std::initializer_list<std::string_view> arguments);

// "9,949,184", as the program's English messages write large numbers.
std::string groupedNumber(long long n);

inline bool startsWith(std::string_view text, std::string_view start)
{
    return text.substr(0, start.size()) == start;
}
inline bool endsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}
inline bool contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

// `text` with every `from` replaced by `to`.
std::string replaced(std::string_view text, std::string_view from, std::string_view to);
std::string joined(const std::vector<std::string> &parts, std::string_view separator);
std::vector<std::string> split(std::string_view text, char separator);
// Without the blanks and tabs at either end.
std::string_view trimmed(std::string_view text);
// ASCII letters only; other bytes stay as they are.
std::string asciiUpper(std::string_view text);
std::string asciiLower(std::string_view text);
bool equalIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace vidorun
