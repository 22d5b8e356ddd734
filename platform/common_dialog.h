#pragma once

#include "platform/file_dialog.h"

#include <QString>

class QWidget;

namespace vidorun {

// OFN_HIDEREADONLY: the only flag the program ever sets.
constexpr int HideReadOnly = 4;

// The main window's one common file dialog. Its settings are kept between
// uses, so each dialog starts with the file name chosen last in any of them.
class CommonDialog {
public:
    explicit CommonDialog(FileDialogs &dialogs) : m_dialogs(dialogs) {}

    bool CancelError = false;
    QString DialogTitle;
    int Flags = 0;
    QString Filter;
    int FilterIndex = 0;
    QString FileName;

    // Show the dialog. True when a file was chosen (FileName then holds it);
    // false on cancel, which the callers treat as the failure that ends them.
    bool ShowOpen(QWidget *parent) { return show(parent, FileDialogKind::Open); }
    bool ShowSave(QWidget *parent) { return show(parent, FileDialogKind::Save); }

private:
    bool show(QWidget *parent, FileDialogKind kind);

    FileDialogs &m_dialogs;
};

}  // namespace vidorun
