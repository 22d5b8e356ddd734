#pragma once

// The little of Unicode's character data the program needs, for the Basic
// Multilingual Plane (characters beyond it map to themselves): simple
// (one character for one) upper and lower case, and the ASCII letters a
// letter is made of once its marks are taken away ("é" e, "ﬁ" fi).
#include <string_view>

namespace vidorun {

char32_t simpleUpper(char32_t c);
char32_t simpleLower(char32_t c);
// Empty when the character is no ASCII letter with marks or a ligature of
// such letters.
std::string_view asciiLettersOf(char32_t c);

}  // namespace vidorun
