#pragma once

// What the parts of the disc check share while they go over one disc: the
// listing, the project as the program reads it, Autorun.inf as its author
// wrote it, the entries the program opens, and the report they add to. Each
// part is a function of its own file.
#include "app/project.h"
#include "disccheck/autorun_text.h"
#include "disccheck/disc_check.h"
#include "disccheck/disc_index.h"
#include "platform/publish_files.h"

#include <memory>
#include <set>
#include <string>

namespace vidorun::check {

// What the check knows of a file the program opens.
struct FileUse {
    int movie = 0;
    std::string title;
    std::string lead;     // "the cover " and so on; empty for a movie
    std::string written;  // the path as Autorun.inf spells it
    std::string read;     // the path as the program reads it
};

struct Context {
    Context(const std::string &root, const DiscCheckOptions &options);

    void add(Severity severity, const std::string &text, int movie = 0, const std::string &title = std::string())
    {
        report.findings.push_back({severity, movie, title, text});
    }
    void add(const FileUse &use, Severity severity, const std::string &text)
    {
        add(severity, use.lead + text, use.movie, use.title);
    }
    // The entry, and the folders holding it, are opened by the program.
    void markUsed(int entry)
    {
        for (int e = entry; e >= 0 && !used.count(e); e = index.at(e).parent)
            used.insert(e);
    }
    std::string absolutePath(int entry) const { return index.canonicalRoot() + '/' + index.at(entry).path; }
    // Opens an entry listed as a regular file, for reading, without ever
    // waiting: should it have become a pipe since, it is refused unopened.
    std::unique_ptr<ReadableFile> open(int entry, std::string *reason = nullptr);

    const DiscCheckOptions &options;
    std::string rootShown;
    DiscIndex index;
    DiscCheckReport report;
    Project project;
    AutorunText written;
    bool utf8 = true;
    std::set<int> used;
    std::unique_ptr<PublishFiles> files;
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
bool readableByAll(Context &context, int entry, const std::string &lead, const FileUse *use);
// A path or label with letters beyond ASCII in a file read as Windows-1252.
void checkCodePage(Context &context, const std::string &subject, const std::string &text, const FileUse *use);

// What a link that stays on the disc, in the place of a file the disc needs,
// means to Windows viewers; empty when `entry` is no such link. `shown` is
// how the finding names it.
std::string linkOnDisc(const Context &context, int entry, const std::string &shown);  // file_findings.cpp
// "a link that leads outside the disc (to ...)", "... to nothing", "... round
// in a loop".
std::string linkEnd(const DiscEntry &link);  // tree_findings.cpp

inline std::string quoted(const std::string &text)
{
    return '"' + text + '"';
}

// A movie's number as its keys carry it: "01", and "100" past them.
inline std::string numberText(int n)
{
    const std::string digits = std::to_string(n);
    return digits.size() < 2 ? "0" + digits : digits;
}

}  // namespace vidorun::check
