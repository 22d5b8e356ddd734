#include "platform/windows_names.h"

#include <array>

namespace vidorun {

bool isForbiddenNameCharacter(char32_t c)
{
    static constexpr std::array<char32_t, 10> forbidden = {U'*', U'/', U':', U';', U'?',
                                                           U'\\', U'<', U'>', U'"', U'|'};
    for (const char32_t f : forbidden) {
        if (c == f)
            return true;
    }
    return false;
}

bool isWindowsDeviceName(std::u16string_view name)
{
    std::u16string_view stem = name.substr(0, name.find(u'.'));
    while (!stem.empty() && stem.back() == u' ')
        stem.remove_suffix(1);
    if (stem.size() > 7)
        return false;
    char upper[8] = {};
    for (std::size_t i = 0; i < stem.size(); ++i) {
        const char16_t c = stem[i];
        if (c >= 0x80)
            return false;
        upper[i] = char((c >= u'a' && c <= u'z') ? c - 0x20 : c);
    }
    const std::string_view s(upper, stem.size());
    if (s == "CON" || s == "PRN" || s == "AUX" || s == "NUL" || s == "CONIN$" || s == "CONOUT$")
        return true;
    return s.size() == 4 && (s.substr(0, 3) == "COM" || s.substr(0, 3) == "LPT") && s[3] >= '1' && s[3] <= '9';
}

}  // namespace vidorun
