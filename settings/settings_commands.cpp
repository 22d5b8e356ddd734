// Project title, cover picture, player and codec, and their installers.
#include "app/vidorun_main.h"
#include "windows/form_controls.h"

#include <QLabel>

namespace vidorun {

void VidorunMain::VIDORUNTITLE_Click()
{
    // An empty answer (a cancel, too) keeps the title; blanks are a title.
    const QString previous = m.ProjectTitle;
    m.ProjectTitle = m_platform.input.ask(this, QStringLiteral("Give me a title for your Vidorun project"),
                                          QStringLiteral("Vidorun project title"), QString());
    if (m.ProjectTitle.isEmpty())
        m.ProjectTitle = previous;
    setCaption(this, QStringLiteral("Vidorun ; ") + m.ProjectTitle);
}

void VidorunMain::SELECTCOVER_Click()
{
    m_comDlg.prepare(QStringLiteral("Select your cover picture"),
                     QStringLiteral("All Files (*.*)|*.*|Cover pictures (*.jpg)|*.jpg"), 2);
    if (!m_comDlg.ShowOpen(this))
        return;

    const QString chosen = m_comDlg.FileName;
    if (!FileExists(chosen)) {
        showMessage(QStringLiteral("The file ") + chosen + QStringLiteral(" does not exists!"), ErrorTitle);
        NoPictureText->show();
        return;
    }
    // The path is kept even when the file is no picture the loader can read;
    // the screen then stays as it was, without a word.
    m.CoverPicturePath = chosen;
    loadCoverPicture(m.CoverPicturePath);
}

// Player and codec differ only in their setting and their texts.
struct InstallerSetting {
    QString Project::*path;
    const char *dialogTitle;
    const char *notFound;
    const char *notAttached;
    const char *notAttachedTitle;
    const char *notStarted;
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
    m_comDlg.prepare(QLatin1String(installer.dialogTitle), QStringLiteral("Executables (*.exe)|*.exe"), 1);
    if (!m_comDlg.ShowOpen(this))
        return;

    const QString chosen = m_comDlg.FileName;
    if (FileExists(chosen))
        m.*installer.path = chosen;
    else
        showMessage(QLatin1String(installer.notFound), ErrorTitle);
}

void VidorunMain::runInstaller(const InstallerSetting &installer)
{
    const QString path = m.*installer.path;
    const QString crlf = QStringLiteral("\r\n");
    if (FileExists(path)) {
        // The installer is started as a program, its whole path the program's
        // name; no command interpreter ever sees it.
        const LaunchResult result = m_platform.launcher.startProgram(m_platform.files.resolve(path));
        if (!result.started) {
            QString text = QLatin1String(installer.notStarted) + crlf + QStringLiteral("(it is in ") + path
                + QLatin1Char(')');
            if (!result.error.isEmpty())
                text += crlf + result.error;
            showMessage(text, ErrorTitle);
        }
    } else if (path.isEmpty()) {
        showMessage(QLatin1String(installer.notAttached), QLatin1String(installer.notAttachedTitle));
    } else {
        showMessage(QLatin1String(installer.notAttached) + crlf + QStringLiteral("(it should be in ") + path
                        + QLatin1Char(')'),
                    QLatin1String(installer.notAttachedTitle));
    }
}

void VidorunMain::PLAYERLOCATION_Click() { selectInstaller(Player); }
void VidorunMain::CODECLOCATION_Click() { selectInstaller(Codec); }
void VidorunMain::MPlayer_Click() { runInstaller(Player); }
void VidorunMain::Codec_Button_Click() { runInstaller(Codec); }
void VidorunMain::INSTALLPLAYER_Click() { MPlayer_Click(); }
void VidorunMain::INSTALLCODEC_Click() { Codec_Button_Click(); }

}  // namespace vidorun
