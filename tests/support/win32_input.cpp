#include "support/win32_input.h"

#include "ui/win32/win32_front_end.h"

#include <vector>

namespace vidorun::testing {

namespace {

INPUT keyInput(WORD key, bool up)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// The modifier keys in the order they go down; they come up in reverse.
constexpr struct {
    Modifier modifier;
    WORD key;
} ModifierKeys[] = {{Ctrl, VK_CONTROL}, {Shift, VK_SHIFT}, {Alt, VK_MENU}};

}  // namespace

void sendKey(WORD key, int modifiers)
{
    std::vector<INPUT> inputs;
    for (const auto &held : ModifierKeys) {
        if (modifiers & held.modifier)
            inputs.push_back(keyInput(held.key, false));
    }
    inputs.push_back(keyInput(key, false));
    inputs.push_back(keyInput(key, true));
    for (auto held = std::rbegin(ModifierKeys); held != std::rend(ModifierKeys); ++held) {
        if (modifiers & held->modifier)
            inputs.push_back(keyInput(held->key, true));
    }
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

void settleMessages(int rounds, DWORD pause)
{
    for (int round = 0; round < rounds; ++round) {
        ui::win32::pumpMessages();
        Sleep(pause);
    }
    ui::win32::pumpMessages();
}

}  // namespace vidorun::testing
