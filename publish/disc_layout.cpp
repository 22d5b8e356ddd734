#include "publish/disc_layout.h"

#include "base/paths.h"
#include "base/text.h"
#include "disccheck/disc_names.h"
#include "platform/file_places.h"
#include "playback/play_logic.h"
#include "projectfile/project_writer.h"
#include "publish/safe_names.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

namespace vidorun {

namespace {

bool hasNonAscii(const std::string &text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

class Layout {
public:
    Layout(const ProjectSources &sources, const ProgramFiles &program, bool images, NameLetters letters,
           std::string whyAscii)
        : m_sources(sources), m_program(program), m_images(images), m_letters(letters), m_whyAscii(std::move(whyAscii))
    {
    }

    PublishPlan run();

private:
    void placeSetting(const std::optional<SourceFile> &file, std::string &field);
    DiscLayout layOutDisc(const std::string &label);
    void nameOutputs();

    const ProjectSources &m_sources;
    const ProgramFiles &m_program;
    bool m_images;
    NameLetters m_letters;
    std::string m_whyAscii;
    PublishPlan m_plan;
    FolderNames m_root;
    std::map<std::string, std::string> m_rootNames;  // source file, name on the root
    std::vector<DiscFile> m_settingFiles;
};

PublishPlan Layout::run()
{
    const std::vector<std::string> labels = labelsInOrder(m_sources);
    // The program's own names, the markers of every label (a cover named
    // HOLIDAY2.INI would make disc 1 pass for disc 2) and the names desktops
    // run when a disc is mounted stay free of the project's files.
    for (const std::string &name : {DiscProjectName, DiscProgramName, DiscScriptName, DiscNoticesName, DiscMoviesFolder,
                                    std::string(".autorun"), std::string("autorun")})
        m_root.reserve(name);
    for (const std::string &label : labels)
        m_root.reserve(markerFileName(label));

    Project &project = m_plan.discProject;
    project = m_sources.project;
    project.ProjectFile.clear();
    placeSetting(m_sources.cover, project.CoverPicturePath);
    placeSetting(m_sources.player, project.PlayerPath);
    placeSetting(m_sources.codec, project.CodecPath);
    for (const std::string &label : labels)
        m_plan.discs.push_back(layOutDisc(label));

    // The movies listed, nothing beyond them.
    const int movies = int(m_sources.movies.size());
    for (int n = movies + 1; n <= MaxMovieNumber; ++n) {
        const auto entry = std::size_t(n);
        project.MoviePaths[entry].clear();
        project.MovieTitles[entry].clear();
        project.MovieCDs[entry].clear();
    }
    project.TitleCount = project.PathCount = project.CDCount = std::to_string(movies);
    m_plan.projectFile = projectFileBytes(project);
    for (DiscLayout &disc : m_plan.discs) {
        disc.files.insert(disc.files.begin(), {DiscProjectName, std::string(), m_plan.projectFile, false,
                                               std::int64_t(m_plan.projectFile.size())});
    }
    nameOutputs();
    return m_plan;
}

void Layout::placeSetting(const std::optional<SourceFile> &file, std::string &field)
{
    if (!file)
        return;
    const std::string source = absolutePath(file->path);
    auto it = m_rootNames.find(source);
    if (it == m_rootNames.end()) {
        const GivenName given = m_root.add(file->name, m_letters, m_whyAscii);
        if (!given.reason.empty())
            m_plan.renamed.push_back({std::string(), file->name, given.name, given.reason});
        it = m_rootNames.emplace(source, given.name).first;
        m_settingFiles.push_back({given.name, file->path, {}, false, file->bytes});
    }
    field = it->second;
}

DiscLayout Layout::layOutDisc(const std::string &label)
{
    DiscLayout disc;
    disc.label = label;
    disc.volumeId = volumeIdentifier(label);
    disc.files.push_back({markerFileName(label), std::string(), std::string(), false, 0});
    if (!m_program.windowsProgram.empty())
        disc.files.push_back({DiscProgramName, m_program.windowsProgram, {}, false, m_program.windowsProgramBytes});
    disc.files.push_back({DiscScriptName, std::string(), m_program.autorunScript, true,
                          std::int64_t(m_program.autorunScript.size())});
    disc.files.push_back({DiscNoticesName, std::string(), m_program.notices, false,
                          std::int64_t(m_program.notices.size())});
    disc.files.insert(disc.files.end(), m_settingFiles.begin(), m_settingFiles.end());

    FolderNames movieNames;
    std::map<std::string, std::string> names;  // source file, name in MOVIES
    for (const SourceMovie &movie : m_sources.movies) {
        if (movie.label != label)
            continue;
        ++disc.movies;
        const std::string source = absolutePath(movie.file.path);
        auto it = names.find(source);
        if (it == names.end()) {
            const GivenName given = movieNames.add(movie.file.name, m_letters, m_whyAscii);
            const std::string folder = DiscMoviesFolder + '/';
            if (!given.reason.empty())
                m_plan.renamed.push_back({label, withBackslashes(folder + movie.file.name),
                                          withBackslashes(folder + given.name), given.reason});
            it = names.emplace(source, given.name).first;
            disc.files.push_back({folder + given.name, movie.file.path, {}, false, movie.file.bytes});
        }
        m_plan.discProject.MoviePaths[std::size_t(movie.number)] = withBackslashes(DiscMoviesFolder + '/' + it->second);
    }
    if (disc.movies > 0)
        disc.folders.push_back(DiscMoviesFolder);
    return disc;
}

// Each disc's folder in OUTDIR and its image beside it: names a disc can
// hold, none hidden, and none the same to Windows as another.
void Layout::nameOutputs()
{
    FolderNames folders;
    for (DiscLayout &disc : m_plan.discs) {
        // A name that starts with a dot is hidden on Linux and in the discs'
        // listings; "." and ".." name no folder at all.
        std::string wanted = disc.label;
        std::string why;
        if (startsWith(wanted, ".") && wanted != "." && wanted != "..") {
            for (std::size_t i = 0; i < wanted.size() && wanted[i] == '.'; ++i)
                wanted[i] = '_';
            why = "a folder whose name starts with a dot is hidden";
        }
        const GivenName given = folders.add(wanted, NameLetters::Any);
        disc.folderName = given.name;
        if (given.name != disc.label)
            m_plan.renamed.push_back({disc.label, disc.label, given.name, given.name == wanted ? why : given.reason, true});
    }
    std::set<std::string> outputs;
    for (const DiscLayout &disc : m_plan.discs) {
        std::vector<std::string> names = {disc.folderName};
        if (m_images)
            names.push_back(disc.folderName + ".iso");
        for (const std::string &name : names) {
            if (!outputs.insert(jolietKey(name)).second)
                m_plan.errors.push_back(fill("the disc %1 would be made as %2, a name another disc takes; give the "
                                             "labels names that differ in more than letter case",
                                             {disc.label, name}));
        }
    }
}

}  // namespace

std::int64_t DiscLayout::bytes() const
{
    std::int64_t total = 0;
    for (const DiscFile &file : files)
        total += file.bytes;
    return total;
}

PublishPlan layOutDiscs(const ProjectSources &sources, const ProgramFiles &program, bool images,
                        const std::string &asciiBecause)
{
    if (!asciiBecause.empty())
        return Layout(sources, program, images, NameLetters::Ascii, asciiBecause).run();
    PublishPlan plan = Layout(sources, program, images, NameLetters::Any, std::string()).run();
    // In the code page, a letter beyond ASCII is another letter on a Windows
    // set to another code page: the names the file holds keep to ASCII.
    const Project &project = plan.discProject;
    bool nonAscii = hasNonAscii(project.CoverPicturePath) || hasNonAscii(project.PlayerPath)
                    || hasNonAscii(project.CodecPath);
    for (const std::string &path : project.MoviePaths)
        nonAscii = nonAscii || hasNonAscii(path);
    if (nonAscii && encodeProjectLines(projectFileLines(project)).encoding == FileEncoding::CodePage) {
        plan = Layout(sources, program, images, NameLetters::Ascii,
                      "Autorun.inf is written in the code page, where a Windows set to another code page reads "
                      "another letter")
                   .run();
    }
    return plan;
}

}  // namespace vidorun
