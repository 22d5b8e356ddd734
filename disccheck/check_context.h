#pragma once

// What the parts of the disc check share while they go over one disc: the
// listing, the project as the program reads it, Autorun.inf as its author
// wrote it, the entries the program opens, and the report they add to. Each
// part is a function of its own file.
#include "app/project.h"
#include "disccheck/autorun_text.h"
#include "disccheck/disc_check.h"
#include "disccheck/disc_index.h"

#include <QFile>

#include <memory>
#include <set>
#include <string>

namespace vidorun::check {

// What the check knows of a file the program opens.
struct FileUse {
    int movie = 0;
    QString title;
    QString lead;       // "the cover " and so on; empty for a movie
    QString written;    // the path as Autorun.inf spells it
    QString read;       // the path as the program reads it
};

struct Context {
    Context(const QString &root, const DiscCheckOptions &options);

    void add(Severity severity, const QString &text, int movie = 0, const QString &title = QString())
    {
        report.findings.push_back({severity, movie, title, text});
    }
    void add(const FileUse &use, Severity severity, const QString &text)
    {
        add(severity, use.lead + text, use.movie, use.title);
    }
    // The entry, and the folders holding it, are opened by the program.
    void markUsed(int entry)
    {
        for (int e = entry; e >= 0 && !used.count(e); e = index.at(e).parent)
            used.insert(e);
    }
    QString absolutePath(int entry) const
    {
        return index.canonicalRoot() + QLatin1Char('/') + index.at(entry).shownPath();
    }

    const DiscCheckOptions &options;
    QString rootShown;
    DiscIndex index;
    DiscCheckReport report;
    Project project;
    AutorunText written;
    bool utf8 = true;
    std::set<int> used;
};

// The parts, in the order the report gives their findings.
void checkCounts(Context &context);          // project_findings.cpp
void checkAutorunSection(Context &context);  // project_findings.cpp
void findThisDisc(Context &context);         // project_findings.cpp
void checkMovies(Context &context);          // file_findings.cpp
void checkSettings(Context &context);        // file_findings.cpp
void checkTree(Context &context);            // tree_findings.cpp
void noteLinuxAutorun(Context &context);     // tree_findings.cpp
void countImage(Context &context);           // image_size.cpp

// A file the program opens must be readable by whoever views the disc;
// answers whether it is, and adds the finding when not.
bool readableByAll(Context &context, int entry, const QString &lead, const FileUse *use);
// A path or label with letters beyond ASCII in a file read as Windows-1252.
void checkCodePage(Context &context, const QString &subject, const QString &text, const FileUse *use);

// What a link that stays on the disc, in the place of a file the disc needs,
// means to Windows viewers; empty when `entry` is no such link. `shown` is
// how the finding names it.
QString linkOnDisc(const Context &context, int entry, const QString &shown);  // file_findings.cpp
// "a link that leads outside the disc (to ...)", "... to nothing", "... round
// in a loop".
QString linkEnd(const DiscEntry &link);  // tree_findings.cpp

// Opens a file listed as a regular file, for reading, without ever waiting:
// should it have become a pipe since, the open does not block and the check
// of what was opened refuses it.
std::unique_ptr<QFile> openRegularFile(const QString &path, QString *reason = nullptr);

inline QString fromUtf8(const std::string &text)
{
    return QString::fromUtf8(text.c_str(), qsizetype(text.size()));
}

inline QString windowsPath(QString path)
{
    return path.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

inline QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// A movie's number as its keys carry it: "01", and "100" past them.
inline QString numberText(int n)
{
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}

}  // namespace vidorun::check
