#pragma once

#include <string>

namespace vidorun {

namespace ui {
class WindowView;
}

// Message box styles, as the program names them: the stop icon with one OK
// button, and the question icon with Yes and No.
namespace MsgStyle {
constexpr int Critical = 16;
constexpr int Question = 36;
}  // namespace MsgStyle

enum class MsgAnswer { Ok, Yes, No };

// A modal message box over the window `parent` (or none). Blocks until the
// user answers. Line breaks in the text are CR LF.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MsgAnswer show(const ui::WindowView *parent, const std::string &text, const std::string &title,
                           int style) = 0;
};

}  // namespace vidorun
