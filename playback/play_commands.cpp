// Playing the selected movie, and the CD tray.
#include "app/vidorun_main.h"
#include "playback/play_logic.h"

namespace vidorun {

void VidorunMain::PlayButton_Click()
{
    if (m_view->currentIndex("Movies") == -1) {
        showMessage(NoMovieSelectedText, NoMovieSelectedTitle, MsgStyle::Critical);
        return;
    }
    PlaySelectedMovie();
}

// The menu's Play is the button's.
void VidorunMain::PLAYMOVIE_Click()
{
    PlayButton_Click();
}

// Checks that the movie's disc is in (its marker file is in the working
// folder) and that the movie file is there, then hands the movie to the
// system to be opened with its own player, in the background.
void VidorunMain::PlaySelectedMovie()
{
    const int k = m_view->currentIndex("Movies") + 1;
    if (k < 1 || k > MaxMovieNumber)
        return;
    const std::string label = m.MovieCDs[std::size_t(k)];
    const std::string path = m.MoviePaths[std::size_t(k)];

    if (!FileExists(markerFileName(label))) {
        showMessage(wrongCdText(label), WrongCdTitle, MsgStyle::Critical);
        // Open the tray for the right disc (or close it, when it is open).
        EjectButton_Click();
        return;
    }
    if (!FileExists(path)) {
        showMessage(missingMovieText(path), ErrorTitle, MsgStyle::Critical);
        return;
    }

    if (m_startLog)
        m_startLog(startCommandLine(m.PlatformId, path));
    const LaunchResult started = m_platform.launcher.openDocument(m_platform.files.resolve(path));
    if (!started.started) {
        showMessage(startFailedText(path, started.error), ErrorTitle, MsgStyle::Critical);
        return;
    }
    if (closesAfterPlay(m.CloseAfterPlay))
        unloadMainWindow();
}

// Opens the tray when the program believes it closed and closes it when it
// believes it open. The drive's answer is not looked at: without a drive the
// button alternates all the same.
void VidorunMain::EjectButton_Click()
{
    const std::optional<TrayStep> step = trayStep(m.TrayState);
    if (!step)
        return;
    m_view->setText("EjectButton", step->caption);
    m_platform.media.sendString(step->command);
    m.TrayState = step->nextState;
}

}  // namespace vidorun
