#include "publish/project_sources.h"

#include "disccheck/disc_check.h"
#include "disccheck/disc_names.h"
#include "platform/publish_files.h"
#include "playback/play_logic.h"
#include "projectfile/item_reader.h"
#include "projectfile/project_reader.h"
#include "projectfile/project_writer.h"

#include "base/text.h"
#include "platform/file_places.h"

#include <algorithm>
#include <array>
#include <map>

namespace vidorun {

namespace {

// A project file of 99 movies is some 10 kB; anything near this is no project.
constexpr std::int64_t MaxProjectFileBytes = 16 * 1024 * 1024;

std::string movieSubject(int number, const std::string &title)
{
    return fill("movie %1 \"%2\"", {std::to_string(number), title});
}

class SourceFinder {
public:
    SourceFinder(PublishFiles &files, ProjectSources &sources) : m_files(files), m_sources(sources) {}

    bool readProject(const std::string &argument);
    void findMovies();
    void findSettings();

private:
    std::optional<SourceFile> find(const std::string &written, const std::string &subject);

    PublishFiles &m_files;
    ProjectSources &m_sources;
    std::string m_folder;
    std::optional<FileIdentity> m_folderIdentity;
};

bool SourceFinder::readProject(const std::string &argument)
{
    const bool folderGiven = kindAt(argument) == FileKind::Folder;
    m_sources.projectFile = folderGiven ? m_files.locate("Autorun.inf", argument) : argument;
    FileKind kind;
    std::string reason;
    const std::unique_ptr<ReadableFile> file = m_files.openForReading(m_sources.projectFile, kind, reason);
    if (!file) {
        m_sources.errors.push_back(folderGiven && kind == FileKind::Missing
                                       ? shownPath(argument) + " holds no Autorun.inf, in any letter case: give the "
                                                               "project's Autorun.inf or the folder holding it"
                                       : shownPath(m_sources.projectFile) + ": " + reason);
        return false;
    }
    if (file->size() > MaxProjectFileBytes) {
        m_sources.errors.push_back(fill("%1 is %2 bytes, far more than any project: not read",
                                        {shownPath(m_sources.projectFile), std::to_string(file->size())}));
        return false;
    }
    std::string bytes(std::size_t(file->size()), '\0');
    std::int64_t got = 0;
    for (std::int64_t n = 1; n > 0 && got < std::int64_t(bytes.size()); got += n) {
        n = file->read(bytes.data() + got, std::int64_t(bytes.size()) - got);
        if (n < 0) {
            m_sources.errors.push_back(fill("%1 can't be read: %2", {shownPath(m_sources.projectFile), file->reason()}));
            return false;
        }
    }
    bytes.resize(std::size_t(got));

    // What the disc check would say of this Autorun.inf: an error there
    // makes discs that say something else than the author meant.
    bool wrong = false;
    Project &project = m_sources.project;
    for (const Finding &finding : projectFileFindings(bytes, &project)) {
        const std::string said = findingText(finding);
        if (finding.severity == Severity::Error)
            m_sources.errors.push_back(said);
        else if (finding.severity == Severity::Warning)
            m_sources.warnings.push_back(said);
        wrong = wrong || finding.severity == Severity::Error;
    }
    if (wrong)
        return false;
    m_folder = absoluteFolderOf(m_sources.projectFile);
    m_folderIdentity = m_files.identity(m_folder);
    return true;
}

std::optional<SourceFile> SourceFinder::find(const std::string &written, const std::string &subject)
{
    const std::string path = m_files.locate(written, m_folder);
    FileKind kind;
    std::string reason;
    const std::unique_ptr<ReadableFile> file = m_files.openForReading(path, kind, reason);
    if (!file) {
        m_sources.errors.push_back(fill("%1: %2 (%3): %4", {subject, written, shownPath(path), reason}));
        return std::nullopt;
    }
    // The reader upper-cases the path: of two names that differ only in
    // letter case, no viewer would ever get the other.
    if (const std::vector<std::string> twins = m_files.caseTwins(path); !twins.empty()) {
        m_sources.errors.push_back(fill("%1: %2 finds %3 and %4 in %5 alike, as Vidorun reads paths in capitals: "
                                        "rename all but one of them",
                                        {subject, written, shownName(nameInPath(path)), joined(twins, ", "),
                                         shownPath(absoluteFolderOf(path))}));
        return std::nullopt;
    }
    const std::vector<FileIdentity> holders = m_files.holdingFolders(path);
    if (!m_folderIdentity || std::find(holders.begin(), holders.end(), *m_folderIdentity) == holders.end()) {
        m_sources.warnings.push_back(fill("%1: %2 is outside the project's folder %3, and goes on the discs all the "
                                          "same: see that it is what you mean to hand out",
                                          {subject, shownPath(path), shownPath(m_folder)}));
    }
    return SourceFile{written, path, nameInPath(path), file->size()};
}

void SourceFinder::findMovies()
{
    const Project &project = m_sources.project;
    const int counted = counterValue(project.TitleCount);
    if (counted == 0) {
        m_sources.errors.push_back(shownPath(m_sources.projectFile) + " lists no movies: there is nothing to publish");
        return;
    }
    if (counted > MaxWrittenMovie) {
        m_sources.errors.push_back(fill("%1 counts %2 movies, more than the %3 an Autorun.inf can hold",
                                        {shownPath(m_sources.projectFile), std::to_string(counted),
                                         std::to_string(MaxWrittenMovie)}));
        return;
    }
    // Markers that are one name to Windows would make one disc pass for another.
    std::map<std::string, std::string> markers;
    for (int n = 1; n <= counted; ++n) {
        const auto entry = std::size_t(n);
        SourceMovie movie{n, project.MovieTitles[entry], project.MovieCDs[entry], {}};
        const std::string subject = movieSubject(n, movie.title);
        if (movie.label.empty()) {
            m_sources.errors.push_back(fill("%1 has no CD label: write mdisk%2", {subject, movieNumber(n)}));
        } else {
            const std::string marker = markerFileName(movie.label);
            const auto [known, fresh] = markers.emplace(jolietKey(marker), movie.label);
            if (nameFault(marker) != NameFault::None) {
                m_sources.errors.push_back(fill("%1: its CD label %2 needs the marker file %3, which no disc can "
                                                "hold; give it a label of letters and digits",
                                                {subject, movie.label, marker}));
            } else if (!fresh && known->second != movie.label) {
                m_sources.errors.push_back(fill("%1: its CD label %2 needs the marker file %3, which Windows takes "
                                                "for the marker of %4; give one of them another label",
                                                {subject, movie.label, marker, known->second}));
            }
        }
        if (project.MoviePaths[entry].empty()) {
            m_sources.errors.push_back(fill("%1 has no movie file: write movie%2", {subject, movieNumber(n)}));
            continue;
        }
        if (std::optional<SourceFile> file = find(project.MoviePaths[entry], subject)) {
            movie.file = *file;
            m_sources.movies.push_back(movie);
        }
    }
}

void SourceFinder::findSettings()
{
    const Project &project = m_sources.project;
    const std::array<std::pair<const std::string *, std::optional<SourceFile> *>, 3> settings = {{
        {&project.CoverPicturePath, &m_sources.cover},
        {&project.PlayerPath, &m_sources.player},
        {&project.CodecPath, &m_sources.codec},
    }};
    const std::array<const char *, 3> subjects = {"the cover", "the player installer", "the codec installer"};
    for (std::size_t i = 0; i < settings.size(); ++i) {
        if (!settings[i].first->empty())
            *settings[i].second = find(*settings[i].first, subjects[i]);
    }
}

}  // namespace

ProjectSources readProjectSources(const std::string &projectArgument, PublishFiles &files)
{
    ProjectSources sources;
    SourceFinder finder(files, sources);
    if (finder.readProject(projectArgument)) {
        finder.findMovies();
        finder.findSettings();
    }
    return sources;
}

std::vector<std::string> labelsInOrder(const ProjectSources &sources)
{
    std::vector<std::string> labels;
    for (const SourceMovie &movie : sources.movies) {
        if (std::find(labels.begin(), labels.end(), movie.label) == labels.end())
            labels.push_back(movie.label);
    }
    return labels;
}

}  // namespace vidorun
