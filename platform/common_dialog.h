#pragma once

#include "platform/file_dialog.h"

#include <string>

namespace vidorun {

// OFN_HIDEREADONLY: the only flag the program ever sets.
constexpr int HideReadOnly = 4;

// The main window's one common file dialog. Its settings are kept between
// uses, so each dialog starts with the file name chosen last in any of them.
class CommonDialog {
public:
    explicit CommonDialog(FileDialogs &dialogs) : m_dialogs(dialogs) {}

    bool CancelError = false;
    std::string DialogTitle;
    int Flags = 0;
    std::string Filter;
    int FilterIndex = 0;
    std::string FileName;

    // What every file command sets before each use: a cancel ends the
    // command, only the read-only check box is hidden, and the command's own
    // title and "description|pattern" filter with its 1-based index.
    void prepare(const std::string &title, const std::string &filter, int filterIndex)
    {
        CancelError = true;
        DialogTitle = title;
        Flags = HideReadOnly;
        Filter = filter;
        FilterIndex = filterIndex;
    }

    // Show the dialog. True when a file was chosen (FileName then holds it);
    // false on cancel, which the callers treat as the failure that ends them.
    bool ShowOpen(const ui::WindowView *parent) { return show(parent, FileDialogKind::Open); }
    bool ShowSave(const ui::WindowView *parent) { return show(parent, FileDialogKind::Save); }

private:
    bool show(const ui::WindowView *parent, FileDialogKind kind);

    FileDialogs &m_dialogs;
};

}  // namespace vidorun
