#pragma once

// Real key presses (SendInput) and the wait for what events cause, as the
// window driver of the Windows front end and that front end's own tests
// (tests/win32ui) both need them.
#include "platform/win32_api.h"

namespace vidorun::testing {

// The keys a user may hold down around a key press.
enum Modifier { NoModifier = 0, Ctrl = 1, Shift = 2, Alt = 4 };

// Presses and releases `key` as the user does, with `modifiers` held; the
// keys wait for whichever message loop runs next (a system dialog's too).
void sendKey(WORD key, int modifiers = NoModifier);

// Handles the messages waiting, and those that arrive within `rounds`
// pauses of `pause` milliseconds each.
void settleMessages(int rounds, DWORD pause);

}  // namespace vidorun::testing
