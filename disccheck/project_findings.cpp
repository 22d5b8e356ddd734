// What Autorun.inf itself tells: the counters and the movies the program
// lists, the [autorun] section Windows reads, and which of the project's
// discs this folder is.
#include "disccheck/check_context.h"

#include "playback/play_logic.h"
#include "projectfile/project_writer.h"

#include <QFileInfo>

#include <algorithm>

namespace vidorun::check {

// The facts the program's start-up checks, and movies it would list empty
// or never list.
void checkCounts(Context &context)
{
    const Project &p = context.project;
    if (p.PathCount != p.TitleCount || p.CDCount != p.PathCount) {
        context.add(Severity::Error,
                    QStringLiteral("Autorun.inf counts %1 movie titles, %2 paths and %3 CD labels: Vidorun reports an "
                                   "error at every start; give each movie one movieNN, titleNN and mdiskNN line")
                        .arg(p.TitleCount, p.PathCount, p.CDCount));
    }
    const int counted = counterValue(p.TitleCount);
    if (counted > MaxWrittenMovie) {
        context.add(Severity::Error,
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
            context.add(Severity::Error,
                        QStringLiteral("is missing: Autorun.inf counts %1 movies but has no movie%2, title%2 or mdisk%2 "
                                       "line; Vidorun lists an empty line for it")
                            .arg(listed)
                            .arg(nn),
                        n);
            continue;
        }
        if (p.MoviePaths[e].isEmpty())
            context.add(Severity::Error,
                        QStringLiteral("has no movie file: write movie%1")
                            .arg(nn), n, p.MovieTitles[e]);
        if (p.MovieTitles[e].isEmpty())
            context.add(Severity::Warning,
                        QStringLiteral("has no title: the list shows an empty line; write title%1")
                            .arg(nn), n);
        if (p.MovieCDs[e].isEmpty())
            context.add(Severity::Error,
                        QStringLiteral("has no CD label: Vidorun asks for a disc labelled '' and never plays it; write "
                                       "mdisk%1")
                            .arg(nn),
                        n, p.MovieTitles[e]);
    }
    QStringList unlisted;
    for (int n = 0; n <= MaxMovieNumber; ++n) {
        const auto e = std::size_t(n);
        if ((n == 0 || n > listed)
            && !(p.MoviePaths[e].isEmpty() && p.MovieTitles[e].isEmpty() && p.MovieCDs[e].isEmpty()))
            unlisted << numberText(n);
    }
    if (!unlisted.isEmpty()) {
        context.add(Severity::Warning,
                    QStringLiteral("Autorun.inf has lines for movie %1, which Vidorun never lists: it lists %2; number "
                                   "the movies from 01 without gaps")
                        .arg(unlisted.join(QStringLiteral(", ")),
                             listed == 0 ? QStringLiteral("none, as it counts no movies")
                                         : QStringLiteral("movies 01 to ") + numberText(listed)));
    }
}

// The [autorun] section only matters to Windows. A disc is for Windows when
// its root holds a Windows program or library; then a missing program is an
// error. A disc without any is for Linux viewers, who start vidorun
// themselves, and the section is only noted.
void checkAutorunSection(Context &context)
{
    QString windowsFile;
    for (const int child : context.index.at(0).children) {
        const DiscEntry &entry = context.index.at(child);
        const QString name = fromUtf8(entry.name);
        if (context.index.at(context.index.followed(child)).kind == EntryKind::File
            && (name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive)
                || name.endsWith(QLatin1String(".dll"), Qt::CaseInsensitive))) {
            windowsFile = name;
            break;
        }
    }
    const bool forWindows = !windowsFile.isEmpty();
    auto isFileHere = [&context](const QString &path) {
        const int entry = context.index.find(context.index.resolve(path));
        return entry >= 0 && context.index.at(context.index.followed(entry)).kind == EntryKind::File;
    };

    if (!context.written.open || context.written.open->isEmpty()) {
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
        QString program = *context.written.open;
        if (program.startsWith(QLatin1Char('"')))
            program = program.mid(1).section(QLatin1Char('"'), 0, 0);
        else
            program = program.section(QLatin1Char(' '), 0, 0).section(QLatin1Char('\t'), 0, 0);
        if (isFileHere(program)) {
            context.markUsed(context.index.find(context.index.resolve(program)));
        } else if (forWindows) {
            context.add(Severity::Error,
                        QStringLiteral("[autorun] open=%1: %2 is not on this disc, which holds Windows files (%3): "
                                       "Windows viewers get no menu; put %2 on the root")
                            .arg(*context.written.open, program, windowsFile));
        } else {
            context.add(Severity::Note,
                        QStringLiteral("[autorun] open=%1: %2 is not on this disc, nor any other Windows program (no .exe "
                                       "or .dll on the root): a disc for Linux viewers, who start vidorun themselves; for "
                                       "Windows viewers put %2 on the root (make windows builds it)")
                            .arg(*context.written.open, program));
        }
    }

    if (!forWindows)
        return;
    if (!context.written.icon || context.written.icon->isEmpty()) {
        context.add(Severity::Warning,
                    QStringLiteral("Autorun.inf has no icon= line under [autorun]: Explorer shows this disc without "
                                   "Vidorun's icon; write ICON=Vidorun.exe,0"));
    } else {
        const QString iconFile = context.written.icon->section(QLatin1Char(','), 0, 0).trimmed();
        if (!isFileHere(iconFile)) {
            context.add(Severity::Warning,
                        QStringLiteral("[autorun] icon=%1: %2 is not on this disc: Explorer shows the disc without its icon")
                            .arg(*context.written.icon, iconFile));
        }
    }
}

// Which CD this is: the labels whose marker file the program finds on the root.
void findThisDisc(Context &context)
{
    const int listed = listableMovies(context.project);
    QStringList markers;
    for (int n = 1; n <= listed; ++n) {
        const QString &label = context.project.MovieCDs[std::size_t(n)];
        auto it = std::find_if(context.report.labels.begin(), context.report.labels.end(),
                               [&label](const LabelCount &count) { return count.label == label; });
        if (it == context.report.labels.end()) {
            context.report.labels.push_back({label, 0, false});
            it = context.report.labels.end() - 1;
        }
        ++it->movies;
        ++context.report.movies;
    }
    for (LabelCount &count : context.report.labels) {
        const QString marker = markerFileName(count.label);
        markers << marker;
        const int entry = context.index.find(context.index.resolve(marker));
        if (entry < 0)
            continue;
        const int file = context.index.followed(entry);
        if (context.index.at(file).kind != EntryKind::File) {
            context.add(Severity::Error,
                        QStringLiteral("the marker %1 is not a file: Vidorun does not take it as the marker of %2; put "
                                       "an empty file of that name here")
                            .arg(context.index.at(entry).shownPath(), count.label));
            continue;
        }
        count.here = true;
        context.report.labelsHere << count.label;
        context.markUsed(entry);
        context.markUsed(file);
        readableByAll(context, file, QStringLiteral("the marker "), nullptr);
        checkCodePage(context, QStringLiteral("the label ") + count.label, count.label, nullptr);
    }
    if (!context.report.labelsHere.isEmpty() || context.report.labels.empty())
        return;

    // Files that look like markers but belong to no label, as a typing
    // mistake leaves them.
    QStringList strays;
    for (const int child : context.index.at(0).children) {
        const QString name = fromUtf8(context.index.at(child).name);
        if (name.endsWith(QLatin1String(".ini"), Qt::CaseInsensitive))
            strays << name;
    }
    const QString strayText =
        strays.isEmpty()       ? QString()
        : strays.size() == 1   ? QStringLiteral(" (%1 is here, but no movie has its label)").arg(strays.front())
                               : QStringLiteral(" (%1 are here, but no movie has their labels)")
                                   .arg(strays.join(QStringLiteral(", ")));
    if (context.report.labels.size() == 1) {
        const QString &label = context.report.labels.front().label;
        context.report.labelAssumed = true;
        context.report.labels.front().here = true;
        context.report.labelsHere << label;
        context.add(Severity::Error,
                    QStringLiteral("no marker file on the root: every title asks for the disc labelled %1 (\"Wrong "
                                   "CD!\"); put an empty %2 here%3")
                        .arg(label, markers.front(), strayText));
    } else {
        context.add(Severity::Error,
                    QStringLiteral("no marker file on the root, so this disc is none of the project's: every title "
                                   "asks for its disc (\"Wrong CD!\"); put the marker of this disc's label here, one "
                                   "of %1%2")
                        .arg(markers.join(QStringLiteral(", ")), strayText));
    }
}

}  // namespace vidorun::check
