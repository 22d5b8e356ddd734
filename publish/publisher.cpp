#include "publish/publisher.h"

#include "base/paths.h"
#include "base/text.h"
#include "disccheck/disc_names.h"
#include "platform/file_places.h"
#include "platform/publish_files.h"
#include "publish/disc_image.h"
#include "publish/disc_layout.h"
#include "publish/disc_set.h"
#include "publish/output_record.h"
#include "publish/progress_output.h"
#include "publish/project_sources.h"
#include "publish/windows_program.h"
#include "resources/disc_files.h"

#include <algorithm>
#include <memory>
#include <set>

namespace vidorun {

namespace {

// What a disc without Vidorun.exe needs of the notices: Vidorun's own
// licence, for autorun.sh, and no word of a program it does not hold.
std::string linuxOnlyNotices(std::string_view notices)
{
    const std::size_t start = notices.find("Vidorun\n-------\n");
    const std::size_t end = start == std::string_view::npos ? start : notices.find("SOFTWARE.\n", start);
    if (start == std::string_view::npos || end == std::string_view::npos)
        return std::string(notices);
    return "Licence notices\n===============\n\n"
           "This disc was laid out by Vidorun for viewers on Linux, and holds no program for Windows.\n"
           "Its autorun.sh, which starts the viewer's own Vidorun, is part of Vidorun. Nothing here\n"
           "limits what you may do with the movies on this disc; those belong to whoever made them.\n\n"
           + std::string(notices.substr(start, end + 10 - start));
}

std::string counted(std::int64_t n, const char *one, const char *many)
{
    return std::to_string(n) + ' ' + (n == 1 ? one : many);
}

// A file the discs are made from, and the folders that hold it.
struct Input {
    std::string path;
    std::string what;
    std::optional<FileIdentity> identity;
    std::vector<FileIdentity> holders;
};

// Room a file takes on a disk beyond its bytes, at most.
constexpr std::int64_t Block = 4096;
std::int64_t onDisk(std::int64_t bytes)
{
    return (bytes + Block - 1) / Block * Block + Block;
}

class Publisher {
public:
    Publisher(const PublishRequest &request, PublishEnvironment &environment, const PublishOutput &out,
              const PublishOutput &err)
        : m_request(request), m_env(environment), m_out(out), m_err(err)
    {
    }

    int run();

private:
    int refuse(const std::vector<std::string> &errors);
    std::vector<Input> inputs(const ProjectSources &sources, const ProgramFiles &program) const;
    std::vector<std::string> outputProblems(const ProjectSources &sources, const std::vector<Input> &inputs);
    std::vector<std::string> roomProblem();
    void warn(const ProjectSources &sources);
    void tellPlan(const ProjectSources &sources, const ProgramFiles &program) const;
    int makeSet();
    int checkMadeDisc(std::size_t disc, std::int64_t imageBytes);
    std::string outputPath(const std::string &name) const { return m_request.outFolder + '/' + name; }

    const PublishRequest &m_request;
    PublishEnvironment &m_env;
    const PublishOutput &m_out;
    const PublishOutput &m_err;
    PublishPlan m_plan;
    std::vector<DiscOutputs> m_outputs;
    OutputRecord m_record;
    std::vector<std::string> m_replaced;  // outputs already there, which the new set replaces
};

int Publisher::refuse(const std::vector<std::string> &errors)
{
    for (const std::string &error : errors)
        m_err("vidorun: " + error + '\n');
    m_err("vidorun: nothing was written\n");
    return 2;
}

std::vector<Input> Publisher::inputs(const ProjectSources &sources, const ProgramFiles &program) const
{
    std::vector<Input> found;
    const auto add = [&](const std::string &path, const std::string &what) {
        if (!path.empty())
            found.push_back({path, what, m_env.files.identity(path), m_env.files.holdingFolders(path)});
    };
    add(sources.projectFile, "the project's Autorun.inf");
    for (const SourceMovie &movie : sources.movies)
        add(movie.file.path, fill("movie %1 \"%2\"", {std::to_string(movie.number), movie.title}));
    if (sources.cover)
        add(sources.cover->path, "the cover");
    if (sources.player)
        add(sources.player->path, "the player installer");
    if (sources.codec)
        add(sources.codec->path, "the codec installer");
    add(program.windowsProgram, "Vidorun.exe");
    return found;
}

// What is in the way in OUTDIR. A disc or image already there is replaced
// only when asked, only when publishing made it and nobody changed it since,
// and never when it holds a file the discs are made from: files are told
// apart by identity, so that no other path to the same folder (a link, a
// bind mount, another letter case) gets past.
std::vector<std::string> Publisher::outputProblems(const ProjectSources &sources, const std::vector<Input> &inputs)
{
    PublishFiles &files = m_env.files;
    const std::string &outFolder = m_request.outFolder;
    const bool outExists = files.exists(outFolder);
    if (outExists && kindAt(outFolder) != FileKind::Folder)
        return {shownPath(outFolder) + " is not a folder"};
    if (!outExists && kindAt(absoluteFolderOf(outFolder)) != FileKind::Folder)
        return {fill("%1 is not there to make %2 in", {shownPath(absoluteFolderOf(outFolder)),
                                                       shownName(nameInPath(outFolder))})};

    std::vector<std::string> problems;
    // OUTDIR, and the folders that hold it.
    std::vector<FileIdentity> outChain = files.holdingFolders(outFolder);
    if (const std::optional<FileIdentity> own = files.identity(outFolder))
        outChain.insert(outChain.begin(), *own);
    const auto inOutChain = [&outChain](const FileIdentity &id) {
        return std::find(outChain.begin(), outChain.end(), id) != outChain.end();
    };
    const std::string projectFolder = absoluteFolderOf(sources.projectFile);
    if (const std::optional<FileIdentity> project = files.identity(projectFolder); project && inOutChain(*project)) {
        problems.push_back(fill("%1 lies inside the project's folder %2: publish to a folder outside it",
                                {shownPath(outFolder), shownPath(projectFolder)}));
    }

    m_record = readOutputRecord(files, outFolder);
    for (const DiscOutputs &outputs : m_outputs) {
        for (const std::string *output : {&outputs.folder, &outputs.image}) {
            if (output->empty() || !files.exists(*output))
                continue;
            if (!m_request.replace) {
                problems.push_back(shownPath(*output) + " is already there: publish to another folder, or add --force "
                                                        "to replace what vidorun --publish made there");
                continue;
            }
            const std::optional<FileIdentity> id = files.entryIdentity(*output);
            const auto holds = std::find_if(inputs.begin(), inputs.end(), [&id](const Input &input) {
                return id && (input.identity == id
                              || std::find(input.holders.begin(), input.holders.end(), *id) != input.holders.end());
            });
            if (holds != inputs.end()) {
                problems.push_back(fill("%1 holds %2 (%3), which the discs are made from: it is not replaced, even "
                                        "with --force; publish to another folder",
                                        {shownPath(*output), holds->what, shownPath(holds->path)}));
                continue;
            }
            const std::string difference = differenceFromRecord(files, *output, m_record.find(nameInPath(*output)));
            if (!difference.empty()) {
                problems.push_back(fill("%1 %2: it is not replaced, even with --force; move it away, or publish to "
                                        "another folder",
                                        {shownPath(*output), difference}));
                continue;
            }
            if (id && inOutChain(*id)) {
                problems.push_back(fill("%1 lies inside %2, which the new disc would replace: publish to another "
                                        "folder",
                                        {shownPath(outFolder), shownPath(*output)}));
                continue;
            }
            m_replaced.push_back(nameInPath(*output));
        }
    }
    return problems;
}

// The room the set takes on OUTDIR's disk while it is made: every disc and
// image, and the file libarchive stages one disc's bytes in while it writes
// that disc's image. What it replaces goes only once all of it is there.
std::vector<std::string> Publisher::roomProblem()
{
    std::int64_t needed = 0, largest = 0;
    for (const DiscLayout &disc : m_plan.discs) {
        std::int64_t discBytes = onDisk(0) * std::int64_t(disc.folders.size() + 1);
        for (const DiscFile &file : disc.files)
            discBytes += onDisk(file.bytes);
        needed += discBytes;
        if (m_request.image)
            needed += onDisk(disc.bytes()) + 1024 * 1024;
        largest = std::max(largest, discBytes);
    }
    if (m_request.image)
        needed += largest;
    const std::string existing =
        m_env.files.exists(m_request.outFolder) ? m_request.outFolder : absoluteFolderOf(m_request.outFolder);
    const std::optional<std::int64_t> free = m_env.files.freeBytes(existing);
    if (!free || *free >= needed)
        return {};
    return {fill("%1 has %2 bytes free on its disk, and the discs take %3 (%4): make room, or publish to another disk",
                 {shownPath(m_request.outFolder), groupedNumber(*free), groupedNumber(needed),
                  m_request.image ? "their files and images, and what libarchive holds while it writes an image"
                                  : "their files"})};
}

// What the author must hear of even with --quiet: files the project takes
// from outside its own folder.
void Publisher::warn(const ProjectSources &sources)
{
    for (const std::string &warning : sources.warnings)
        m_err("vidorun: warning: " + warning + '\n');
}

void Publisher::tellPlan(const ProjectSources &sources, const ProgramFiles &program) const
{
    const std::string title = sources.project.ProjectTitle.empty() ? shownPath(sources.projectFile)
                                                                  : '"' + sources.project.ProjectTitle + '"';
    m_out("Vidorun " + m_env.version + " publishes " + title + ": "
          + counted(std::int64_t(sources.movies.size()), "movie", "movies") + " on "
          + counted(std::int64_t(m_plan.discs.size()), "disc", "discs") + ", "
          + (program.windowsProgram.empty() ? std::string("without Vidorun.exe (for viewers on Linux)")
                                            : "with Vidorun.exe from " + shownPath(program.windowsProgram))
          + '\n');
    // Every file that goes on a disc, and where it comes from.
    m_out("  the project  " + shownPath(absolutePath(sources.projectFile)) + '\n');
    std::set<std::string> told;
    for (const DiscLayout &disc : m_plan.discs) {
        for (const DiscFile &file : disc.files) {
            if (file.source.empty() || file.source == program.windowsProgram)
                continue;
            const bool everyDisc = !contains(file.path, "/");
            if (everyDisc && !told.insert(file.path).second)
                continue;
            m_out("  " + (everyDisc ? std::string("every disc") : disc.label) + "  "
                  + shownName(withBackslashes(file.path)) + " from " + shownPath(file.source) + '\n');
        }
    }
    for (const Renaming &renamed : m_plan.renamed) {
        m_out((renamed.label.empty() ? std::string("every disc") : renamed.label) + "  " + shownName(renamed.from)
              + (renamed.output ? " is made as " : " is written as ") + shownName(renamed.to) + ": " + renamed.reason
              + '\n');
    }
}

// The disc check of a finished disc, its findings printed as --check prints
// them; answers 1 when it finds a problem.
int Publisher::checkMadeDisc(std::size_t index, std::int64_t madeImageBytes)
{
    const DiscLayout &disc = m_plan.discs[index];
    const DiscOutputs &outputs = m_outputs[index];
    const DiscCheckReport report = checkDisc(outputs.folder, m_env.checkOptions);
    std::vector<std::string> problems;
    if (!report.failure.empty()) {
        problems.push_back(severityColumn(Severity::Error) + report.failure);
    } else {
        for (const Finding &finding : report.findings) {
            if (finding.severity != Severity::Note)
                problems.push_back(findingLine(finding));
        }
    }

    std::string line = disc.label + "  " + shownPath(outputs.folder) + nativePath("/");
    std::int64_t bytes = outputs.image.empty() ? report.imageBytes : madeImageBytes;
    if (!outputs.image.empty()) {
        line += fill(" and %1 (%2 bytes)", {shownPath(outputs.image), groupedNumber(bytes)});
        // The check estimates what genisoimage -R -J makes of the folder.
        if (report.failure.empty() && report.noImage.empty() && report.imageBytes != bytes)
            line += fill(" (the disc check estimates %1)", {groupedNumber(report.imageBytes)});
    } else if (report.noImage.empty() && report.failure.empty()) {
        line += fill(" (an image of %1 bytes)", {groupedNumber(bytes)});
    } else {
        // No image size to go by: its files are what it holds at the least.
        bytes = disc.bytes();
        line += fill(" (files of %1 bytes; %2)",
                     {groupedNumber(bytes), report.noImage.empty()
                                                ? std::string("no image size known")
                                                : "genisoimage -R -J makes no image of it: " + report.noImage});
    }
    const std::optional<Medium> medium = smallestMedium(bytes);
    line += medium ? fill(": fits %1", {medium->name}) : std::string(": more than a double-layer DVD holds");
    line += problems.empty() ? std::string("; the disc check finds no problem")
                             : fill("; the disc check finds %1:",
                                    {counted(std::int64_t(problems.size()), "problem", "problems")});
    const PublishOutput &stream = m_request.quiet ? m_err : m_out;
    if (!m_request.quiet || !problems.empty()) {
        stream((m_request.quiet ? "vidorun: " : "") + line + '\n');
        for (const std::string &problem : problems)
            stream(problem + '\n');
    }
    return problems.empty() ? 0 : 1;
}

int Publisher::makeSet()
{
    DiscSet set(m_plan.discs, m_outputs, m_request.outFolder, m_env.files);
    std::unique_ptr<DiscProgress> shown;
    std::size_t shownDisc = m_plan.discs.size();
    const bool terminal = m_env.terminal && !m_request.quiet;
    const bool made = set.make([&](std::size_t disc, std::int64_t done) {
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
    const std::string left =
        m_replaced.empty() ? std::string()
                           : fill("; %1 there %2 as %3 were", {joined(m_replaced, ", "), m_replaced.size() == 1 ? "is" : "are",
                                                               m_replaced.size() == 1 ? "it" : "they"});
    if (!made) {
        const std::string made = set.failedDisc() ? m_plan.discs[*set.failedDisc()].label : "the discs";
        m_err("vidorun: "
              + (set.stopped() ? fill("interrupted while %1 %2 made", {made, set.failedDisc() ? "was" : "were"})
                               : fill("%1 could not be made: %2", {made, set.reason()}))
              + '\n');
        m_err("vidorun: no disc was made, and nothing of the new ones is left in " + shownPath(m_request.outFolder)
              + left + '\n');
        return 2;
    }
    if (!set.place(m_record)) {
        m_err("vidorun: " + set.reason() + '\n');
        return 2;
    }
    int status = 0;
    for (const std::string &leftover : set.leftovers()) {
        m_err("vidorun: " + leftover + '\n');
        status = 1;
    }
    for (std::size_t disc = 0; disc < m_plan.discs.size(); ++disc)
        status = std::max(status, checkMadeDisc(disc, set.imageBytes()[disc]));
    return status;
}

int Publisher::run()
{
    // What a run stopped half way left here is finished or undone first.
    if (m_env.files.exists(m_request.outFolder)) {
        bool recovered = true;
        const std::vector<std::string> said = recoverOutputFolder(m_env.files, m_request.outFolder, recovered);
        if (!recovered)
            return refuse(said);
        for (const std::string &sentence : said)
            m_err("vidorun: " + sentence + '\n');
    }

    const ProjectSources sources = readProjectSources(m_request.project, m_env.files);
    if (!sources.errors.empty()) {
        for (const std::string &warning : sources.warnings)
            m_err("vidorun: warning: " + warning + '\n');
        return refuse(sources.errors);
    }

    ProgramFiles program;
    if (m_request.windowsProgram) {
        const WindowsProgram found = findWindowsProgram(m_request.windowsProgramCandidates, m_env.files);
        if (found.path.empty())
            return refuse({found.error});
        program.windowsProgram = found.path;
        program.windowsProgramBytes = found.bytes;
    }
    program.notices = m_request.windowsProgram ? std::string(licenceNotices()) : linuxOnlyNotices(licenceNotices());
    program.autorunScript = std::string(autorunScript());

    m_plan = layOutDiscs(sources, program, m_request.image, m_request.image ? imageNamesAsciiBecause() : std::string());
    if (!m_plan.errors.empty())
        return refuse(m_plan.errors);
    for (const DiscLayout &disc : m_plan.discs)
        m_outputs.push_back({outputPath(disc.folderName), m_request.image ? outputPath(disc.folderName + ".iso") : ""});
    std::vector<std::string> problems = outputProblems(sources, inputs(sources, program));
    if (problems.empty())
        problems = roomProblem();
    if (!problems.empty())
        return refuse(problems);
    std::string reason;
    if (!m_env.files.exists(m_request.outFolder) && !m_env.files.makeFolder(m_request.outFolder, reason))
        return refuse({fill("%1 can't be made: %2", {shownPath(m_request.outFolder), reason})});

    warn(sources);
    if (!m_request.quiet)
        tellPlan(sources, program);
    return makeSet();
}

}  // namespace

int publishProject(const PublishRequest &request, PublishEnvironment &environment, const PublishOutput &out,
                   const PublishOutput &err)
{
    return Publisher(request, environment, out, err).run();
}

}  // namespace vidorun
