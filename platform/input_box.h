#pragma once

#include <string>

namespace vidorun {

namespace ui {
class WindowView;
}

// A modal text-input box. Answers the empty text when cancelled.
class InputBox {
public:
    virtual ~InputBox() = default;
    virtual std::string ask(const ui::WindowView *parent, const std::string &prompt, const std::string &title,
                            const std::string &defaultAnswer) = 0;
};

}  // namespace vidorun
