#include "app/vidorun_main.h"

#include "base/text.h"
#include "ui/descriptions.h"
#include "windows/child_window.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vidorun {

VidorunMain::VidorunMain(const Platform &platform, ui::FrontEnd &frontEnd)
    : m_platform(platform), m_frontEnd(frontEnd), m_comDlg(platform.dialogs),
      m_view(frontEnd.realise(ui::MainWindow, *this))
{
    Form_Load();
}

VidorunMain::~VidorunMain()
{
    *m_alive = false;
    // A child window must not outlive the window it hands back to.
    m_openChild.reset();
    m_closedChild.reset();
}

void VidorunMain::show()
{
    m_view->show();
    // Where no window manager hands out the focus, take it, so that the keys
    // reach the movie list at once.
    m_view->activate();
}

void VidorunMain::setCommandObserver(std::function<void(const std::string &)> observer)
{
    m_commandObserver = std::move(observer);
}

// Every button and menu item runs one handler, named after it.
void VidorunMain::command(std::string_view name)
{
    struct Command {
        std::string_view control;  // its handler is named after it: control_Click
        void (VidorunMain::*handler)();
    };
    static constexpr Command commands[] = {
        {"PlayButton", &VidorunMain::PlayButton_Click},
        {"EjectButton", &VidorunMain::EjectButton_Click},
        {"QuitButton", &VidorunMain::QuitButton_Click},
        {"About", &VidorunMain::About_Click},
        {"MPlayer", &VidorunMain::MPlayer_Click},
        {"Codec_Button", &VidorunMain::Codec_Button_Click},
        {"OPENINIFILE", &VidorunMain::OPENINIFILE_Click},
        {"SAVEFILE", &VidorunMain::SAVEFILE_Click},
        {"EXIT", &VidorunMain::EXIT_Click},
        {"ADDMOVIE", &VidorunMain::ADDMOVIE_Click},
        {"REMOVEMOVIE", &VidorunMain::REMOVEMOVIE_Click},
        {"PLAYMOVIE", &VidorunMain::PLAYMOVIE_Click},
        {"INSTALLPLAYER", &VidorunMain::INSTALLPLAYER_Click},
        {"INSTALLCODEC", &VidorunMain::INSTALLCODEC_Click},
        {"CURRENTSETTINGS", &VidorunMain::CURRENTSETTINGS_Click},
        {"VIDORUNTITLE", &VidorunMain::VIDORUNTITLE_Click},
        {"SELECTCOVER", &VidorunMain::SELECTCOVER_Click},
        {"PLAYERLOCATION", &VidorunMain::PLAYERLOCATION_Click},
        {"CODECLOCATION", &VidorunMain::CODECLOCATION_Click},
        {"ENGLISHLANGUAGE", &VidorunMain::ENGLISHLANGUAGE_Click},
        {"DUTCHLANGUAGE", &VidorunMain::DUTCHLANGUAGE_Click},
        {"HELPME", &VidorunMain::HELPME_Click},
        {"ABOUTSCREEN", &VidorunMain::ABOUTSCREEN_Click},
    };
    const auto found = std::find_if(std::begin(commands), std::end(commands),
                                    [name](const Command &c) { return c.control == name; });
    if (found == std::end(commands) || m_closing)
        return;
    if (m_commandObserver)
        m_commandObserver(std::string(found->control) + "_Click");
    (this->*found->handler)();
}

void VidorunMain::showMessage(const std::string &text, const std::string &title, int style)
{
    m_platform.messages.show(m_view.get(), text, title, style);
}

bool VidorunMain::FileExists(const std::string &FileNameToTest)
{
    return m_platform.files.fileExists(FileNameToTest);
}

// Start-up: platform code, the project file in the working folder, reset,
// read, check, cover, list; in this order.
void VidorunMain::Form_Load()
{
    m.PlatformId = std::to_string(std::int16_t(m_platform.system.platformId()));
    m.ProjectFile = FileExists("Autorun.inf") ? ".\\Autorun.inf" : "";
    ResetProject();
    ReadProjectFile();
    CheckProjectCounts();
    ShowCoverPicture();
    FillMovieList();
    m_loaded = true;
}

void VidorunMain::ResetProject()
{
    m.TrayState = "CLOSED";
    m.TitleCount = "0";
    m.PathCount = "0";
    m.CDCount = "0";
}

void VidorunMain::FillMovieList()
{
    const int n = listableMovies(m);
    for (m.LoopIndex = 1; m.LoopIndex <= n; ++m.LoopIndex)
        m_view->addItem("Movies", m.MovieTitles[std::size_t(m.LoopIndex)]);
    m_view->setCurrentIndex("Movies", -1);
}

void VidorunMain::showTotalMovies()
{
    m_view->setText("TotalMoviesText", "Total number of movies: " + m.TitleCount);
}

namespace {

// A movie's number as the Remove window hands it over: a decimal number,
// rounded as the program rounds; nothing when the text is none.
std::optional<int> handedNumber(const std::string &text)
{
    const std::string_view number = trimmed(text);
    if (number.empty())
        return std::nullopt;
    const std::string copy(number);
    char *end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || !std::isfinite(value) || std::abs(value) > 1e9)
        return std::nullopt;
    return int(std::nearbyint(value));
}

}  // namespace

// Applies what a child window handed back: a pending add, then a pending
// removal. Running it twice is harmless: the second run finds "empty".
void VidorunMain::Form_Activate()
{
    if (!m_loaded)
        return;

    const std::string empty(ui::TransferEmpty);
    const std::string name = transferField("tempmoviename");
    const std::string cd = transferField("tempmoviecd");
    const std::string location = transferField("tempmovielocation");
    if (name != empty && cd != empty && location != empty) {
        // The Add movie command opens its window only when there is room,
        // and nothing changes the project while the window is up.
        if (roomForAnotherMovie(m)) {
            m.TitleCount = raisedCounter(m.TitleCount);
            m.PathCount = raisedCounter(m.PathCount);
            m.CDCount = raisedCounter(m.CDCount);
            m.MovieTitles[std::size_t(std::max(0, counterValue(m.TitleCount)))] = name;
            m.MoviePaths[std::size_t(std::max(0, counterValue(m.PathCount)))] = location;
            m.MovieCDs[std::size_t(std::max(0, counterValue(m.CDCount)))] = cd;
        }
        setTransferField("tempmoviename", empty);
        setTransferField("tempmovielocation", empty);
        setTransferField("tempmoviecd", empty);
        m_view->clearItems("Movies");
        FillMovieList();
        showTotalMovies();
    }

    const std::string removal = transferField("tempremovemovie");
    if (removal != empty) {
        const std::optional<int> number = handedNumber(removal);
        const int k = number.value_or(0);
        const int n = counterValue(m.TitleCount);
        if (number && k >= 1 && k <= std::min(n, MaxMovieNumber)) {
            const auto at = [](int i) { return std::size_t(i); };
            m.MovieTitles[at(k)].clear();
            m.MoviePaths[at(k)].clear();
            m.MovieCDs[at(k)].clear();
            const int last = std::min(n, MaxMovieNumber);
            for (m.LoopIndex = std::int16_t(k + 1); m.LoopIndex <= last; ++m.LoopIndex) {
                m.MovieTitles[at(m.LoopIndex - 1)] = m.MovieTitles[at(m.LoopIndex)];
                m.MoviePaths[at(m.LoopIndex - 1)] = m.MoviePaths[at(m.LoopIndex)];
                m.MovieCDs[at(m.LoopIndex - 1)] = m.MovieCDs[at(m.LoopIndex)];
            }
            m.MovieTitles[at(last)].clear();
            m.MoviePaths[at(last)].clear();
            m.MovieCDs[at(last)].clear();
            m.TitleCount = loweredCounter(m.TitleCount);
            m.PathCount = loweredCounter(m.PathCount);
            m.CDCount = loweredCounter(m.CDCount);
            m_view->clearItems("Movies");
            FillMovieList();
            showTotalMovies();
        }
        setTransferField("tempremovemovie", empty);
    }
}

// The close box quits like Exit: at once, without asking. While a child
// window is up the main window is disabled and stays.
bool VidorunMain::mayClose()
{
    return !m_openChild;
}

void VidorunMain::unloadMainWindow()
{
    m_closing = true;
    m_view->close();
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
