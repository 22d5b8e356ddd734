#pragma once

#include <optional>
#include <string>

namespace vidorun {

namespace ui {
class WindowView;
}

enum class FileDialogKind { Open, Save };

// One use of the platform's Open or Save dialog. The filter is the program's
// "description|pattern|description|pattern" text; the index counts from 1.
struct FileDialogRequest {
    std::string title;
    std::string filter;
    int filterIndex = 1;
    int flags = 0;
    std::string fileName;
};

// Shows the dialog over `parent` and waits; answers the chosen path, or
// nothing on cancel.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<std::string> run(const ui::WindowView *parent, FileDialogKind kind,
                                           const FileDialogRequest &request) = 0;
};

}  // namespace vidorun
