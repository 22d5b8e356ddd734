// The main window's reading side: start-up's read, the counter check, the
// cover picture, and File > Read.
#include "app/vidorun_main.h"
#include "projectfile/project_reader.h"
#include "windows/form_controls.h"

#include <QComboBox>
#include <QLabel>

namespace vidorun {

void VidorunMain::ReadProjectFile()
{
    if (FileExists(m.ProjectFile)) {
        const ReadOutcome outcome = readProjectFile(m_platform.files.resolve(m.ProjectFile), m);
        if (outcome.title)
            setCaption(this, QStringLiteral("Vidorun ; ") + *outcome.title);
    }
    showTotalMovies();
}

void VidorunMain::CheckProjectCounts()
{
    if (m.PathCount == m.TitleCount && m.CDCount == m.PathCount && m.TitleCount == m.CDCount)
        return;
    const QString crlf = QStringLiteral("\r\n");
    showMessage(QStringLiteral("There is an error in ") + m.ProjectFile + crlf + crlf
                    + QStringLiteral("There are:") + crlf + crlf
                    + m.TitleCount + QStringLiteral(" movie titles") + crlf
                    + m.PathCount + QStringLiteral(" paths to them ") + crlf
                    + m.CDCount + QStringLiteral(" CD parameters!"),
                ErrorTitle);
}

// Loads the picture into the cover frame. A file that is no picture the
// loader understands leaves the frame and the placeholder as they were.
bool VidorunMain::loadCoverPicture(const QString &path)
{
    ++m_coverRequest;
    m_coverLoading = false;
    const QImage picture = m_platform.pictures.load(m_platform.files.resolve(path), CoverPicture->size());
    if (picture.isNull())
        return false;
    CoverPicture->setPixmap(QPixmap::fromImage(picture));
    NoPictureText->hide();
    return true;
}

// The same, with the picture decoded while the window comes up or goes on
// answering. Meanwhile the frame shows what it showed, without the
// placeholder text; a file that turns out to be no picture puts the
// placeholder back as it was.
void VidorunMain::showCoverWhenLoaded(const QString &path)
{
    const unsigned request = ++m_coverRequest;
    const bool placeholderShown = !NoPictureText->isHidden();
    NoPictureText->hide();
    m_coverLoading = true;
    m_platform.pictures.loadInBackground(
        m_platform.files.resolve(path), CoverPicture->size(), this,
        [this, request, placeholderShown](const QImage &picture) {
            // A later cover, or a project without one, came in the meantime.
            if (request != m_coverRequest)
                return;
            m_coverLoading = false;
            if (picture.isNull()) {
                NoPictureText->setVisible(placeholderShown);
                return;
            }
            CoverPicture->setPixmap(QPixmap::fromImage(picture));
        });
}

void VidorunMain::ShowCoverPicture()
{
    ++m_coverRequest;
    m_coverLoading = false;
    if (m.CoverPicturePath.isEmpty()) {
        NoPictureText->show();
    } else if (FileExists(m.CoverPicturePath)) {
        showCoverWhenLoaded(m.CoverPicturePath);
    } else {
        showMessage(QStringLiteral("The file ") + m.CoverPicturePath + QStringLiteral(" does not exists!"), ErrorTitle);
        NoPictureText->show();
    }
}

void VidorunMain::OPENINIFILE_Click()
{
    m_comDlg.prepare(QStringLiteral("Select your 'autorun.inf' file"),
                     QStringLiteral("All Files (*.*)|*.*|Autorun files (autorun.inf)|autorun.inf"), 2);
    if (!m_comDlg.ShowOpen(this))
        return;

    const QString chosen = m_comDlg.FileName;
    if (!FileExists(chosen)) {
        showMessage(QStringLiteral("The file ") + chosen + QStringLiteral(" does not exists!"), ErrorTitle);
        return;
    }
    m.ProjectFile = chosen;
    m.TitleCount = QStringLiteral("0");
    m.PathCount = QStringLiteral("0");
    m.CDCount = QStringLiteral("0");
    Movies->clear();
    ReadProjectFile();
    CheckProjectCounts();
    ShowCoverPicture();
    FillMovieList();
}

}  // namespace vidorun
