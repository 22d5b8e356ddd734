// The checker's report as people read it: a heading, one finding a line with
// its severity in a column of its own, the totals, the count of problems.
#include "disccheck/disc_check.h"

#include <QLocale>

namespace vidorun {

namespace {

QString severityColumn(Severity severity)
{
    switch (severity) {
    case Severity::Error:
        return QStringLiteral("error   ");
    case Severity::Warning:
        return QStringLiteral("warning ");
    case Severity::Note:
        break;
    }
    return QStringLiteral("note    ");
}

// "1 movie", "3 movies".
QString counted(qint64 n, const char *one, const char *many)
{
    return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
}

QString listed(const QStringList &items)
{
    if (items.size() < 2)
        return items.join(QString());
    return QStringList(items.mid(0, items.size() - 1)).join(QStringLiteral(", ")) + QStringLiteral(" and ")
           + items.last();
}

}  // namespace

QString findingLine(const Finding &finding)
{
    QString line = severityColumn(finding.severity);
    if (finding.movie > 0) {
        line += QStringLiteral("movie %1").arg(finding.movie);
        if (!finding.title.isEmpty())
            line += QStringLiteral(" \"%1\"").arg(finding.title);
        line += QStringLiteral(": ");
    }
    return line + finding.text;
}

QStringList reportLines(const QString &version, const QString &shownRoot, const DiscCheckReport &report)
{
    const QLocale numbers(QLocale::English);
    QStringList lines;
    QString heading = QStringLiteral("Vidorun %1 checks %2").arg(version, shownRoot);
    if (report.movies == 0)
        heading += QStringLiteral(", whose Autorun.inf lists no movies");
    else if (report.labels.empty())
        heading += QStringLiteral(", whose movies have no CD label Vidorun reads");
    else if (report.labelAssumed)
        heading += QStringLiteral(" as the disc labelled %1, whose marker is missing").arg(report.labelsHere.front());
    else if (report.labelsHere.isEmpty())
        heading += QStringLiteral(" as a disc without the marker of any label");
    else
        heading += QStringLiteral(" as the disc labelled ") + listed(report.labelsHere);
    lines << heading;

    for (const Finding &finding : report.findings)
        lines << findingLine(finding);

    QString totals = QStringLiteral("ok      ");
    if (report.movies == 0) {
        totals += QStringLiteral("no movies");
    } else {
        QStringList perLabel;
        for (const LabelCount &label : report.labels) {
            perLabel << QStringLiteral("%1: %2 %3")
                            .arg(label.label)
                            .arg(label.movies)
                            .arg(label.here ? QStringLiteral("here") : QStringLiteral("on another disc"));
        }
        if (report.unlabelled > 0)
            perLabel << QStringLiteral("%1 without a CD label").arg(report.unlabelled);
        totals += QStringLiteral("%1 on %2 (%3)")
                      .arg(counted(report.movies, "movie", "movies"),
                           counted(qint64(report.labels.size()), "disc", "discs"),
                           perLabel.join(QStringLiteral(", ")));
    }
    if (!report.noImage.isEmpty()) {
        totals += QStringLiteral(", no disc image: genisoimage -R -J can't make one (%1)").arg(report.noImage);
    } else {
        totals += QStringLiteral(", %1 bytes").arg(numbers.toString(report.imageBytes));
        if (const std::optional<Medium> medium = smallestMedium(report.imageBytes)) {
            const qint64 spare = (medium->bytes - report.imageBytes) / 1000000;
            totals += QStringLiteral(": fits %1 with %2 to spare")
                          .arg(QLatin1String(medium->name), spare > 0 ? numbers.toString(spare) + QStringLiteral(" MB")
                                                                       : QStringLiteral("less than 1 MB"));
        }
    }
    lines << totals;

    qint64 errors = 0, warnings = 0;
    for (const Finding &finding : report.findings) {
        errors += finding.severity == Severity::Error;
        warnings += finding.severity == Severity::Warning;
    }
    if (errors + warnings == 0) {
        lines << QStringLiteral("no problems");
    } else {
        QStringList kinds;
        if (errors)
            kinds << counted(errors, "error", "errors");
        if (warnings)
            kinds << counted(warnings, "warning", "warnings");
        lines << QStringLiteral("%1 (%2)").arg(counted(errors + warnings, "problem", "problems"),
                                               kinds.join(QStringLiteral(", ")));
    }
    return lines;
}

}  // namespace vidorun
