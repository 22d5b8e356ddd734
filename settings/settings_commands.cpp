// Project title, cover picture, player and codec, and their installers.
#include "app/vidorun_main.h"

namespace vidorun {

void VidorunMain::VIDORUNTITLE_Click()
{
    // An empty answer (a cancel, too) keeps the title; blanks are a title.
    const std::string previous = m.ProjectTitle;
    m.ProjectTitle = m_platform.input.ask(m_view.get(), "Give me a title for your Vidorun project",
                                          "Vidorun project title", "");
    if (m.ProjectTitle.empty())
        m.ProjectTitle = previous;
    setCaption("Vidorun ; " + m.ProjectTitle);
}

void VidorunMain::SELECTCOVER_Click()
{
    m_comDlg.prepare("Select your cover picture", "All Files (*.*)|*.*|Cover pictures (*.jpg)|*.jpg", 2);
    if (!m_comDlg.ShowOpen(m_view.get()))
        return;

    const std::string chosen = m_comDlg.FileName;
    if (!FileExists(chosen)) {
        showMessage("The file " + chosen + " does not exists!", ErrorTitle);
        m_view->setVisible("NoPictureText", true);
        return;
    }
    // The path is kept even when the file is no picture the loader can read;
    // the screen then stays as it was, without a word.
    m.CoverPicturePath = chosen;
    loadCoverPicture(m.CoverPicturePath);
}

// Player and codec differ only in their setting and their texts.
struct InstallerSetting {
    std::string Project::*path;
    std::string dialogTitle;
    std::string notFound;
    std::string notAttached;
    std::string notAttachedTitle;
    std::string notStarted;
};

static const InstallerSetting Player = {
    &Project::PlayerPath,
    "Select your favorite player",
    "This player does not exists!",
    "There is no player attached!",
    "What!  No PLAYER?",
    "This player could not be started!",
};

static const InstallerSetting Codec = {
    &Project::CodecPath,
    "Select your favorite codec",
    "This codec does not exists!",
    "There is no codec attached!",
    "What!  No CODEC?",
    "This codec could not be started!",
};

void VidorunMain::selectInstaller(const InstallerSetting &installer)
{
    m_comDlg.prepare(installer.dialogTitle, "Executables (*.exe)|*.exe", 1);
    if (!m_comDlg.ShowOpen(m_view.get()))
        return;

    const std::string chosen = m_comDlg.FileName;
    if (FileExists(chosen))
        m.*installer.path = chosen;
    else
        showMessage(installer.notFound, ErrorTitle);
}

void VidorunMain::runInstaller(const InstallerSetting &installer)
{
    const std::string path = m.*installer.path;
    const std::string crlf = "\r\n";
    if (FileExists(path)) {
        // The installer is started as a program, its whole path the program's
        // name; no command interpreter ever sees it.
        const LaunchResult result = m_platform.launcher.startProgram(m_platform.files.resolve(path));
        if (!result.started) {
            std::string text = installer.notStarted + crlf + "(it is in " + path + ')';
            if (!result.error.empty())
                text += crlf + result.error;
            showMessage(text, ErrorTitle);
        }
    } else if (path.empty()) {
        showMessage(installer.notAttached, installer.notAttachedTitle);
    } else {
        showMessage(installer.notAttached + crlf + "(it should be in " + path + ')', installer.notAttachedTitle);
    }
}

void VidorunMain::PLAYERLOCATION_Click() { selectInstaller(Player); }
void VidorunMain::CODECLOCATION_Click() { selectInstaller(Codec); }
void VidorunMain::MPlayer_Click() { runInstaller(Player); }
void VidorunMain::Codec_Button_Click() { runInstaller(Codec); }
void VidorunMain::INSTALLPLAYER_Click() { MPlayer_Click(); }
void VidorunMain::INSTALLCODEC_Click() { Codec_Button_Click(); }

}  // namespace vidorun
