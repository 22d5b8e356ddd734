#pragma once

// The program's message box on Qt.
#include "platform/message_box.h"

#include <QString>

class QWidget;

namespace vidorun {

// A modal QMessageBox over `parent` (or none): `style` MsgStyle::Question
// asks Yes (the default) or No; any other style shows the stop icon and OK.
// CR LF in `text` starts a new line; text is shown as written, never as
// rich text.
MsgAnswer showQtMessageBox(QWidget *parent, const QString &text, const QString &title, int style);

}  // namespace vidorun
