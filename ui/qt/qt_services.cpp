#include "ui/qt/qt_services.h"

#include "platform/native.h"
#include "ui/qt/qt_controls.h"

#include <QDir>
#include <QFileDialog>

namespace vidorun::ui::qt {

namespace {

// "desc|pattern|desc|pattern" as Qt's name filters; "*.*" becomes "*" so
// that "All Files" shows files without an extension too.
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

}  // namespace

MsgAnswer QtMessageBoxes::show(const WindowView *parent, const std::string &text, const std::string &title,
                               int style)
{
    return messageBox(parent, text, title, style);
}

std::string QtInputBox::ask(const WindowView *parent, const std::string &prompt, const std::string &title,
                            const std::string &defaultAnswer)
{
    return m_frontEnd.askText(const_cast<WindowView *>(parent), prompt, title, defaultAnswer);
}

std::optional<std::string> QtFileDialogs::run(const WindowView *parent, FileDialogKind kind,
                                              const FileDialogRequest &request)
{
    QFileDialog dialog(parent ? windowWidget(*parent) : nullptr, toQString(request.title));
    const bool save = kind == FileDialogKind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The program asks its own overwrite question and accepts typed names
    // of missing files, as the hide-read-only flag alone implies.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    // The descriptions already name their patterns; don't show them twice.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    const QStringList filters = qtNameFilters(toQString(request.filter));
    dialog.setNameFilters(filters);
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex - 1));
    if (!request.fileName.empty())
        dialog.selectFile(toQString(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return toUtf8(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
}

PictureHandle QtPictureService::load(const std::string &path, int width, int height)
{
    return loadPicture(path, width, height);
}

void QtPictureService::loadInBackground(const std::string &path, int width, int height,
                                        std::function<void(PictureHandle)> done)
{
    m_loader.loadInBackground(path, width, height, std::move(done), m_frontEnd.mainWindow());
}

QtPlatform::QtPlatform(QtFrontEnd &frontEnd)
    : m_input(frontEnd), m_pictures(frontEnd), m_launcher(makeNativeLauncher()),
      m_media(makeNativeMediaControl()), m_system(makeNativeSystemInfo()), m_files(makeNativeFileSystem())
{
}

QtPlatform::~QtPlatform() = default;

Platform QtPlatform::platform()
{
    return Platform{m_messages, m_input, m_dialogs, *m_launcher, *m_media, *m_system, *m_files, m_pictures};
}

}  // namespace vidorun::ui::qt
