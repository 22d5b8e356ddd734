#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace vidorun {

enum class FileDialogKind { Open, Save };

// One use of the platform's Open or Save dialog. The filter is the program's
// "description|pattern|description|pattern" text; the index counts from 1.
struct FileDialogRequest {
    QString title;
    QString filter;
    int filterIndex = 1;
    int flags = 0;
    QString fileName;
};

// Shows the dialog and waits; answers the chosen path, or nothing on cancel.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    virtual std::optional<QString> run(QWidget *parent, FileDialogKind kind,
                                       const FileDialogRequest &request) = 0;
};

}  // namespace vidorun
