#pragma once

// The main window is the program: it owns the one Project for the whole run,
// shows the movie list and the cover, and runs one handler per button and
// menu item. Child windows never touch the project; they hand their results
// back through four hidden labels that Form_Activate applies.
//
// Plain C++: the window on the screen is a ui::WindowView that a front end
// (Qt widgets on Linux, Windows' own controls in Vidorun.exe) realised from
// its description (ui/descriptions.cpp), and every handler names controls
// as that description does.
#include "app/project.h"
#include "app/version.h"
#include "platform/common_dialog.h"
#include "platform/platform.h"
#include "projectfile/atomic_save.h"
#include "ui/window_view.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace vidorun {

class ChildWindow;

// The texts and the setting of the player or the codec installer.
struct InstallerSetting;

// The message box title every error shares.
inline const std::string ErrorTitle = "Shit ... Error!";

class VidorunMain final : public ui::WindowEvents {
public:
    // Realises the main window and starts the program in it (Form_Load);
    // the window is shown by show().
    VidorunMain(const Platform &platform, ui::FrontEnd &frontEnd);
    ~VidorunMain() override;
    VidorunMain(const VidorunMain &) = delete;
    VidorunMain &operator=(const VidorunMain &) = delete;

    void show();

    // Read-only view of the project, for the child windows and for tests.
    const Project &project() const { return m; }
    ui::WindowView &view() { return *m_view; }
    ui::FrontEnd &frontEnd() { return m_frontEnd; }

    // True unless opening the file for reading fails because it is not there
    // (missing file or folder, a folder, an empty name).
    bool FileExists(const std::string &FileNameToTest);

    // The shared file dialog; the Add movie window's Browse button uses it.
    CommonDialog &ComDlg() { return m_comDlg; }
    const Platform &platform() const { return m_platform; }

    // The four hidden transfer fields through which child windows hand back:
    // labels of the main window, "empty" when nothing is pending.
    std::string transferField(std::string_view name) const { return m_view->text(name); }
    void setTransferField(std::string_view name, const std::string &text) { m_view->setText(name, text); }

    // Opening and closing a child window: the main window is disabled while a
    // child is up; however the child closes, the main window is enabled again,
    // gets the focus, and applies what was handed back.
    void openChildWindow(std::unique_ptr<ChildWindow> child);
    ChildWindow *openChild() const { return m_openChild.get(); }
    void childClosed(ChildWindow &child);

    // True while a cover picture is being decoded to be shown.
    bool coverLoading() const { return m_coverLoading; }

    // Called with each handler's name just before it runs; lets tests see
    // which command a button or menu item reaches.
    void setCommandObserver(std::function<void(const std::string &)> observer);
    // Told the description of every movie start ("START <path>", "CMD /C
    // <path>"), for those who want it logged.
    void setStartLog(std::function<void(const std::string &)> log) { m_startLog = std::move(log); }

    // Where File > Write gets the steps of its save (real files when unset);
    // lets tests fail a save at any step.
    void setSaveSteps(SaveStepsFactory factory) { m_saveSteps = std::move(factory); }

    // What the window tells: a button or menu item, its activation, its
    // close box.
    void command(std::string_view name) override;
    void activated() override { Form_Activate(); }
    bool mayClose() override;

private:
    // --- start-up, list and hand-back (app/) ---
    void Form_Load();
    void Form_Activate();
    void ResetProject();
    void FillMovieList();
    void showTotalMovies();
    void unloadMainWindow();
    void setCaption(const std::string &caption) { m_view->setCaption(caption); }

    // --- project file (projectfile/) ---
    void ReadProjectFile();
    void CheckProjectCounts();
    void ShowCoverPicture();
    bool loadCoverPicture(const std::string &path);
    void showCoverWhenLoaded(const std::string &path);
    void OPENINIFILE_Click();
    void SAVEFILE_Click();
    void WriteProjectFile(const std::string &path);

    // --- playback and tray (playback/) ---
    void PlayButton_Click();
    void PLAYMOVIE_Click();
    void PlaySelectedMovie();
    void EjectButton_Click();

    // --- settings and installers (settings/) ---
    void VIDORUNTITLE_Click();
    void SELECTCOVER_Click();
    void PLAYERLOCATION_Click();
    void CODECLOCATION_Click();
    void MPlayer_Click();
    void Codec_Button_Click();
    void INSTALLPLAYER_Click();
    void INSTALLCODEC_Click();
    void CURRENTSETTINGS_Click();
    void selectInstaller(const InstallerSetting &installer);
    void runInstaller(const InstallerSetting &installer);

    // --- child windows and information (windows/) ---
    void ADDMOVIE_Click();
    void REMOVEMOVIE_Click();
    void About_Click();
    void ABOUTSCREEN_Click();
    void HELPME_Click();
    void ENGLISHLANGUAGE_Click();
    void DUTCHLANGUAGE_Click();
    void notImplementedYet();

    // --- quitting ---
    void QuitButton_Click();
    void EXIT_Click();

    void showMessage(const std::string &text, const std::string &title, int style = MsgStyle::Critical);

    Platform m_platform;
    ui::FrontEnd &m_frontEnd;
    CommonDialog m_comDlg;
    Project m;
    std::unique_ptr<ui::WindowView> m_view;
    std::function<void(const std::string &)> m_commandObserver;
    std::function<void(const std::string &)> m_startLog;
    SaveStepsFactory m_saveSteps;
    std::unique_ptr<ChildWindow> m_openChild;
    std::unique_ptr<ChildWindow> m_closedChild;  // discarded once the event that closed it is over
    std::string m_focusBeforeChild;
    // Work handed to the front end for later checks this before it runs.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
    bool m_loaded = false;
    bool m_closing = false;
    unsigned m_coverRequest = 0;  // the latest cover asked for; earlier ones are dropped
    bool m_coverLoading = false;
};

}  // namespace vidorun
