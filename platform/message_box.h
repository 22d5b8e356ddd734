#pragma once

#include <QString>

class QWidget;

namespace vidorun {

// Message box styles, as the program names them: the stop icon with one OK
// button, and the question icon with Yes and No.
namespace MsgStyle {
constexpr int Critical = 16;
constexpr int Question = 36;
}  // namespace MsgStyle

enum class MsgAnswer { Ok, Yes, No };

// A modal message box. Blocks until the user answers.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MsgAnswer show(QWidget *parent, const QString &text, const QString &title, int style) = 0;
};

}  // namespace vidorun
