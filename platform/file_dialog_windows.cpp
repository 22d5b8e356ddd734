// Windows' own Open and Save dialogs, through comdlg32: the dialog the
// program's file commands describe, title, filter list, filter index, flags
// and starting name, one for one.
#include "platform/windows_services.h"

#include "platform/win32_api.h"
#include <commdlg.h>

#include <vector>

namespace vidorun::win32 {

std::wstring commonDialogFilter(const std::wstring &filter)
{
    std::wstring list = filter;
    for (wchar_t &c : list) {
        if (c == L'|')
            c = L'\0';
    }
    // Every description and pattern ends in a NUL, the list in one more.
    list.push_back(L'\0');
    list.push_back(L'\0');
    return list;
}

unsigned long commonDialogFlags(unsigned long programFlags)
{
    // The explorer-style dialog; the working folder stays the disc's root
    // whatever folder the user goes to; and no overwrite or file-must-exist
    // question: the Write command asks its own, and a typed name of a
    // missing file is handed back.
    const unsigned long own = OFN_OVERWRITEPROMPT | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_CREATEPROMPT
                              | OFN_ALLOWMULTISELECT | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE
                              | OFN_ENABLETEMPLATEHANDLE;
    return (programFlags & ~own) | OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_ENABLESIZING;
}

std::optional<std::wstring> runFileDialog(void *owner, const FileDialogOptions &options)
{
    // Room for the longest path Windows takes; the starting name is cut to it.
    std::vector<wchar_t> file(32768, L'\0');
    options.fileName.copy(file.data(), file.size() - 1);
    const std::wstring filter = commonDialogFilter(options.filter);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = static_cast<HWND>(owner);
    dialog.lpstrFilter = options.filter.empty() ? nullptr : filter.c_str();
    dialog.nFilterIndex = options.filterIndex > 0 ? DWORD(options.filterIndex) : 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = DWORD(file.size());
    dialog.lpstrTitle = options.title.empty() ? nullptr : options.title.c_str();
    dialog.Flags = commonDialogFlags(options.flags);

    const BOOL chosen = options.save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen)
        return std::nullopt;  // cancelled, or CommDlgExtendedError() says why it could not be shown
    return std::wstring(file.data());
}

}  // namespace vidorun::win32
