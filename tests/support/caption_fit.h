#pragma once

#include <string>
#include <vector>

class QWidget;

namespace vidorun::testing {

// The button and label captions in the window that don't fit their control
// with the control's own font, so that they are clipped at 96 dpi: a
// button's caption outside the room its style leaves for text, a label's
// outside its contents, a word-wrapped label's wrapped lines past its
// height. Each as `name "caption" in window`, with what does not fit.
std::vector<std::string> clippedCaptions(QWidget *window);

}  // namespace vidorun::testing
