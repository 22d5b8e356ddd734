#include "publish/publisher.h"

#include "disccheck/disc_names.h"
#include "platform/publish_files.h"
#include "publish/disc_image.h"
#include "publish/disc_layout.h"
#include "publish/disc_set.h"
#include "publish/output_record.h"
#include "publish/progress_output.h"
#include "publish/project_sources.h"
#include "publish/windows_program.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTextStream>

#include <algorithm>
#include <set>

namespace vidorun {

namespace {

QByteArray resource(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a disc without Vidorun.exe needs of the notices: Vidorun's own
// licence, for autorun.sh, and no word of a program it does not hold.
QByteArray linuxOnlyNotices(const QByteArray &notices)
{
    const qsizetype start = notices.indexOf("Vidorun\n-------\n");
    const qsizetype end = notices.indexOf("SOFTWARE.\n", start);
    if (start < 0 || end < 0)
        return notices;
    return "Licence notices\n===============\n\n"
           "This disc was laid out by Vidorun for viewers on Linux, and holds no program for Windows.\n"
           "Its autorun.sh, which starts the viewer's own Vidorun, is part of Vidorun. Nothing here\n"
           "limits what you may do with the movies on this disc; those belong to whoever made them.\n\n"
           + notices.mid(start, end + 10 - start);
}

QString counted(qint64 n, const char *one, const char *many)
{
    return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
}

QString bytesText(qint64 bytes)
{
    return QLocale(QLocale::English).toString(bytes);
}

// A file the discs are made from, and the folders that hold it.
struct Input {
    QString path;
    QString what;
    std::optional<FileIdentity> identity;
    std::vector<FileIdentity> holders;
};

// Room a file takes on a disk beyond its bytes, at most.
constexpr qint64 Block = 4096;
qint64 onDisk(qint64 bytes)
{
    return (bytes + Block - 1) / Block * Block + Block;
}

class Publisher {
public:
    Publisher(const PublishRequest &request, PublishEnvironment &environment, QTextStream &out, QTextStream &err)
        : m_request(request), m_env(environment), m_out(out), m_err(err)
    {
    }

    int run();

private:
    int refuse(const QStringList &errors);
    std::vector<Input> inputs(const ProjectSources &sources, const ProgramFiles &program) const;
    QStringList outputProblems(const ProjectSources &sources, const std::vector<Input> &inputs);
    QStringList roomProblem();
    void warn(const ProjectSources &sources);
    void tellPlan(const ProjectSources &sources, const ProgramFiles &program) const;
    int makeSet();
    int checkMadeDisc(std::size_t disc, qint64 imageBytes);
    QString outputPath(const QString &name) const { return m_request.outFolder + QLatin1Char('/') + name; }

    const PublishRequest &m_request;
    PublishEnvironment &m_env;
    QTextStream &m_out;
    QTextStream &m_err;
    PublishPlan m_plan;
    std::vector<DiscOutputs> m_outputs;
    OutputRecord m_record;
    QStringList m_replaced;  // outputs already there, which the new set replaces
};

int Publisher::refuse(const QStringList &errors)
{
    for (const QString &error : errors)
        m_err << "vidorun: " << error << '\n';
    m_err << "vidorun: nothing was written" << Qt::endl;
    return 2;
}

std::vector<Input> Publisher::inputs(const ProjectSources &sources, const ProgramFiles &program) const
{
    std::vector<Input> found;
    const auto add = [&](const QString &path, const QString &what) {
        if (!path.isEmpty())
            found.push_back({path, what, m_env.files.identity(path), m_env.files.holdingFolders(path)});
    };
    add(sources.projectFile, QStringLiteral("the project's Autorun.inf"));
    for (const SourceMovie &movie : sources.movies)
        add(movie.file.path, QStringLiteral("movie %1 \"%2\"").arg(movie.number).arg(movie.title));
    if (sources.cover)
        add(sources.cover->path, QStringLiteral("the cover"));
    if (sources.player)
        add(sources.player->path, QStringLiteral("the player installer"));
    if (sources.codec)
        add(sources.codec->path, QStringLiteral("the codec installer"));
    add(program.windowsProgram, QStringLiteral("Vidorun.exe"));
    return found;
}

// What is in the way in OUTDIR. A disc or image already there is replaced
// only when asked, only when publishing made it and nobody changed it since,
// and never when it holds a file the discs are made from: files are told
// apart by identity, so that no other path to the same folder (a link, a
// bind mount, another letter case) gets past.
QStringList Publisher::outputProblems(const ProjectSources &sources, const std::vector<Input> &inputs)
{
    PublishFiles &files = m_env.files;
    const QFileInfo outFolder(m_request.outFolder);
    const bool outExists = files.exists(m_request.outFolder);
    if (outExists && !outFolder.isDir())
        return {QStringLiteral("%1 is not a folder").arg(shownPath(m_request.outFolder))};
    if (!outExists && !QFileInfo(outFolder.absolutePath()).isDir())
        return {QStringLiteral("%1 is not there to make %2 in").arg(shownPath(outFolder.absolutePath()),
                                                                    shownName(outFolder.fileName()))};

    QStringList problems;
    // OUTDIR, and the folders that hold it.
    std::vector<FileIdentity> outChain = files.holdingFolders(m_request.outFolder);
    if (const std::optional<FileIdentity> own = files.identity(m_request.outFolder))
        outChain.insert(outChain.begin(), *own);
    const auto inOutChain = [&outChain](const FileIdentity &id) {
        return std::find(outChain.begin(), outChain.end(), id) != outChain.end();
    };
    const QString projectFolder = QFileInfo(sources.projectFile).absolutePath();
    if (const std::optional<FileIdentity> project = files.identity(projectFolder); project && inOutChain(*project)) {
        problems << QStringLiteral("%1 lies inside the project's folder %2: publish to a folder outside it")
                        .arg(shownPath(m_request.outFolder), shownPath(projectFolder));
    }

    m_record = readOutputRecord(files, m_request.outFolder);
    for (const DiscOutputs &outputs : m_outputs) {
        for (const QString &output : {outputs.folder, outputs.image}) {
            if (output.isEmpty() || !files.exists(output))
                continue;
            if (!m_request.replace) {
                problems << QStringLiteral("%1 is already there: publish to another folder, or add --force to replace "
                                           "what vidorun --publish made there")
                                .arg(shownPath(output));
                continue;
            }
            const std::optional<FileIdentity> id = files.entryIdentity(output);
            const auto holds = std::find_if(inputs.begin(), inputs.end(), [&id](const Input &input) {
                return id && (input.identity == id
                              || std::find(input.holders.begin(), input.holders.end(), *id) != input.holders.end());
            });
            if (holds != inputs.end()) {
                problems << QStringLiteral("%1 holds %2 (%3), which the discs are made from: it is not replaced, even "
                                           "with --force; publish to another folder")
                                .arg(shownPath(output), holds->what, shownPath(holds->path));
                continue;
            }
            const QString difference = differenceFromRecord(files, output, m_record.find(QFileInfo(output).fileName()));
            if (!difference.isEmpty()) {
                problems << QStringLiteral("%1 %2: it is not replaced, even with --force; move it away, or publish to "
                                           "another folder")
                                .arg(shownPath(output), difference);
                continue;
            }
            if (id && inOutChain(*id)) {
                problems << QStringLiteral("%1 lies inside %2, which the new disc would replace: publish to another "
                                           "folder")
                                .arg(shownPath(m_request.outFolder), shownPath(output));
                continue;
            }
            m_replaced << QFileInfo(output).fileName();
        }
    }
    return problems;
}

// The room the set takes on OUTDIR's disk while it is made: every disc and
// image, and the file libarchive stages one disc's bytes in while it writes
// that disc's image. What it replaces goes only once all of it is there.
QStringList Publisher::roomProblem()
{
    qint64 needed = 0, largest = 0;
    for (const DiscLayout &disc : m_plan.discs) {
        qint64 discBytes = onDisk(0) * qint64(disc.folders.size() + 1);
        for (const DiscFile &file : disc.files)
            discBytes += onDisk(file.bytes);
        needed += discBytes;
        if (m_request.image)
            needed += onDisk(disc.bytes()) + 1024 * 1024;
        largest = std::max(largest, discBytes);
    }
    if (m_request.image)
        needed += largest;
    const QString existing = m_env.files.exists(m_request.outFolder) ? m_request.outFolder
                                                                      : QFileInfo(m_request.outFolder).absolutePath();
    const std::optional<qint64> free = m_env.files.freeBytes(existing);
    if (!free || *free >= needed)
        return {};
    return {QStringLiteral("%1 has %2 bytes free on its disk, and the discs take %3 (%4): make room, or publish to "
                           "another disk")
                .arg(shownPath(m_request.outFolder), bytesText(*free), bytesText(needed),
                     m_request.image ? QStringLiteral("their files and images, and what libarchive holds while it "
                                                      "writes an image")
                                     : QStringLiteral("their files"))};
}

// What the author must hear of even with --quiet: files the project takes
// from outside its own folder, and values the discs' Autorun.inf changes.
void Publisher::warn(const ProjectSources &sources)
{
    for (const QString &warning : sources.warnings)
        m_err << "vidorun: warning: " << warning << '\n';
    for (const QString &note : m_plan.notes)
        m_err << "vidorun: warning: " << note << '\n';
    m_err.flush();
}

void Publisher::tellPlan(const ProjectSources &sources, const ProgramFiles &program) const
{
    const QString title = sources.project.ProjectTitle.isEmpty()
                              ? shownPath(sources.projectFile)
                              : QLatin1Char('"') + sources.project.ProjectTitle + QLatin1Char('"');
    m_out << "Vidorun " << m_env.version << " publishes " << title << ": "
          << counted(qint64(sources.movies.size()), "movie", "movies") << " on "
          << counted(qint64(m_plan.discs.size()), "disc", "discs") << ", "
          << (program.windowsProgram.isEmpty()
                  ? QStringLiteral("without Vidorun.exe (for viewers on Linux)")
                  : QStringLiteral("with Vidorun.exe from ") + shownPath(program.windowsProgram))
          << '\n';
    // Every file that goes on a disc, and where it comes from.
    m_out << "  the project  " << shownPath(QFileInfo(sources.projectFile).absoluteFilePath()) << '\n';
    std::set<QString> told;
    for (const DiscLayout &disc : m_plan.discs) {
        for (const DiscFile &file : disc.files) {
            if (file.source.isEmpty() || file.source == program.windowsProgram)
                continue;
            const bool everyDisc = !file.path.contains(QLatin1Char('/'));
            if (everyDisc && !told.insert(file.path).second)
                continue;
            m_out << "  " << (everyDisc ? QStringLiteral("every disc") : disc.label) << "  "
                  << shownName(QString(file.path).replace(QLatin1Char('/'), QLatin1Char('\\'))) << " from "
                  << shownPath(file.source) << '\n';
        }
    }
    for (const Renaming &renamed : m_plan.renamed) {
        m_out << (renamed.label.isEmpty() ? QStringLiteral("every disc") : renamed.label) << "  "
              << shownName(renamed.from) << (renamed.output ? " is made as " : " is written as ")
              << shownName(renamed.to) << ": " << renamed.reason << '\n';
    }
    m_out.flush();
}

// The disc check of a finished disc, its findings printed as --check prints
// them; answers 1 when it finds a problem.
int Publisher::checkMadeDisc(std::size_t index, qint64 madeImageBytes)
{
    const DiscLayout &disc = m_plan.discs[index];
    const DiscOutputs &outputs = m_outputs[index];
    const DiscCheckReport report = checkDisc(outputs.folder, m_env.checkOptions);
    QStringList problems;
    if (!report.failure.isEmpty()) {
        problems << QStringLiteral("error   ") + report.failure;
    } else {
        for (const Finding &finding : report.findings) {
            if (finding.severity != Severity::Note)
                problems << findingLine(finding);
        }
    }

    QString line = disc.label + QStringLiteral("  ") + shownPath(outputs.folder) + QDir::separator();
    qint64 bytes = outputs.image.isEmpty() ? report.imageBytes : madeImageBytes;
    if (!outputs.image.isEmpty()) {
        line += QStringLiteral(" and %1 (%2 bytes)").arg(shownPath(outputs.image), bytesText(bytes));
        // The check estimates what genisoimage -R -J makes of the folder.
        if (report.failure.isEmpty() && report.noImage.isEmpty() && report.imageBytes != bytes)
            line += QStringLiteral(" (the disc check estimates %1)").arg(bytesText(report.imageBytes));
    } else if (report.noImage.isEmpty() && report.failure.isEmpty()) {
        line += QStringLiteral(" (an image of %1 bytes)").arg(bytesText(bytes));
    } else {
        // No image size to go by: its files are what it holds at the least.
        bytes = disc.bytes();
        line += QStringLiteral(" (files of %1 bytes; %2)")
                    .arg(bytesText(bytes), report.noImage.isEmpty()
                                               ? QStringLiteral("no image size known")
                                               : QStringLiteral("genisoimage -R -J makes no image of it: ") + report.noImage);
    }
    const std::optional<Medium> medium = smallestMedium(bytes);
    line += medium ? QStringLiteral(": fits %1").arg(QLatin1String(medium->name))
                   : QStringLiteral(": more than a double-layer DVD holds");
    line += problems.isEmpty() ? QStringLiteral("; the disc check finds no problem")
                               : QStringLiteral("; the disc check finds %1:")
                                     .arg(counted(problems.size(), "problem", "problems"));
    QTextStream &stream = m_request.quiet ? m_err : m_out;
    if (!m_request.quiet || !problems.isEmpty()) {
        stream << (m_request.quiet ? QStringLiteral("vidorun: ") : QString()) << line << '\n';
        for (const QString &problem : problems)
            stream << problem << '\n';
    }
    stream.flush();
    return problems.isEmpty() ? 0 : 1;
}

int Publisher::makeSet()
{
    DiscSet set(m_plan.discs, m_outputs, m_request.outFolder, m_env.files);
    std::unique_ptr<DiscProgress> shown;
    std::size_t shownDisc = m_plan.discs.size();
    const bool terminal = m_env.terminal && !m_request.quiet;
    const bool made = set.make([&](std::size_t disc, qint64 done) {
        if (disc != shownDisc) {
            if (shown)
                shown->clear();
            const DiscLayout &layout = m_plan.discs[disc];
            shown = std::make_unique<DiscProgress>(m_out, terminal, m_env.columns, layout.label, layout.movies,
                                                   layout.bytes(), discWork(layout, m_request.image));
            shownDisc = disc;
        }
        shown->update(done);
        return !m_env.interrupted();
    });
    if (shown)
        shown->clear();
    const QString left = m_replaced.isEmpty()
                             ? QString()
                             : QStringLiteral("; %1 there %2 as %3 were")
                                   .arg(m_replaced.join(QStringLiteral(", ")),
                                        m_replaced.size() == 1 ? QStringLiteral("is") : QStringLiteral("are"),
                                        m_replaced.size() == 1 ? QStringLiteral("it") : QStringLiteral("they"));
    if (!made) {
        const QString &label = m_plan.discs[set.failedDisc()].label;
        m_err << "vidorun: " << (set.stopped() ? QStringLiteral("interrupted while %1 was made").arg(label)
                                               : QStringLiteral("%1 could not be made: %2").arg(label, set.reason()))
              << '\n'
              << "vidorun: no disc was made, and nothing of the new ones is left in " << shownPath(m_request.outFolder)
              << left << Qt::endl;
        return 2;
    }
    if (!set.place(m_record)) {
        m_err << "vidorun: " << set.reason() << Qt::endl;
        return 2;
    }
    int status = 0;
    for (const QString &leftover : set.leftovers()) {
        m_err << "vidorun: " << leftover << '\n';
        status = 1;
    }
    m_err.flush();
    for (std::size_t disc = 0; disc < m_plan.discs.size(); ++disc)
        status = std::max(status, checkMadeDisc(disc, set.imageBytes()[disc]));
    return status;
}

int Publisher::run()
{
    // What a run stopped half way left here is finished or undone first.
    if (m_env.files.exists(m_request.outFolder)) {
        bool recovered = true;
        const QStringList said = recoverOutputFolder(m_env.files, m_request.outFolder, recovered);
        if (!recovered)
            return refuse(said);
        for (const QString &sentence : said)
            m_err << "vidorun: " << sentence << '\n';
        m_err.flush();
    }

    const ProjectSources sources = readProjectSources(m_request.project, m_env.files);
    if (!sources.errors.isEmpty()) {
        for (const QString &warning : sources.warnings)
            m_err << "vidorun: warning: " << warning << '\n';
        return refuse(sources.errors);
    }

    ProgramFiles program;
    if (m_request.windowsProgram) {
        const WindowsProgram found = findWindowsProgram(m_request.windowsProgramCandidates, m_env.files);
        if (found.path.isEmpty())
            return refuse({found.error});
        program.windowsProgram = found.path;
        program.windowsProgramBytes = found.bytes;
    }
    program.notices = resource(QStringLiteral(":/vidorun/NOTICES.txt"));
    if (!m_request.windowsProgram)
        program.notices = linuxOnlyNotices(program.notices);
    program.autorunScript = resource(QStringLiteral(":/vidorun/autorun.sh"));

    m_plan = layOutDiscs(sources, program, m_request.image, m_request.image ? imageNamesAsciiBecause() : QString());
    if (!m_plan.errors.isEmpty())
        return refuse(m_plan.errors);
    for (const DiscLayout &disc : m_plan.discs) {
        m_outputs.push_back({outputPath(disc.folderName),
                             m_request.image ? outputPath(disc.folderName + QStringLiteral(".iso")) : QString()});
    }
    QStringList problems = outputProblems(sources, inputs(sources, program));
    if (problems.isEmpty())
        problems = roomProblem();
    if (!problems.isEmpty())
        return refuse(problems);
    QString reason;
    if (!m_env.files.exists(m_request.outFolder) && !m_env.files.makeFolder(m_request.outFolder, reason))
        return refuse({QStringLiteral("%1 can't be made: %2").arg(shownPath(m_request.outFolder), reason)});

    warn(sources);
    if (!m_request.quiet)
        tellPlan(sources, program);
    return makeSet();
}

}  // namespace

int publishProject(const PublishRequest &request, PublishEnvironment &environment, QTextStream &out,
                   QTextStream &err)
{
    return Publisher(request, environment, out, err).run();
}

}  // namespace vidorun
