// The disc check as a whole: the folder, its Autorun.inf read as the program
// reads it, then each part of the check in turn.
#include "disccheck/disc_check.h"

#include "base/text.h"
#include "disccheck/check_context.h"
#include "platform/disc_listing.h"
#include "platform/file_places.h"
#include "projectfile/item_reader.h"
#include "projectfile/letter_case.h"
#include "projectfile/project_reader.h"
#include "projectfile/text_codec.h"

#include <algorithm>

namespace vidorun {

namespace check {

namespace {

// A project file of 99 movies is some 10 kB; anything near this is no project.
constexpr std::int64_t MaxProjectFileBytes = 16 * 1024 * 1024;

const char *const NoAutorunInf =
    "no Autorun.inf on its root, in any letter case: not a Vidorun disc, or not its root";

// What makes the folder no disc root, found before anything below it is
// listed: a whole drive given by mistake is told at once.
std::string rootFailure(const std::string &root)
{
    const PathLook look = lookAt(root);
    if (look.kind == FileKind::Missing)
        return "no such folder";
    if (look.kind != FileKind::Folder)
        return "not a folder";
    if (!look.readable)
        return "the folder can't be read (no permission)";
    if (holdsEntry(root, [](std::string_view name) { return fileNameFoldUtf8(name) == "autorun.inf"; }))
        return {};
    return NoAutorunInf;
}

bool readProject(Context &context)
{
    DiscIndex &index = context.index;
    DiscCheckReport &report = context.report;
    // Found as the program finds it at start: "Autorun.inf" in any letter case.
    const int entry = index.find(index.resolve("Autorun.inf"));
    if (entry < 0) {
        report.failure = NoAutorunInf;
        return false;
    }
    const DiscEntry &found = index.at(entry);
    const int file = index.followed(entry);
    if (found.kind == EntryKind::Link && !found.linkInside) {
        report.failure = fill("%1 is %2", {found.shownPath(), linkEnd(found)});
        return false;
    }
    if (index.at(file).kind != EntryKind::File) {
        report.failure = fill("%1 is not a file", {found.shownPath()});
        return false;
    }
    if (index.at(file).size > MaxProjectFileBytes) {
        report.failure = fill("%1 is %2 bytes, far more than any project: not read",
                              {found.shownPath(), std::to_string(index.at(file).size)});
        return false;
    }
    std::string reason;
    const std::unique_ptr<ReadableFile> opened = context.open(file, &reason);
    if (!opened) {
        report.failure = fill("%1 can't be read: %2", {found.shownPath(), reason});
        return false;
    }
    std::string bytes(std::size_t(std::min(opened->size(), MaxProjectFileBytes)), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const std::int64_t n = opened->read(bytes.data() + got, std::int64_t(bytes.size() - got));
        if (n < 0) {
            report.failure = fill("%1 can't be read: %2", {found.shownPath(), opened->reason()});
            return false;
        }
        if (n == 0)
            break;
        got += std::size_t(n);
    }
    bytes.resize(got);
    context.markUsed(entry);
    context.markUsed(file);
    const std::string linked = linkOnDisc(context, entry, found.shownPath());
    if (!linked.empty())
        context.add(Severity::Error, linked);
    readableByAll(context, file, std::string(), nullptr);

    ReadProjectFile read = readProjectFileBytes(bytes);
    context.project = std::move(read.project);
    context.utf8 = read.utf8;
    context.written = std::move(read.written);
    return true;
}

}  // namespace

Context::Context(const std::string &root, const DiscCheckOptions &options)
    : options(options), rootShown(vidorun::absolutePath(root)), index(root), files(makeNativePublishFiles())
{
}

std::unique_ptr<ReadableFile> Context::open(int entry, std::string *reason)
{
    FileKind kind;
    std::string why;
    std::unique_ptr<ReadableFile> file = files->openForReading(absolutePath(entry), kind, why);
    if (!file && reason)
        *reason = why;
    return file;
}

}  // namespace check

DiscCheckReport checkDisc(const std::string &root, const DiscCheckOptions &options)
{
    DiscCheckReport early;
    early.failure = check::rootFailure(root);
    if (!early.failure.empty())
        return early;
    check::Context context(root, options);
    DiscCheckReport &report = context.report;
    if (!context.index.at(0).listed)
        report.failure = "the folder can't be read (no permission)";
    if (!report.failure.empty() || !check::readProject(context))
        return report;

    if (context.written.empty) {
        context.add(Severity::Error, "Autorun.inf is empty (0 bytes): Vidorun lists no movies, and Windows offers "
                                     "nothing to start from this disc");
    } else if (context.written.unreadable) {
        // Everything else would follow from the one fault: no keys are read.
        for (Finding &line : context.written.lineFindings)
            report.findings.push_back(std::move(line));
    } else {
        check::checkCounts(context);
        for (Finding &line : context.written.lineFindings)
            report.findings.push_back(std::move(line));
        check::checkAutorunSection(context);
        check::findThisDisc(context);
        check::checkMovies(context);
        check::checkSettings(context);
    }
    check::checkTree(context);
    check::noteLinuxAutorun(context);
    check::countImage(context);
    // Errors first, then warnings, then notes, each in the order found.
    std::stable_sort(report.findings.begin(), report.findings.end(),
                     [](const Finding &a, const Finding &b) { return a.severity < b.severity; });
    return report;
}

int exitStatus(const DiscCheckReport &report)
{
    if (!report.failure.empty())
        return 2;
    const bool problems = std::any_of(report.findings.begin(), report.findings.end(),
                                      [](const Finding &f) { return f.severity != Severity::Note; });
    return problems ? 1 : 0;
}

}  // namespace vidorun
