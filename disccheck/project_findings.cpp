// What Autorun.inf itself tells: the counters and the movies the program
// lists, the [autorun] section Windows reads, and which of the project's
// discs this folder is.
#include "disccheck/check_context.h"

#include "playback/play_logic.h"
#include "projectfile/item_reader.h"
#include "projectfile/project_reader.h"
#include "projectfile/project_writer.h"
#include "projectfile/text_codec.h"

#include <algorithm>

namespace vidorun::check {

namespace {

bool endsWithAny(const QString &name, std::initializer_list<const char *> extensions)
{
    return std::any_of(extensions.begin(), extensions.end(), [&name](const char *extension) {
        return name.endsWith(QLatin1String(extension), Qt::CaseInsensitive);
    });
}

// Why this disc is for Windows viewers: a Windows program or library on it,
// the root's first, or an installer for Windows the project names; empty
// when nothing says so.
QString windowsEvidence(const Context &context)
{
    QString found;
    for (const DiscEntry &entry : context.index.entries()) {
        if (entry.kind == EntryKind::File && endsWithAny(fromUtf8(entry.name), {".exe", ".dll"})
            && (found.isEmpty() || entry.parent == 0)) {
            found = entry.shownPath();
            if (entry.parent == 0)
                break;
        }
    }
    if (!found.isEmpty())
        return QStringLiteral("it holds %1").arg(found);
    for (const QString &installer : {context.project.PlayerPath, context.project.CodecPath}) {
        if (endsWithAny(installer, {".exe", ".msi", ".com", ".bat", ".cmd"}))
            return QStringLiteral("its project names the installer %1").arg(installer);
    }
    return {};
}

}  // namespace

namespace {

// The facts the program's start-up checks, and movies it would list empty
// or never list.
void countFindings(const Project &p, const AutorunText &written, std::vector<Finding> &findings)
{
    const auto add = [&findings](Severity severity, const QString &text, int movie = 0,
                                 const QString &title = QString()) {
        findings.push_back({severity, movie, title, text});
    };
    if (p.PathCount != p.TitleCount || p.CDCount != p.PathCount) {
        add(Severity::Error,
                    QStringLiteral("Autorun.inf counts %1 movie titles, %2 paths and %3 CD labels: Vidorun reports an "
                                   "error at every start; give each movie one movieNN, titleNN and mdiskNN line")
                        .arg(p.TitleCount, p.PathCount, p.CDCount));
    }
    const int counted = counterValue(p.TitleCount);
    if (counted > MaxWrittenMovie) {
        add(Severity::Error,
                    QStringLiteral("Autorun.inf counts %1 movies, more than the %2 its two-digit keys can number: some "
                                   "keys come twice, and Vidorun lists movies that are not there")
                        .arg(counted)
                        .arg(MaxWrittenMovie));
    }
    const int listed = listableMovies(p);
    for (int n = 1; n <= listed; ++n) {
        const auto e = std::size_t(n);
        const QString nn = numberText(n);
        if (p.MoviePaths[e].isEmpty() && p.MovieTitles[e].isEmpty() && p.MovieCDs[e].isEmpty()) {
            // Lines written for it but read as another movie's have their own finding.
            if (!written.meantMovies.count(n)) {
                add(Severity::Error,
                            QStringLiteral("is missing: Autorun.inf counts %1 movies but has no movie%2, title%2 or "
                                           "mdisk%2 line; Vidorun lists an empty line for it")
                                .arg(listed)
                                .arg(nn),
                            n);
            }
            continue;
        }
        if (p.MoviePaths[e].isEmpty())
            add(Severity::Error, QStringLiteral("has no movie file: write movie%1").arg(nn), n, p.MovieTitles[e]);
        if (p.MovieTitles[e].isEmpty())
            add(Severity::Warning, QStringLiteral("has no title: the list shows an empty line; write title%1").arg(nn), n);
        if (p.MovieCDs[e].isEmpty()) {
            add(Severity::Error,
                        QStringLiteral("has no CD label: Vidorun asks for a disc labelled '' and never plays it; "
                                       "write mdisk%1")
                            .arg(nn),
                        n, p.MovieTitles[e]);
        }
    }
    QStringList unlisted;
    for (int n = 0; n <= MaxMovieNumber; ++n) {
        const auto e = std::size_t(n);
        if ((n == 0 || n > listed)
            && !(p.MoviePaths[e].isEmpty() && p.MovieTitles[e].isEmpty() && p.MovieCDs[e].isEmpty()))
            unlisted << numberText(n);
    }
    if (!unlisted.isEmpty()) {
        add(Severity::Warning,
                    QStringLiteral("Autorun.inf has lines for movie %1, which Vidorun never lists: it lists %2; number "
                                   "the movies from 01 without gaps")
                        .arg(unlisted.join(QStringLiteral(", ")),
                             listed == 0 ? QStringLiteral("none, as it counts no movies")
                                         : QStringLiteral("movies 01 to ") + numberText(listed)));
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
    const QString evidence = windowsEvidence(context);
    const bool forWindows = !evidence.isEmpty();
    DiscIndex &index = context.index;
    auto fileHere = [&index](const QString &path) {
        const int entry = index.find(index.resolve(path));
        return entry >= 0 && index.at(index.followed(entry)).kind == EntryKind::File ? entry : -1;
    };

    if (written.byteOrderMark) {
        context.add(forWindows ? Severity::Error : Severity::Note,
                    QStringLiteral("Autorun.inf begins with a UTF-8 byte-order mark: Windows AutoRun reads the file in "
                                   "its ANSI code page, takes the mark for text and finds no [autorun] section, so "
                                   "it offers no program and no icon for this disc%1; save the file without the mark "
                                   "(Vidorun writes none)")
                        .arg(written.markHidesKey ? QStringLiteral(", and Vidorun misses the key on its first line")
                                                  : QString()));
    }
    if (!written.open || written.open->isEmpty()) {
        if (forWindows) {
            context.add(Severity::Error,
                        QStringLiteral("Autorun.inf has no open= line under [autorun]: Windows offers no program to "
                                       "start from this disc; write OPEN=Vidorun.exe"));
        } else {
            context.add(Severity::Note,
                        QStringLiteral("Autorun.inf has no open= line under [autorun]; only Windows reads it, and this "
                                       "disc holds no Windows program"));
        }
    } else {
        // The program is the first word, or the quoted part, of the command.
        QString program = *written.open;
        if (program.startsWith(QLatin1Char('"')))
            program = program.mid(1).section(QLatin1Char('"'), 0, 0);
        else
            program = program.section(QLatin1Char(' '), 0, 0).section(QLatin1Char('\t'), 0, 0);
        if (const int entry = fileHere(program); entry >= 0) {
            context.markUsed(entry);
            const QString linked = linkOnDisc(context, entry, QStringLiteral("[autorun] open=") + program);
            if (!linked.isEmpty())
                context.add(Severity::Error, linked);
        } else if (forWindows) {
            context.add(Severity::Error,
                        QStringLiteral("[autorun] open=%1: %2 is not on this disc, which is for Windows (%3): Windows "
                                       "viewers get no menu; put %2 on the root")
                            .arg(*written.open, program, evidence));
        } else {
            context.add(Severity::Note,
                        QStringLiteral("[autorun] open=%1: %2 is not on this disc, nor any other Windows program, and "
                                       "its project names no installer for Windows: a disc for Linux viewers, who "
                                       "start vidorun themselves; for Windows viewers put %2 on the root (make "
                                       "windows builds it)")
                            .arg(*written.open, program));
        }
    }

    if (!forWindows)
        return;
    if (!written.icon || written.icon->isEmpty()) {
        context.add(Severity::Warning,
                    QStringLiteral("Autorun.inf has no icon= line under [autorun]: Explorer shows this disc without "
                                   "Vidorun's icon; write ICON=Vidorun.exe,0"));
    } else {
        const QString iconFile = written.icon->section(QLatin1Char(','), 0, 0).trimmed();
        if (fileHere(iconFile) < 0) {
            context.add(Severity::Warning,
                        QStringLiteral("[autorun] icon=%1: %2 is not on this disc: Explorer shows the disc without "
                                       "its icon")
                            .arg(*written.icon, iconFile));
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
        const QString &label = context.project.MovieCDs[std::size_t(n)];
        ++report.movies;
        if (label.isEmpty() || context.written.misreadLabels.count(n)) {
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
    QStringList markers;
    for (LabelCount &count : report.labels) {
        const QString marker = markerFileName(count.label);
        markers << marker;
        const int entry = index.find(index.resolve(marker));
        if (entry < 0)
            continue;
        const int file = index.followed(entry);
        if (index.at(file).kind != EntryKind::File) {
            context.add(Severity::Error,
                        QStringLiteral("the marker %1 is not a file: Vidorun does not take it as the marker of %2; put "
                                       "an empty file of that name here")
                            .arg(index.at(entry).shownPath(), count.label));
            continue;
        }
        count.here = true;
        report.labelsHere << count.label;
        context.markUsed(entry);
        context.markUsed(file);
        const QString linked = linkOnDisc(context, entry, QStringLiteral("the marker ") + index.at(entry).shownPath());
        if (!linked.isEmpty())
            context.add(Severity::Error, linked);
        readableByAll(context, file, QStringLiteral("the marker "), nullptr);
        checkCodePage(context, QStringLiteral("the label ") + count.label, count.label, nullptr);
    }
    if (!report.labelsHere.isEmpty() || report.labels.empty())
        return;

    // Files that look like markers but belong to no label, as a typing
    // mistake leaves them.
    QStringList strays;
    for (const int child : index.at(0).children) {
        const QString name = fromUtf8(index.at(child).name);
        if (name.endsWith(QLatin1String(".ini"), Qt::CaseInsensitive))
            strays << name;
    }
    // With one label and no other marker, this disc is taken for its disc.
    if (report.labels.size() == 1 && strays.isEmpty()) {
        const QString &label = report.labels.front().label;
        report.labelAssumed = true;
        report.labels.front().here = true;
        report.labelsHere << label;
        context.add(Severity::Error,
                    QStringLiteral("no marker file on the root: every title asks for the disc labelled %1 (\"Wrong "
                                   "CD!\"); put an empty %2 here")
                        .arg(label, markers.front()));
        return;
    }
    const QString strayText =
        strays.isEmpty()     ? QString()
        : strays.size() == 1 ? QStringLiteral(" (%1 is here, but no movie has its label)").arg(strays.front())
                             : QStringLiteral(" (%1 are here, but no movie has their labels)")
                                   .arg(strays.join(QStringLiteral(", ")));
    context.add(Severity::Error,
                QStringLiteral("no marker file on the root, so this disc is none of the project's: every title asks "
                               "for its disc (\"Wrong CD!\"); put the marker of this disc's label here, one of %1%2")
                    .arg(markers.join(QStringLiteral(", ")), strayText));
}

}  // namespace vidorun::check

namespace vidorun {

std::vector<Finding> projectFileFindings(const QByteArray &bytes)
{
    Project project;
    project.TitleCount = project.PathCount = project.CDCount = QStringLiteral("0");
    MemorySource source(bytes.toStdString());
    readProjectItems(source, project);
    const bool utf8 = isValidUtf8(bytes);
    const check::AutorunText written = check::readAutorunText(bytes, utf8);
    std::vector<Finding> findings = written.lineFindings;
    if (!written.unreadable)
        check::countFindings(project, written, findings);
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding &a, const Finding &b) { return a.severity < b.severity; });
    return findings;
}

}  // namespace vidorun
