#pragma once

// The Windows services the program uses, on the Win32 API directly. Plain
// C++ with UTF-16 paths and no Qt, so that they compile with any Windows
// compiler; native_windows.cpp adapts them to the platform interfaces.
#include <optional>
#include <string>

namespace vidorun::win32 {

struct StartResult {
    bool started = false;
    std::wstring error;  // the system's reason when not started
};

// Opens the file with the program Windows associates with its type (the
// "open" verb), in a minimised window that leaves the focus with us. The
// path is handed over whole; no command interpreter is involved.
StartResult openDocumentMinimized(const std::wstring &path);

// Starts the file at `path` itself as a program, in a normal window. The
// path is never searched for and never read as a command line.
StartResult startProgram(const std::wstring &path);

// Sends a command string to the media control interface; answers its
// error code (0 for success). The reply text is not kept.
int sendMciString(const std::string &command);

// The operating system's platform identifier (2 for the NT family).
int platformId();

// One use of the system's Open or Save dialog, as the program describes it.
struct FileDialogOptions {
    bool save = false;
    std::wstring title;
    std::wstring filter;  // "description|pattern|description|pattern"
    int filterIndex = 1;  // counts from 1
    unsigned long flags = 0;  // the dialog's own flags; 4 hides the read-only check box
    std::wstring fileName;    // the name the dialog starts with
};

// The filter as the dialog takes it: each "|" a NUL, the list ending in two.
std::wstring commonDialogFilter(const std::wstring &filter);
// The flags the dialog is shown with: the program's, and always the ones
// that keep the working folder where it is (it is the disc's root) and ask
// no question of the dialog's own (the program asks its own).
unsigned long commonDialogFlags(unsigned long programFlags);

// Shows the dialog (comdlg32) over the window `owner` (an HWND, or none)
// and waits. Answers the chosen path, or nothing when the user cancels or
// the dialog can't be shown.
std::optional<std::wstring> runFileDialog(void *owner, const FileDialogOptions &options);

}  // namespace vidorun::win32
