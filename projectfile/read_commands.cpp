// The main window's reading side: start-up's read, the counter check, the
// cover picture, and File > Read.
#include "app/vidorun_main.h"
#include "projectfile/project_reader.h"
#include "ui/descriptions.h"

namespace vidorun {

namespace {

// The cover frame's size, which the picture is decoded for.
const ui::Control &coverFrame()
{
    return *ui::MainWindow.control("CoverPicture");
}

}  // namespace

void VidorunMain::ReadProjectFile()
{
    if (FileExists(m.ProjectFile)) {
        const ReadOutcome outcome = readProjectFile(m_platform.files.resolve(m.ProjectFile), m);
        if (outcome.title)
            setCaption("Vidorun ; " + *outcome.title);
    }
    showTotalMovies();
}

void VidorunMain::CheckProjectCounts()
{
    if (m.PathCount == m.TitleCount && m.CDCount == m.PathCount && m.TitleCount == m.CDCount)
        return;
    const std::string crlf = "\r\n";
    showMessage("There is an error in " + m.ProjectFile + crlf + crlf + "There are:" + crlf + crlf + m.TitleCount
                    + " movie titles" + crlf + m.PathCount + " paths to them " + crlf + m.CDCount + " CD parameters!",
                ErrorTitle);
}

// Loads the picture into the cover frame. A file that is no picture the
// loader understands leaves the frame and the placeholder as they were.
bool VidorunMain::loadCoverPicture(const std::string &path)
{
    ++m_coverRequest;
    m_coverLoading = false;
    const PictureHandle picture = m_platform.pictures.load(m_platform.files.resolve(path), coverFrame().width,
                                                           coverFrame().height);
    if (!picture)
        return false;
    m_view->setPicture("CoverPicture", picture);
    m_view->setVisible("NoPictureText", false);
    return true;
}

// The same, with the picture decoded while the window comes up or goes on
// answering. Meanwhile the frame shows what it showed, without the
// placeholder text; a file that turns out to be no picture puts the
// placeholder back as it was.
void VidorunMain::showCoverWhenLoaded(const std::string &path)
{
    const unsigned request = ++m_coverRequest;
    const bool placeholderShown = m_view->isVisible("NoPictureText");
    m_view->setVisible("NoPictureText", false);
    m_coverLoading = true;
    m_platform.pictures.loadInBackground(
        m_platform.files.resolve(path), coverFrame().width, coverFrame().height,
        [this, request, placeholderShown, alive = std::weak_ptr<bool>(m_alive)](PictureHandle picture) {
            // The window is gone, or a later cover, or a project without one,
            // came in the meantime.
            if (alive.expired() || request != m_coverRequest)
                return;
            m_coverLoading = false;
            if (!picture) {
                m_view->setVisible("NoPictureText", placeholderShown);
                return;
            }
            m_view->setPicture("CoverPicture", picture);
        });
}

void VidorunMain::ShowCoverPicture()
{
    ++m_coverRequest;
    m_coverLoading = false;
    if (m.CoverPicturePath.empty()) {
        m_view->setVisible("NoPictureText", true);
    } else if (FileExists(m.CoverPicturePath)) {
        showCoverWhenLoaded(m.CoverPicturePath);
    } else {
        showMessage("The file " + m.CoverPicturePath + " does not exists!", ErrorTitle);
        m_view->setVisible("NoPictureText", true);
    }
}

void VidorunMain::OPENINIFILE_Click()
{
    m_comDlg.prepare("Select your 'autorun.inf' file", "All Files (*.*)|*.*|Autorun files (autorun.inf)|autorun.inf", 2);
    if (!m_comDlg.ShowOpen(m_view.get()))
        return;

    const std::string chosen = m_comDlg.FileName;
    if (!FileExists(chosen)) {
        showMessage("The file " + chosen + " does not exists!", ErrorTitle);
        return;
    }
    m.ProjectFile = chosen;
    m.TitleCount = "0";
    m.PathCount = "0";
    m.CDCount = "0";
    m_view->clearItems("Movies");
    ReadProjectFile();
    CheckProjectCounts();
    ShowCoverPicture();
    FillMovieList();
}

}  // namespace vidorun
