// The checker's report as people read it: a heading, one finding a line with
// its severity in a column of its own, the totals, the count of problems.
#include "disccheck/disc_check.h"

#include "base/text.h"

namespace vidorun {

std::string severityColumn(Severity severity)
{
    switch (severity) {
    case Severity::Error:
        return "error   ";
    case Severity::Warning:
        return "warning ";
    case Severity::Note:
        break;
    }
    return "note    ";
}

namespace {

// "1 movie", "3 movies".
std::string counted(std::int64_t n, const char *one, const char *many)
{
    return std::to_string(n) + ' ' + (n == 1 ? one : many);
}

std::string listed(const std::vector<std::string> &items)
{
    if (items.size() < 2)
        return joined(items, "");
    return joined(std::vector<std::string>(items.begin(), items.end() - 1), ", ") + " and " + items.back();
}

}  // namespace

std::string findingLine(const Finding &finding)
{
    return severityColumn(finding.severity) + findingText(finding);
}

std::string findingText(const Finding &finding)
{
    std::string line;
    if (finding.movie > 0) {
        line += "movie " + std::to_string(finding.movie);
        if (!finding.title.empty())
            line += " \"" + finding.title + '"';
        line += ": ";
    }
    return line + finding.text;
}

std::vector<std::string> reportLines(const std::string &version, const std::string &shownRoot,
                                     const DiscCheckReport &report)
{
    std::vector<std::string> lines;
    std::string heading = fill("Vidorun %1 checks %2", {version, shownRoot});
    if (report.movies == 0)
        heading += ", whose Autorun.inf lists no movies";
    else if (report.labels.empty())
        heading += ", whose movies have no CD label Vidorun reads";
    else if (report.labelAssumed)
        heading += fill(" as the disc labelled %1, whose marker is missing", {report.labelsHere.front()});
    else if (report.labelsHere.empty())
        heading += " as a disc without the marker of any label";
    else
        heading += " as the disc labelled " + listed(report.labelsHere);
    lines.push_back(heading);

    for (const Finding &finding : report.findings)
        lines.push_back(findingLine(finding));

    std::string totals = "ok      ";
    if (report.movies == 0) {
        totals += "no movies";
    } else {
        std::vector<std::string> perLabel;
        for (const LabelCount &label : report.labels) {
            perLabel.push_back(fill("%1: %2 %3", {label.label, std::to_string(label.movies),
                                                  label.here ? "here" : "on another disc"}));
        }
        if (report.unlabelled > 0)
            perLabel.push_back(fill("%1 without a CD label", {std::to_string(report.unlabelled)}));
        totals += fill("%1 on %2 (%3)", {counted(report.movies, "movie", "movies"),
                                         counted(std::int64_t(report.labels.size()), "disc", "discs"),
                                         joined(perLabel, ", ")});
    }
    if (!report.noImage.empty()) {
        totals += fill(", no disc image: genisoimage -R -J can't make one (%1)", {report.noImage});
    } else {
        totals += fill(", %1 bytes", {groupedNumber(report.imageBytes)});
        if (const std::optional<Medium> medium = smallestMedium(report.imageBytes)) {
            const std::int64_t spare = (medium->bytes - report.imageBytes) / 1000000;
            totals += fill(": fits %1 with %2 to spare",
                           {medium->name, spare > 0 ? groupedNumber(spare) + " MB" : "less than 1 MB"});
        }
    }
    lines.push_back(totals);

    std::int64_t errors = 0, warnings = 0;
    for (const Finding &finding : report.findings) {
        errors += finding.severity == Severity::Error;
        warnings += finding.severity == Severity::Warning;
    }
    if (errors + warnings == 0) {
        lines.push_back("no problems");
    } else {
        std::vector<std::string> kinds;
        if (errors)
            kinds.push_back(counted(errors, "error", "errors"));
        if (warnings)
            kinds.push_back(counted(warnings, "warning", "warnings"));
        lines.push_back(fill("%1 (%2)", {counted(errors + warnings, "problem", "problems"), joined(kinds, ", ")}));
    }
    return lines;
}

}  // namespace vidorun
