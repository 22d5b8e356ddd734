#include "ui/win32/win32_menu.h"

#include "ui/win32/win32_text.h"

#include <cctype>
#include <string>
#include <vector>

namespace vidorun::ui::win32 {

namespace {

// The most levels the menu table has: the bar, a menu, a submenu.
constexpr int Levels = 3;

bool takePrefix(std::string_view &text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    }
    text.remove_prefix(prefix.size());
    return true;
}

}  // namespace

bool parseShortcut(std::string_view shortcut, ACCEL &key)
{
    key = ACCEL{FVIRTKEY, 0, 0};
    for (;;) {
        if (takePrefix(shortcut, "Ctrl+"))
            key.fVirt |= FCONTROL;
        else if (takePrefix(shortcut, "Shift+"))
            key.fVirt |= FSHIFT;
        else if (takePrefix(shortcut, "Alt+"))
            key.fVirt |= FALT;
        else
            break;
    }
    if (shortcut.size() == 1) {
        const char c = char(std::toupper(static_cast<unsigned char>(shortcut[0])));
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            key.key = WORD(c);  // the virtual key of a letter or digit is its capital
            return true;
        }
        return false;
    }
    if (shortcut.size() >= 2 && (shortcut[0] == 'F' || shortcut[0] == 'f')) {
        int number = 0;
        for (char c : shortcut.substr(1)) {
            if (c < '0' || c > '9')
                return false;
            number = number * 10 + (c - '0');
        }
        if (number >= 1 && number <= 12) {
            key.key = WORD(VK_F1 + number - 1);
            return true;
        }
    }
    return false;
}

HMENU createMenuBar(std::span<const MenuItem> menu, int firstId)
{
    if (menu.empty())
        return nullptr;
    HMENU open[Levels] = {CreateMenu(), nullptr, nullptr};
    for (std::size_t i = 0; i < menu.size(); ++i) {
        const MenuItem &item = menu[i];
        if (item.level < 0 || item.level >= Levels || !open[item.level])
            continue;  // an entry without a menu above it
        HMENU parent = open[item.level];
        switch (item.entry) {
        case MenuEntry::Menu: {
            HMENU popup = CreatePopupMenu();
            AppendMenuW(parent, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup),
                        toWide(item.caption).c_str());
            if (item.level + 1 < Levels)
                open[item.level + 1] = popup;
            break;
        }
        case MenuEntry::Item: {
            // The shortcut's text after a tab, which Windows right-aligns.
            std::wstring caption = toWide(item.caption);
            if (!item.shortcut.empty())
                caption += L'\t' + toWide(item.shortcut);
            AppendMenuW(parent, MF_STRING | (item.checked ? MF_CHECKED : MF_UNCHECKED), UINT_PTR(firstId + int(i)),
                        caption.c_str());
            break;
        }
        case MenuEntry::Separator:
            AppendMenuW(parent, MF_SEPARATOR, 0, nullptr);
            break;
        }
        // An entry closes the submenus of deeper levels that were open.
        for (int deeper = item.level + 1 + (item.entry == MenuEntry::Menu ? 1 : 0); deeper < Levels; ++deeper)
            open[deeper] = nullptr;
    }
    return open[0];
}

HACCEL createAccelerators(std::span<const MenuItem> menu, int firstId)
{
    std::vector<ACCEL> keys;
    for (std::size_t i = 0; i < menu.size(); ++i) {
        ACCEL key{};
        if (menu[i].entry == MenuEntry::Item && !menu[i].shortcut.empty() && parseShortcut(menu[i].shortcut, key)) {
            key.cmd = WORD(firstId + int(i));
            keys.push_back(key);
        }
    }
    return keys.empty() ? nullptr : CreateAcceleratorTableW(keys.data(), int(keys.size()));
}

}  // namespace vidorun::ui::win32
