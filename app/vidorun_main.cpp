#include "app/vidorun_main.h"

#include "windows/child_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>

namespace vidorun {

QString versionText()
{
    return QString::number(VersionMajor) + QLatin1Char('.') + QString::number(VersionMinor);
}

VidorunMain::VidorunMain(const Platform &platform, QWidget *parent)
    : QMainWindow(parent), m_platform(platform), m_comDlg(platform.dialogs)
{
    buildUi();
    buildMenus();
    connectCommands();
    Form_Load();
}

VidorunMain::~VidorunMain()
{
    // A child window has no owner; it must not outlive the window it hands back to.
    if (m_openChild) {
        m_openChild->disconnect(this);
        delete m_openChild.data();
    }
}

void VidorunMain::setCommandObserver(std::function<void(const QString &)> observer)
{
    m_commandObserver = std::move(observer);
}

void VidorunMain::runCommand(const char *name, void (VidorunMain::*handler)())
{
    if (m_commandObserver)
        m_commandObserver(QString::fromLatin1(name));
    (this->*handler)();
}

void VidorunMain::showMessage(const QString &text, const QString &title, int style)
{
    m_platform.messages.show(this, text, title, style);
}

bool VidorunMain::FileExists(const QString &FileNameToTest)
{
    return m_platform.files.fileExists(FileNameToTest);
}

// Start-up: platform code, the project file in the working folder, reset,
// read, check, cover, list; in this order.
void VidorunMain::Form_Load()
{
    m.PlatformId = QString::number(std::int16_t(m_platform.system.platformId()));
    m.ProjectFile = FileExists(QStringLiteral("Autorun.inf")) ? QStringLiteral(".\\Autorun.inf") : QString();
    ResetProject();
    ReadProjectFile();
    CheckProjectCounts();
    ShowCoverPicture();
    FillMovieList();
    m_loaded = true;
}

void VidorunMain::ResetProject()
{
    m.TrayState = QStringLiteral("CLOSED");
    m.TitleCount = QStringLiteral("0");
    m.PathCount = QStringLiteral("0");
    m.CDCount = QStringLiteral("0");
}

void VidorunMain::FillMovieList()
{
    const int n = listableMovies(m);
    for (m.LoopIndex = 1; m.LoopIndex <= n; ++m.LoopIndex)
        Movies->addItem(m.MovieTitles[m.LoopIndex]);
    Movies->setCurrentIndex(-1);
}

void VidorunMain::showTotalMovies()
{
    TotalMoviesText->setText(QStringLiteral("Total number of movies: ") + m.TitleCount);
}

static const QString Empty = QStringLiteral("empty");

// Applies what a child window handed back: a pending add, then a pending
// removal. Running it twice is harmless: the second run finds "empty".
void VidorunMain::Form_Activate()
{
    if (!m_loaded)
        return;

    const QString name = tempmoviename->text();
    const QString cd = tempmoviecd->text();
    const QString location = tempmovielocation->text();
    if (name != Empty && cd != Empty && location != Empty) {
        // The Add movie command opens its window only when there is room,
        // and nothing changes the project while the window is up.
        if (roomForAnotherMovie(m)) {
            m.TitleCount = raisedCounter(m.TitleCount);
            m.PathCount = raisedCounter(m.PathCount);
            m.CDCount = raisedCounter(m.CDCount);
            m.MovieTitles[std::max(0, counterValue(m.TitleCount))] = name;
            m.MoviePaths[std::max(0, counterValue(m.PathCount))] = location;
            m.MovieCDs[std::max(0, counterValue(m.CDCount))] = cd;
        }
        tempmoviename->setText(Empty);
        tempmovielocation->setText(Empty);
        tempmoviecd->setText(Empty);
        Movies->clear();
        FillMovieList();
        showTotalMovies();
    }

    const QString removal = tempremovemovie->text();
    if (removal != Empty) {
        bool ok = false;
        const double number = removal.trimmed().toDouble(&ok);
        const int k = ok ? int(std::nearbyint(number)) : 0;
        const int n = counterValue(m.TitleCount);
        if (ok && k >= 1 && k <= std::min(n, MaxMovieNumber)) {
            m.MovieTitles[k].clear();
            m.MoviePaths[k].clear();
            m.MovieCDs[k].clear();
            const int last = std::min(n, MaxMovieNumber);
            for (m.LoopIndex = std::int16_t(k + 1); m.LoopIndex <= last; ++m.LoopIndex) {
                m.MovieTitles[m.LoopIndex - 1] = m.MovieTitles[m.LoopIndex];
                m.MoviePaths[m.LoopIndex - 1] = m.MoviePaths[m.LoopIndex];
                m.MovieCDs[m.LoopIndex - 1] = m.MovieCDs[m.LoopIndex];
            }
            m.MovieTitles[last].clear();
            m.MoviePaths[last].clear();
            m.MovieCDs[last].clear();
            m.TitleCount = loweredCounter(m.TitleCount);
            m.PathCount = loweredCounter(m.PathCount);
            m.CDCount = loweredCounter(m.CDCount);
            Movies->clear();
            FillMovieList();
            showTotalMovies();
        }
        tempremovemovie->setText(Empty);
    }
}

void VidorunMain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

void VidorunMain::closeEvent(QCloseEvent *event)
{
    // The close box quits like Exit: at once, without asking. While a child
    // window is up the main window is disabled and stays.
    if (m_openChild) {
        event->ignore();
        return;
    }
    event->accept();
}

void VidorunMain::unloadMainWindow()
{
    close();
}

void VidorunMain::QuitButton_Click()
{
    unloadMainWindow();
}

void VidorunMain::EXIT_Click()
{
    unloadMainWindow();
}

}  // namespace vidorun
