#pragma once

#include "app/project.h"
#include "platform/common_dialog.h"
#include "platform/platform.h"
#include "projectfile/atomic_save.h"
#include "windows/child_window.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>

class QAction;
class QComboBox;
class QLabel;
class QPushButton;

namespace vidorun {

// The program's version, shown as "4.0".
constexpr int VersionMajor = VIDORUN_VERSION_MAJOR;
constexpr int VersionMinor = VIDORUN_VERSION_MINOR;
QString versionText();

// The texts and the setting of the player or the codec installer.
struct InstallerSetting;

// The message box title every error shares.
inline const QString ErrorTitle = QStringLiteral("Shit ... Error!");

// The main window is the program: it owns the one Project for the whole run,
// shows the movie list and the cover, and runs one handler per button and
// menu item. Child windows never touch the project; they hand their results
// back through four hidden labels that Form_Activate applies.
class VidorunMain : public QMainWindow {
    Q_OBJECT

public:
    explicit VidorunMain(const Platform &platform, QWidget *parent = nullptr);
    ~VidorunMain() override;

    // Read-only view of the project, for the child windows and for tests.
    const Project &project() const { return m; }

    // True unless opening the file for reading fails because it is not there
    // (missing file or folder, a folder, an empty name).
    bool FileExists(const QString &FileNameToTest);

    // The shared file dialog; the Add movie window's Browse button uses it.
    CommonDialog &ComDlg() { return m_comDlg; }
    const Platform &platform() const { return m_platform; }

    // The four hidden transfer fields through which child windows hand back.
    QLabel *tempmoviename = nullptr;
    QLabel *tempmoviecd = nullptr;
    QLabel *tempmovielocation = nullptr;
    QLabel *tempremovemovie = nullptr;

    // Opening and closing a child window: the main window is disabled while a
    // child is up; however the child closes, the main window is enabled again,
    // gets the focus, and applies what was handed back.
    void openChildWindow(ChildWindow *child);
    ChildWindow *openChild() const { return m_openChild; }

    // True while a cover picture is being decoded to be shown.
    bool coverLoading() const { return m_coverLoading; }

    // Called with each handler's name just before it runs; lets tests see
    // which command a button or menu item reaches.
    void setCommandObserver(std::function<void(const QString &)> observer);

    // Where File > Write gets the steps of its save (real files when unset);
    // lets tests fail a save at any step.
    void setSaveSteps(SaveStepsFactory factory) { m_saveSteps = std::move(factory); }

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // --- start-up, list and hand-back (app/) ---
    void buildUi();
    void buildMenus();
    void connectCommands();
    void Form_Load();
    void Form_Activate();
    void ResetProject();
    void FillMovieList();
    void showTotalMovies();
    void childClosed();
    void unloadMainWindow();

    // --- project file (projectfile/) ---
    void ReadProjectFile();
    void CheckProjectCounts();
    void ShowCoverPicture();
    bool loadCoverPicture(const QString &path);
    void showCoverWhenLoaded(const QString &path);
    void OPENINIFILE_Click();
    void SAVEFILE_Click();
    void WriteProjectFile(const QString &path);

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

    void showMessage(const QString &text, const QString &title, int style = MsgStyle::Critical);
    void runCommand(const char *name, void (VidorunMain::*handler)());

    Platform m_platform;
    CommonDialog m_comDlg;
    Project m;
    std::function<void(const QString &)> m_commandObserver;
    SaveStepsFactory m_saveSteps;
    QPointer<ChildWindow> m_openChild;
    QPointer<QWidget> m_focusBeforeChild;
    bool m_loaded = false;
    unsigned m_coverRequest = 0;  // the latest cover asked for; earlier ones are dropped
    bool m_coverLoading = false;

    // Controls, named as the program names them.
    QComboBox *Movies = nullptr;
    QPushButton *About = nullptr;
    QPushButton *EjectButton = nullptr;
    QPushButton *PlayButton = nullptr;
    QPushButton *QuitButton = nullptr;
    QPushButton *MPlayer = nullptr;
    QPushButton *Codec_Button = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *NoPictureText = nullptr;
    QLabel *TotalMoviesText = nullptr;
    QLabel *CoverPicture = nullptr;
    QLabel *CodecLogo = nullptr;

    QAction *OPENINIFILE = nullptr;
    QAction *SAVEFILE = nullptr;
    QAction *EXIT = nullptr;
    QAction *ADDMOVIE = nullptr;
    QAction *REMOVEMOVIE = nullptr;
    QAction *PLAYMOVIE = nullptr;
    QAction *INSTALLPLAYER = nullptr;
    QAction *INSTALLCODEC = nullptr;
    QAction *CURRENTSETTINGS = nullptr;
    QAction *VIDORUNTITLE = nullptr;
    QAction *SELECTCOVER = nullptr;
    QAction *PLAYERLOCATION = nullptr;
    QAction *CODECLOCATION = nullptr;
    QAction *ENGLISHLANGUAGE = nullptr;
    QAction *DUTCHLANGUAGE = nullptr;
    QAction *HELPME = nullptr;
    QAction *ABOUTSCREEN = nullptr;
};

}  // namespace vidorun
