#pragma once

// The names that mean something of their own to Windows, as one rule for
// everything that judges or makes a name: the disc check, publishing and the
// Windows layer. Plain C++ on UTF-16 text.
#include <string_view>

namespace vidorun {

// * / : ; ? \ < > " | : characters that neither a Windows file name nor a
// disc's Joliet name holds (';' only Joliet refuses).
bool isForbiddenNameCharacter(char32_t c);

// CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM1-COM9 and LPT1-LPT9, in any
// letter case, alone or with any extension ("nul.avi", "Com1.txt.avi"):
// Windows opens the device instead of a file. Windows goes by the part
// before the first dot, trailing blanks dropped.
bool isWindowsDeviceName(std::u16string_view name);

}  // namespace vidorun
