#include "publish/disc_layout.h"

#include "disccheck/disc_names.h"
#include "playback/play_logic.h"
#include "projectfile/project_writer.h"
#include "publish/safe_names.h"

#include <QDir>

#include <algorithm>
#include <map>
#include <set>
#include <utility>

namespace vidorun {

namespace {

QString windowsPath(QString path)
{
    return path.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

bool hasNonAscii(const QString &text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x80; });
}

class Layout {
public:
    Layout(const ProjectSources &sources, const ProgramFiles &program, bool images, NameLetters letters,
           QString whyAscii)
        : m_sources(sources), m_program(program), m_images(images), m_letters(letters), m_whyAscii(std::move(whyAscii))
    {
    }

    PublishPlan run();

private:
    void placeSetting(const std::optional<SourceFile> &file, QString &field);
    DiscLayout layOutDisc(const QString &label);
    void nameOutputs();
    void noteLineBreaks();

    const ProjectSources &m_sources;
    const ProgramFiles &m_program;
    bool m_images;
    NameLetters m_letters;
    QString m_whyAscii;
    PublishPlan m_plan;
    FolderNames m_root;
    std::map<QString, QString> m_rootNames;  // source file, name on the root
    std::vector<DiscFile> m_settingFiles;
};

PublishPlan Layout::run()
{
    const QStringList labels = labelsInOrder(m_sources);
    // The program's own names, the markers of every label (a cover named
    // HOLIDAY2.INI would make disc 1 pass for disc 2) and the names desktops
    // run when a disc is mounted stay free of the project's files.
    for (const QString &name : {DiscProjectName, DiscProgramName, DiscScriptName, DiscNoticesName, DiscMoviesFolder,
                                QStringLiteral(".autorun"), QStringLiteral("autorun")})
        m_root.reserve(name);
    for (const QString &label : labels)
        m_root.reserve(markerFileName(label));

    Project &project = m_plan.discProject;
    project = m_sources.project;
    project.ProjectFile.clear();
    placeSetting(m_sources.cover, project.CoverPicturePath);
    placeSetting(m_sources.player, project.PlayerPath);
    placeSetting(m_sources.codec, project.CodecPath);
    for (const QString &label : labels)
        m_plan.discs.push_back(layOutDisc(label));

    // The movies listed, nothing beyond them.
    const int movies = int(m_sources.movies.size());
    for (int n = movies + 1; n <= MaxMovieNumber; ++n) {
        const auto entry = std::size_t(n);
        project.MoviePaths[entry].clear();
        project.MovieTitles[entry].clear();
        project.MovieCDs[entry].clear();
    }
    project.TitleCount = project.PathCount = project.CDCount = QString::number(movies);
    noteLineBreaks();
    m_plan.projectFile = composeProjectFile(project).join();
    for (DiscLayout &disc : m_plan.discs) {
        disc.files.insert(disc.files.begin(), {DiscProjectName, QString(), m_plan.projectFile, false,
                                               qint64(m_plan.projectFile.size())});
    }
    nameOutputs();
    return m_plan;
}

void Layout::placeSetting(const std::optional<SourceFile> &file, QString &field)
{
    if (!file)
        return;
    const QString source = QDir::cleanPath(file->path);
    auto it = m_rootNames.find(source);
    if (it == m_rootNames.end()) {
        const GivenName given = m_root.add(file->name, m_letters, m_whyAscii);
        if (!given.reason.isEmpty())
            m_plan.renamed.push_back({QString(), file->name, given.name, given.reason});
        it = m_rootNames.emplace(source, given.name).first;
        m_settingFiles.push_back({given.name, file->path, {}, false, file->bytes});
    }
    field = it->second;
}

DiscLayout Layout::layOutDisc(const QString &label)
{
    DiscLayout disc;
    disc.label = label;
    disc.volumeId = volumeIdentifier(label);
    disc.files.push_back({markerFileName(label), QString(), QByteArray(), false, 0});
    if (!m_program.windowsProgram.isEmpty())
        disc.files.push_back({DiscProgramName, m_program.windowsProgram, {}, false, m_program.windowsProgramBytes});
    disc.files.push_back({DiscScriptName, QString(), m_program.autorunScript, true,
                          qint64(m_program.autorunScript.size())});
    disc.files.push_back({DiscNoticesName, QString(), m_program.notices, false, qint64(m_program.notices.size())});
    disc.files.insert(disc.files.end(), m_settingFiles.begin(), m_settingFiles.end());

    FolderNames movieNames;
    std::map<QString, QString> names;  // source file, name in MOVIES
    for (const SourceMovie &movie : m_sources.movies) {
        if (movie.label != label)
            continue;
        ++disc.movies;
        const QString source = QDir::cleanPath(movie.file.path);
        auto it = names.find(source);
        if (it == names.end()) {
            const GivenName given = movieNames.add(movie.file.name, m_letters, m_whyAscii);
            const QString folder = DiscMoviesFolder + QLatin1Char('/');
            if (!given.reason.isEmpty())
                m_plan.renamed.push_back({label, windowsPath(folder + movie.file.name), windowsPath(folder + given.name),
                                          given.reason});
            it = names.emplace(source, given.name).first;
            disc.files.push_back({folder + given.name, movie.file.path, {}, false, movie.file.bytes});
        }
        m_plan.discProject.MoviePaths[std::size_t(movie.number)] = windowsPath(DiscMoviesFolder + QLatin1Char('/') + it->second);
    }
    if (disc.movies > 0)
        disc.folders << DiscMoviesFolder;
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
        QString wanted = disc.label;
        QString why;
        if (wanted.startsWith(QLatin1Char('.')) && wanted != QLatin1String(".") && wanted != QLatin1String("..")) {
            for (qsizetype i = 0; i < wanted.size() && wanted[i] == QLatin1Char('.'); ++i)
                wanted[i] = QLatin1Char('_');
            why = QStringLiteral("a folder whose name starts with a dot is hidden");
        }
        const GivenName given = folders.add(wanted, NameLetters::Any);
        disc.folderName = given.name;
        if (given.name != disc.label)
            m_plan.renamed.push_back({disc.label, disc.label, given.name, given.name == wanted ? why : given.reason, true});
    }
    std::set<std::string> outputs;
    for (const DiscLayout &disc : m_plan.discs) {
        QStringList names = {disc.folderName};
        if (m_images)
            names << disc.folderName + QStringLiteral(".iso");
        for (const QString &name : names) {
            if (!outputs.insert(jolietKey(name)).second)
                m_plan.errors << QStringLiteral("the disc %1 would be made as %2, a name another disc takes; give "
                                                "the labels names that differ in more than letter case")
                                     .arg(disc.label, name);
        }
    }
}

// A line break in a value would start a line of its own in Autorun.inf:
// the writer puts a blank in its place, and the author hears of it.
void Layout::noteLineBreaks()
{
    const Project &project = m_plan.discProject;
    const auto note = [this](const QString &what, const QString &value) {
        if (holdsLineBreak(value))
            m_plan.notes << QStringLiteral("%1 holds a line break, which every disc's Autorun.inf writes as a blank: "
                                           "\"%2\"")
                                .arg(what, withoutLineBreaks(value));
    };
    note(QStringLiteral("the project title"), project.ProjectTitle);
    for (int n = 1; n <= counterValue(project.TitleCount) && n < MovieTableSize; ++n) {
        const auto e = std::size_t(n);
        note(QStringLiteral("movie %1's title").arg(n), project.MovieTitles[e]);
        note(QStringLiteral("movie %1's CD label").arg(n), project.MovieCDs[e]);
    }
}

}  // namespace

qint64 DiscLayout::bytes() const
{
    qint64 total = 0;
    for (const DiscFile &file : files)
        total += file.bytes;
    return total;
}

PublishPlan layOutDiscs(const ProjectSources &sources, const ProgramFiles &program, bool images,
                        const QString &asciiBecause)
{
    if (!asciiBecause.isEmpty())
        return Layout(sources, program, images, NameLetters::Ascii, asciiBecause).run();
    PublishPlan plan = Layout(sources, program, images, NameLetters::Any, QString()).run();
    // In the code page, a letter beyond ASCII is another letter on a Windows
    // set to another code page: the names the file holds keep to ASCII.
    const Project &project = plan.discProject;
    bool nonAscii = hasNonAscii(project.CoverPicturePath) || hasNonAscii(project.PlayerPath)
                    || hasNonAscii(project.CodecPath);
    for (const QString &path : project.MoviePaths)
        nonAscii = nonAscii || hasNonAscii(path);
    if (nonAscii && encodeProjectLines(projectFileLines(project)).encoding == FileEncoding::CodePage) {
        plan = Layout(sources, program, images, NameLetters::Ascii,
                      QStringLiteral("Autorun.inf is written in the code page, where a Windows set to another "
                                     "code page reads another letter"))
                   .run();
    }
    return plan;
}

}  // namespace vidorun
