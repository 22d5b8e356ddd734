// The main window's writing side: File > Write.
#include "app/vidorun_main.h"
#include "projectfile/atomic_save.h"
#include "projectfile/project_writer.h"

namespace vidorun {

void VidorunMain::SAVEFILE_Click()
{
    const std::string lastChosen = m_comDlg.FileName;
    m_comDlg.prepare("Select a location to save your 'Autorun.inf'", "Autorun file (autorun.inf)|*.inf", 1);
    m_comDlg.FileName = "Autorun.inf";
    if (!m_comDlg.ShowSave(m_view.get())) {
        // The proposed name was never chosen: the next dialog starts with the last one that was.
        m_comDlg.FileName = lastChosen;
        return;
    }

    const std::string target = m_comDlg.FileName;
    if (FileExists(target)) {
        const MsgAnswer answer =
            m_platform.messages.show(m_view.get(), "Overwrite existing file?", "File already exists!", MsgStyle::Question);
        if (answer == MsgAnswer::Yes)
            WriteProjectFile(target);
    } else {
        WriteProjectFile(target);
    }
}

// Writes the whole project to `path`. The file is replaced only once all of
// it is written; a failed save leaves the earlier file as it was and says so.
void VidorunMain::WriteProjectFile(const std::string &path)
{
    const std::string target = m_platform.files.resolve(path);
    const std::unique_ptr<SaveSteps> steps = m_saveSteps ? m_saveSteps(target) : makeFileSaveSteps(target);
    const SaveOutcome outcome = saveWhole(*steps, [this] {
        // Once the file is open, an unset close switch becomes the "0" it is
        // written as; a save that can't even open its file changes nothing.
        if (m.CloseAfterPlay.empty())
            m.CloseAfterPlay = "0";
        return composeProjectFile(m);
    });
    if (outcome.saved)
        return;
    const std::string crlf = "\r\n";
    showMessage("The file " + path + " could not be written!" + crlf + crlf + outcome.reason + crlf + crlf
                    + "Nothing was saved.",
                ErrorTitle);
}

}  // namespace vidorun
