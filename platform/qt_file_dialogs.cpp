// The Open and Save dialogs on Linux and other Unix desktops: Qt's, which
// hands them to the desktop's own where it has one.
#include "platform/native.h"

#include <QDir>
#include <QFileDialog>

namespace vidorun {
namespace {

// Turns "desc|pattern|desc|pattern" into Qt's name filters; "*.*" becomes
// "*" so that "All Files" shows files without an extension too.
QStringList qtNameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts.at(i + 1);
        pattern.replace(QLatin1String("*.*"), QLatin1String("*"));
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        result << parts.at(i) + QLatin1String(" (") + pattern + QLatin1Char(')');
    }
    return result;
}

class QtFileDialogs final : public FileDialogs {
public:
    std::optional<QString> run(QWidget *parent, FileDialogKind kind, const FileDialogRequest &request) override
    {
        QFileDialog dialog(parent, request.title);
        const bool save = kind == FileDialogKind::Save;
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        // The program asks its own overwrite question and accepts typed names
        // of missing files, as the hide-read-only flag alone implies.
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        // The descriptions already name their patterns; don't show them twice.
        dialog.setOption(QFileDialog::HideNameFilterDetails, true);
        const QStringList filters = qtNameFilters(request.filter);
        dialog.setNameFilters(filters);
        if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
            dialog.selectNameFilter(filters.at(request.filterIndex - 1));
        if (!request.fileName.isEmpty())
            dialog.selectFile(request.fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    }
};

}  // namespace

std::unique_ptr<FileDialogs> makeNativeFileDialogs()
{
    return std::make_unique<QtFileDialogs>();
}

}  // namespace vidorun
