#pragma once

#include <QString>

class QWidget;

namespace vidorun {

// A modal text-input box. Answers the empty text when cancelled.
class InputBox {
public:
    virtual ~InputBox() = default;
    virtual QString ask(QWidget *parent, const QString &prompt, const QString &title,
                        const QString &defaultAnswer) = 0;
};

}  // namespace vidorun
