// What Autorun.inf itself tells: the counters and the movies the program
// lists, the [autorun] section Windows reads, and which of the project's
// discs this folder is.
#include "disccheck/check_context.h"

#include "base/text.h"
#include "playback/play_logic.h"
#include "projectfile/item_reader.h"
#include "projectfile/project_reader.h"
#include "projectfile/project_writer.h"
#include "projectfile/text_codec.h"

#include <algorithm>

namespace vidorun::check {

namespace {

bool endsWithAny(const std::string &name, std::initializer_list<const char *> extensions)
{
    const std::string lower = asciiLower(name);
    return std::any_of(extensions.begin(), extensions.end(),
                       [&lower](const char *extension) { return endsWith(lower, extension); });
}

// Without the white space at either end.
std::string_view withoutSpace(std::string_view text)
{
    const auto space = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (!text.empty() && space(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && space(text.back()))
        text.remove_suffix(1);
    return text;
}

// Why this disc is for Windows viewers: a Windows program or library on it,
// the root's first, or an installer for Windows the project names; empty
// when nothing says so.
std::string windowsEvidence(const Context &context)
{
    std::string found;
    for (const DiscEntry &entry : context.index.entries()) {
        if (entry.kind == EntryKind::File && endsWithAny(entry.name, {".exe", ".dll"})
            && (found.empty() || entry.parent == 0)) {
            found = entry.shownPath();
            if (entry.parent == 0)
                break;
        }
    }
    if (!found.empty())
        return "it holds " + found;
    for (const std::string *installer : {&context.project.PlayerPath, &context.project.CodecPath}) {
        if (endsWithAny(*installer, {".exe", ".msi", ".com", ".bat", ".cmd"}))
            return "its project names the installer " + *installer;
    }
    return {};
}

}  // namespace

namespace {

// The facts the program's start-up checks, and movies it would list empty
// or never list.
void countFindings(const Project &p, const AutorunText &written, std::vector<Finding> &findings)
{
    const auto add = [&findings](Severity severity, const std::string &text, int movie = 0,
                                 const std::string &title = std::string()) {
        findings.push_back({severity, movie, title, text});
    };
    if (p.PathCount != p.TitleCount || p.CDCount != p.PathCount) {
        add(Severity::Error,
            fill("Autorun.inf counts %1 movie titles, %2 paths and %3 CD labels: Vidorun reports an error at every "
                 "start; give each movie one movieNN, titleNN and mdiskNN line",
                 {p.TitleCount, p.PathCount, p.CDCount}));
    }
    const int counted = counterValue(p.TitleCount);
    if (counted > MaxWrittenMovie) {
        add(Severity::Error,
            fill("Autorun.inf counts %1 movies, more than the %2 its two-digit keys can number: some keys come twice, "
                 "and Vidorun lists movies that are not there",
                 {std::to_string(counted), std::to_string(MaxWrittenMovie)}));
    }
    const int listed = listableMovies(p);
    for (int n = 1; n <= listed; ++n) {
        const auto e = std::size_t(n);
        const std::string nn = numberText(n);
        if (p.MoviePaths[e].empty() && p.MovieTitles[e].empty() && p.MovieCDs[e].empty()) {
            // Lines written for it but read as another movie's have their own finding.
            if (!written.meantMovies.count(n)) {
                add(Severity::Error,
                    fill("is missing: Autorun.inf counts %1 movies but has no movie%2, title%2 or mdisk%2 line; "
                         "Vidorun lists an empty line for it",
                         {std::to_string(listed), nn}),
                    n);
            }
            continue;
        }
        if (p.MoviePaths[e].empty())
            add(Severity::Error, "has no movie file: write movie" + nn, n, p.MovieTitles[e]);
        if (p.MovieTitles[e].empty())
            add(Severity::Warning, "has no title: the list shows an empty line; write title" + nn, n);
        if (p.MovieCDs[e].empty()) {
            add(Severity::Error, "has no CD label: Vidorun asks for a disc labelled '' and never plays it; write mdisk" + nn,
                n, p.MovieTitles[e]);
        }
    }
    std::vector<std::string> unlisted;
    for (int n = 0; n <= MaxMovieNumber; ++n) {
        const auto e = std::size_t(n);
        if ((n == 0 || n > listed) && !(p.MoviePaths[e].empty() && p.MovieTitles[e].empty() && p.MovieCDs[e].empty()))
            unlisted.push_back(numberText(n));
    }
    if (!unlisted.empty()) {
        add(Severity::Warning,
            fill("Autorun.inf has lines for movie %1, which Vidorun never lists: it lists %2; number the movies from "
                 "01 without gaps",
                 {joined(unlisted, ", "),
                  listed == 0 ? "none, as it counts no movies" : "movies 01 to " + numberText(listed)}));
    }
}

}  // namespace

void checkCounts(Context &context)
{
    countFindings(context.project, context.written, context.report.findings);
}

// The [autorun] section only matters to Windows. A disc is for Windows when
// it holds a Windows program or library anywhere, or its project names an
// installer for Windows; then a missing program is an error. A disc without
// any is for Linux viewers, who start vidorun themselves, and the section is
// only noted.
void checkAutorunSection(Context &context)
{
    const AutorunText &written = context.written;
    const std::string evidence = windowsEvidence(context);
    const bool forWindows = !evidence.empty();
    DiscIndex &index = context.index;
    auto fileHere = [&index](const std::string &path) {
        const int entry = index.find(index.resolve(path));
        return entry >= 0 && index.at(index.followed(entry)).kind == EntryKind::File ? entry : -1;
    };

    if (written.byteOrderMark) {
        context.add(forWindows ? Severity::Error : Severity::Note,
                    fill("Autorun.inf begins with a UTF-8 byte-order mark: Windows AutoRun reads the file in its ANSI "
                         "code page, takes the mark for text and finds no [autorun] section, so it offers no program "
                         "and no icon for this disc%1; save the file without the mark (Vidorun writes none)",
                         {written.markHidesKey ? ", and Vidorun misses the key on its first line" : ""}));
    }
    if (!written.open || written.open->empty()) {
        if (forWindows) {
            context.add(Severity::Error, "Autorun.inf has no open= line under [autorun]: Windows offers no program to "
                                         "start from this disc; write OPEN=Vidorun.exe");
        } else {
            context.add(Severity::Note, "Autorun.inf has no open= line under [autorun]; only Windows reads it, and "
                                        "this disc holds no Windows program");
        }
    } else {
        // The program is the first word, or the quoted part, of the command.
        const std::string &command = *written.open;
        const std::string program = command.front() == '"'
                                        ? command.substr(1, command.find('"', 1) - 1)
                                        : command.substr(0, command.find_first_of(" \t"));
        if (const int entry = fileHere(program); entry >= 0) {
            context.markUsed(entry);
            const std::string linked = linkOnDisc(context, entry, "[autorun] open=" + program);
            if (!linked.empty())
                context.add(Severity::Error, linked);
        } else if (forWindows) {
            context.add(Severity::Error,
                        fill("[autorun] open=%1: %2 is not on this disc, which is for Windows (%3): Windows viewers "
                             "get no menu; put %2 on the root",
                             {command, program, evidence}));
        } else {
            context.add(Severity::Note,
                        fill("[autorun] open=%1: %2 is not on this disc, nor any other Windows program, and its "
                             "project names no installer for Windows: a disc for Linux viewers, who start vidorun "
                             "themselves; for Windows viewers put %2 on the root (make windows builds it)",
                             {command, program}));
        }
    }

    if (!forWindows)
        return;
    if (!written.icon || written.icon->empty()) {
        context.add(Severity::Warning, "Autorun.inf has no icon= line under [autorun]: Explorer shows this disc "
                                       "without Vidorun's icon; write ICON=Vidorun.exe,0");
    } else {
        const std::string iconFile(withoutSpace(written.icon->substr(0, written.icon->find(','))));
        if (fileHere(iconFile) < 0) {
            context.add(Severity::Warning,
                        fill("[autorun] icon=%1: %2 is not on this disc: Explorer shows the disc without its icon",
                             {*written.icon, iconFile}));
        }
    }
}

// Which CD this is: the labels whose marker file the program finds on the
// root. A movie without a label, or whose label line the reader misreads,
// counts for no label: its own finding says why it never plays.
void findThisDisc(Context &context)
{
    DiscCheckReport &report = context.report;
    DiscIndex &index = context.index;
    const int listed = listableMovies(context.project);
    for (int n = 1; n <= listed; ++n) {
        const std::string &label = context.project.MovieCDs[std::size_t(n)];
        ++report.movies;
        if (label.empty() || context.written.misreadLabels.count(n)) {
            ++report.unlabelled;
            continue;
        }
        auto it = std::find_if(report.labels.begin(), report.labels.end(),
                               [&label](const LabelCount &count) { return count.label == label; });
        if (it == report.labels.end()) {
            report.labels.push_back({label, 0, false});
            it = report.labels.end() - 1;
        }
        ++it->movies;
    }
    std::vector<std::string> markers;
    for (LabelCount &count : report.labels) {
        const std::string marker = markerFileName(count.label);
        markers.push_back(marker);
        const int entry = index.find(index.resolve(marker));
        if (entry < 0)
            continue;
        const int file = index.followed(entry);
        if (index.at(file).kind != EntryKind::File) {
            context.add(Severity::Error,
                        fill("the marker %1 is not a file: Vidorun does not take it as the marker of %2; put an empty "
                             "file of that name here",
                             {index.at(entry).shownPath(), count.label}));
            continue;
        }
        count.here = true;
        report.labelsHere.push_back(count.label);
        context.markUsed(entry);
        context.markUsed(file);
        const std::string linked = linkOnDisc(context, entry, "the marker " + index.at(entry).shownPath());
        if (!linked.empty())
            context.add(Severity::Error, linked);
        readableByAll(context, file, "the marker ", nullptr);
        checkCodePage(context, "the label " + count.label, count.label, nullptr);
    }
    if (!report.labelsHere.empty() || report.labels.empty())
        return;

    // Files that look like markers but belong to no label, as a typing
    // mistake leaves them.
    std::vector<std::string> strays;
    for (const int child : index.at(0).children) {
        const std::string &name = index.at(child).name;
        if (endsWithAny(name, {".ini"}))
            strays.push_back(name);
    }
    // With one label and no other marker, this disc is taken for its disc.
    if (report.labels.size() == 1 && strays.empty()) {
        const std::string &label = report.labels.front().label;
        report.labelAssumed = true;
        report.labels.front().here = true;
        report.labelsHere.push_back(label);
        context.add(Severity::Error,
                    fill("no marker file on the root: every title asks for the disc labelled %1 (\"Wrong CD!\"); "
                         "put an empty %2 here",
                         {label, markers.front()}));
        return;
    }
    const std::string strayText =
        strays.empty()       ? std::string()
        : strays.size() == 1 ? fill(" (%1 is here, but no movie has its label)", {strays.front()})
                             : fill(" (%1 are here, but no movie has their labels)", {joined(strays, ", ")});
    context.add(Severity::Error,
                fill("no marker file on the root, so this disc is none of the project's: every title asks for its "
                     "disc (\"Wrong CD!\"); put the marker of this disc's label here, one of %1%2",
                     {joined(markers, ", "), strayText}));
}

}  // namespace vidorun::check

namespace vidorun {

std::vector<Finding> projectFileFindings(std::string_view bytes, Project *project)
{
    check::ReadProjectFile read = check::readProjectFileBytes(bytes);
    std::vector<Finding> findings = read.written.lineFindings;
    if (!read.written.unreadable)
        check::countFindings(read.project, read.written, findings);
    if (project)
        *project = std::move(read.project);
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding &a, const Finding &b) { return a.severity < b.severity; });
    return findings;
}

}  // namespace vidorun
