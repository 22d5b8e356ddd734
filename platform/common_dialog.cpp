#include "platform/common_dialog.h"

namespace vidorun {

bool CommonDialog::show(const ui::WindowView *parent, FileDialogKind kind)
{
    FileDialogRequest request;
    request.title = DialogTitle;
    request.filter = Filter;
    request.filterIndex = FilterIndex;
    request.flags = Flags;
    request.fileName = FileName;
    const std::optional<std::string> chosen = m_dialogs.run(parent, kind, request);
    if (!chosen)
        return false;
    FileName = *chosen;
    return true;
}

}  // namespace vidorun
