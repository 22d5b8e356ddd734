#pragma once

namespace vidorun {

// The windows are laid out for "MS Sans Serif" and "Courier", which Linux
// desktops lack; their usual fallback is too wide for the fixed layout.
// Registers substitutes of the same sizes that fit every caption. Call once,
// after the QApplication is made.
void installFontSubstitutes();

}  // namespace vidorun
