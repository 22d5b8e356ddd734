#include "publish/publisher.h"

#include "platform/publish_files.h"
#include "publish/disc_assembly.h"
#include "publish/disc_image.h"
#include "publish/disc_layout.h"
#include "publish/progress_output.h"
#include "publish/project_sources.h"
#include "publish/windows_program.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTextStream>

#include <algorithm>

namespace vidorun {

namespace {

constexpr Qt::CaseSensitivity FileNameCase =
#ifdef Q_OS_WIN
    Qt::CaseInsensitive;
#else
    Qt::CaseSensitive;
#endif

QByteArray resource(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString counted(qint64 n, const char *one, const char *many)
{
    return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
}

// Whether `path` is `folder` or lies in it, links followed.
bool within(const QString &path, const QString &folder)
{
    const QString inner = QFileInfo(path).canonicalFilePath();
    const QString outer = QFileInfo(folder).canonicalFilePath();
    return !inner.isEmpty() && !outer.isEmpty()
           && (inner.compare(outer, FileNameCase) == 0
               || inner.startsWith(outer.endsWith(QLatin1Char('/')) ? outer : outer + QLatin1Char('/'), FileNameCase));
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
    QStringList outputProblems(const ProjectSources &sources, const ProgramFiles &program) const;
    void tellPlan(const ProjectSources &sources, const ProgramFiles &program) const;
    int checkMadeDisc(const DiscLayout &disc, const DiscOutputs &outputs, const MadeDisc &made);
    QString outputPath(const QString &name) const { return m_request.outFolder + QLatin1Char('/') + name; }

    const PublishRequest &m_request;
    PublishEnvironment &m_env;
    QTextStream &m_out;
    QTextStream &m_err;
    PublishPlan m_plan;
    std::vector<DiscOutputs> m_outputs;
};

int Publisher::refuse(const QStringList &errors)
{
    for (const QString &error : errors)
        m_err << "vidorun: " << error << '\n';
    m_err << "vidorun: nothing was written" << Qt::endl;
    return 2;
}

// What is in the way in OUTDIR. A disc or image already there is replaced
// only when asked, and never when the project's own files are in it.
QStringList Publisher::outputProblems(const ProjectSources &sources, const ProgramFiles &program) const
{
    const QFileInfo outFolder(m_request.outFolder);
    if (outFolder.exists() && !outFolder.isDir())
        return {QStringLiteral("%1 is not a folder").arg(shown(m_request.outFolder))};
    if (!outFolder.exists() && !QFileInfo(outFolder.absolutePath()).isDir())
        return {QStringLiteral("%1 is not there to make %2 in").arg(shown(outFolder.absolutePath()),
                                                                    outFolder.fileName())};

    QStringList inputs = {sources.projectFile, program.windowsProgram};
    for (const SourceMovie &movie : sources.movies)
        inputs << movie.file.path;
    for (const std::optional<SourceFile> &setting : {sources.cover, sources.player, sources.codec}) {
        if (setting)
            inputs << setting->path;
    }
    QStringList problems;
    for (const DiscOutputs &outputs : m_outputs) {
        for (const QString &output : {outputs.folder, outputs.image}) {
            if (output.isEmpty() || !m_env.files.exists(output))
                continue;
            if (!m_request.replace) {
                problems << QStringLiteral("%1 is already there: publish to another folder, or add --force to "
                                           "replace it")
                                .arg(shown(output));
                continue;
            }
            for (const QString &input : inputs) {
                if (!input.isEmpty() && within(input, output)) {
                    problems << QStringLiteral("%1 holds %2, which the project publishes from: it is not replaced, "
                                               "even with --force; publish to another folder")
                                    .arg(shown(output), shown(input));
                    break;
                }
            }
        }
    }
    return problems;
}

void Publisher::tellPlan(const ProjectSources &sources, const ProgramFiles &program) const
{
    const QString title = sources.project.ProjectTitle.isEmpty() ? shown(sources.projectFile)
                                                                 : QLatin1Char('"') + sources.project.ProjectTitle + QLatin1Char('"');
    m_out << "Vidorun " << m_env.version << " publishes " << title << ": "
          << counted(qint64(sources.movies.size()), "movie", "movies") << " on "
          << counted(qint64(m_plan.discs.size()), "disc", "discs") << ", "
          << (program.windowsProgram.isEmpty()
                  ? QStringLiteral("without Vidorun.exe (for viewers on Linux)")
                  : QStringLiteral("with Vidorun.exe from ") + shown(program.windowsProgram))
          << '\n';
    for (const Renaming &renamed : m_plan.renamed) {
        m_out << (renamed.label.isEmpty() ? QStringLiteral("every disc") : renamed.label) << "  " << renamed.from
              << " is written as " << renamed.to << ": " << renamed.reason << '\n';
    }
    m_out.flush();
}

// The disc check of a finished disc, its findings printed as --check prints
// them; answers 1 when it finds a problem.
int Publisher::checkMadeDisc(const DiscLayout &disc, const DiscOutputs &outputs, const MadeDisc &made)
{
    const QLocale numbers(QLocale::English);
    const DiscCheckReport report = checkDisc(outputs.folder, m_env.checkOptions);
    QStringList problems;
    if (!report.failure.isEmpty()) {
        problems << QStringLiteral("error   ") + report.failure;
    } else {
        // The report's lines after its heading are its findings, in order.
        const QStringList lines = reportLines(m_env.version, shown(outputs.folder), report);
        for (std::size_t i = 0; i < report.findings.size(); ++i) {
            if (report.findings[i].severity != Severity::Note)
                problems << lines.value(qsizetype(i) + 1);
        }
    }

    const qint64 imageBytes = outputs.image.isEmpty() ? report.imageBytes : made.imageBytes;
    QString line = disc.label + QStringLiteral("  ") + shown(outputs.folder) + QDir::separator();
    if (outputs.image.isEmpty())
        line += QStringLiteral(" (an image of %1 bytes)").arg(numbers.toString(imageBytes));
    else
        line += QStringLiteral(" and %1 (%2 bytes)").arg(shown(outputs.image), numbers.toString(imageBytes));
    // The check estimates what genisoimage -R -J makes of the folder.
    if (!outputs.image.isEmpty() && report.failure.isEmpty() && report.imageBytes != imageBytes)
        line += QStringLiteral(" (the disc check estimates %1)").arg(numbers.toString(report.imageBytes));
    const std::optional<Medium> medium = smallestMedium(imageBytes);
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
    if (!made.reason.isEmpty())
        m_err << "vidorun: " << disc.label << ": " << made.reason << '\n';
    stream.flush();
    return problems.isEmpty() ? 0 : 1;
}

int Publisher::run()
{
    const ProjectSources sources = readProjectSources(m_request.project, m_env.files);
    if (!sources.errors.isEmpty())
        return refuse(sources.errors);

    ProgramFiles program;
    if (m_request.windowsProgram) {
        const WindowsProgram found = findWindowsProgram(m_request.windowsProgramCandidates, m_env.files);
        if (found.path.isEmpty())
            return refuse({found.error});
        program.windowsProgram = found.path;
        program.windowsProgramBytes = found.bytes;
    }
    program.notices = resource(QStringLiteral(":/vidorun/NOTICES.txt"));
    program.autorunScript = resource(QStringLiteral(":/vidorun/autorun.sh"));

    m_plan = layOutDiscs(sources, program, m_request.image ? imageNamesAsciiBecause() : QString());
    if (!m_plan.errors.isEmpty())
        return refuse(m_plan.errors);
    for (const DiscLayout &disc : m_plan.discs) {
        m_outputs.push_back({outputPath(disc.folderName),
                             m_request.image ? outputPath(disc.folderName + QStringLiteral(".iso")) : QString()});
    }
    const QStringList problems = outputProblems(sources, program);
    if (!problems.isEmpty())
        return refuse(problems);
    QString reason;
    if (!m_env.files.exists(m_request.outFolder) && !m_env.files.makeFolder(m_request.outFolder, reason))
        return refuse({QStringLiteral("%1 can't be made: %2").arg(shown(m_request.outFolder), reason)});

    if (!m_request.quiet)
        tellPlan(sources, program);
    int status = 0;
    for (std::size_t i = 0; i < m_plan.discs.size(); ++i) {
        const DiscLayout &disc = m_plan.discs[i];
        DiscProgress progress(m_out, m_env.terminal && !m_request.quiet, m_env.columns, disc.label, disc.movies,
                              disc.bytes(), discWork(disc, m_request.image));
        const MadeDisc made = makeDisc(disc, m_outputs[i], m_request.replace, m_env.files, [&](qint64 done) {
            progress.update(done);
            return !m_env.interrupted();
        });
        progress.clear();
        if (!made.made) {
            m_err << "vidorun: " << disc.label << (made.stopped ? QStringLiteral(": interrupted")
                                                                : QStringLiteral(" could not be made: ") + made.reason)
                  << "; nothing of it is left in " << shown(m_request.outFolder) << '\n';
            QStringList notMade;
            for (std::size_t rest = i + 1; rest < m_plan.discs.size(); ++rest)
                notMade << m_plan.discs[rest].label;
            if (!notMade.isEmpty())
                m_err << "vidorun: not made either: " << notMade.join(QStringLiteral(", ")) << '\n';
            m_err.flush();
            return 2;
        }
        status = std::max(status, checkMadeDisc(disc, m_outputs[i], made));
    }
    return status;
}

}  // namespace

int publishProject(const PublishRequest &request, PublishEnvironment &environment, QTextStream &out,
                   QTextStream &err)
{
    return Publisher(request, environment, out, err).run();
}

}  // namespace vidorun
