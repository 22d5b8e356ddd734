// The main window's writing side: File > Write.
#include "app/vidorun_main.h"
#include "projectfile/atomic_save.h"
#include "projectfile/project_writer.h"

namespace vidorun {

void VidorunMain::SAVEFILE_Click()
{
    const QString lastChosen = m_comDlg.FileName;
    m_comDlg.prepare(QStringLiteral("Select a location to save your 'Autorun.inf'"),
                     QStringLiteral("Autorun file (autorun.inf)|*.inf"), 1);
    m_comDlg.FileName = QStringLiteral("Autorun.inf");
    if (!m_comDlg.ShowSave(this)) {
        // The proposed name was never chosen: the next dialog starts with the last one that was.
        m_comDlg.FileName = lastChosen;
        return;
    }

    const QString target = m_comDlg.FileName;
    if (FileExists(target)) {
        const MsgAnswer answer = m_platform.messages.show(this, QStringLiteral("Overwrite existing file?"),
                                                          QStringLiteral("File already exists!"), MsgStyle::Question);
        if (answer == MsgAnswer::Yes)
            WriteProjectFile(target);
    } else {
        WriteProjectFile(target);
    }
}

// Writes the whole project to `path`. The file is replaced only once all of
// it is written; a failed save leaves the earlier file as it was and says so.
void VidorunMain::WriteProjectFile(const QString &path)
{
    const QString target = m_platform.files.resolve(path);
    const std::unique_ptr<SaveSteps> steps = m_saveSteps ? m_saveSteps(target) : std::make_unique<FileSaveSteps>(target);
    const SaveOutcome outcome = saveWhole(*steps, [this] {
        // Once the file is open, an unset close switch becomes the "0" it is
        // written as; a save that can't even open its file changes nothing.
        if (m.CloseAfterPlay.isEmpty())
            m.CloseAfterPlay = QStringLiteral("0");
        return composeProjectFile(m);
    });
    if (outcome.saved)
        return;
    const QString crlf = QStringLiteral("\r\n");
    showMessage(QStringLiteral("The file ") + path + QStringLiteral(" could not be written!") + crlf + crlf
                    + outcome.reason + crlf + crlf + QStringLiteral("Nothing was saved."),
                ErrorTitle);
}

}  // namespace vidorun
