// The files the program opens on this disc (the movies of this disc, the
// cover, the installers), looked up as the viewer's copy of the program
// looks them up, and what a viewer elsewhere would meet instead.
#include "disccheck/check_context.h"

#include "base/paths.h"
#include "base/text.h"
#include "base/utf8.h"
#include "projectfile/letter_case.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vidorun::check {

namespace {

// Where a path written in the project leads.
struct Place {
    enum Kind { Disc, Drive, ThisComputer, Outside, Network } kind = Disc;
    std::string fromRoot;  // the part to look up on the disc
};

// "rw-r--r--".
std::string permissionText(unsigned permissions)
{
    std::string text;
    for (int bit = 8; bit >= 0; --bit)
        text += (permissions >> bit) & 1 ? "rwx"[(8 - bit) % 3] : '-';
    return text;
}

bool isSeparator(char c)
{
    return c == '/' || c == '\\';
}

// The path's components as Windows takes them: either separator, "." gone,
// ".." taking back the one before.
std::vector<std::string> components(std::string_view path)
{
    std::vector<std::string> parts;
    for (const std::string &part : split(withSlashes(path), '/')) {
        if (part.empty())
            continue;
        if (part == ".." && !parts.empty() && parts.back() != part)
            parts.pop_back();
        else if (part != ".")
            parts.push_back(part);
    }
    return parts;
}

// How many bytes of `text` begin with `prefix`, letter case aside; nothing
// when it does not begin so.
std::optional<std::size_t> prefixIgnoringCase(std::string_view text, std::string_view prefix)
{
    std::size_t t = 0, p = 0;
    while (p < prefix.size()) {
        if (t >= text.size() || fileNameFold(nextCodePoint(text, t)) != fileNameFold(nextCodePoint(prefix, p)))
            return std::nullopt;
    }
    return t;
}

Place placeOf(Context &context, const std::string &written)
{
    if (written.size() >= 2 && isSeparator(written[0]) && isSeparator(written[1]))
        return {Place::Network, std::string()};
    if (startsWith(written, "/")) {
        // A path of the author's computer, as its file dialog gives it. The
        // reader upper-cases it, and the program finds it in any case.
        for (const std::string *root : {&std::as_const(context.rootShown), &context.index.canonicalRoot()}) {
            const std::string prefix = endsWith(*root, "/") ? *root : *root + '/';
            if (const std::optional<std::size_t> length = prefixIgnoringCase(written, prefix))
                return {Place::ThisComputer, written.substr(*length)};
        }
        return {Place::Outside, std::string()};
    }
    const auto isAsciiLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (written.size() >= 2 && written[1] == ':' && isAsciiLetter(written[0])) {
        std::size_t rest = 2;
        while (rest < written.size() && isSeparator(written[rest]))
            ++rest;
        return {Place::Drive, written.substr(rest)};
    }
    return {Place::Disc, written};
}

// Why a path the lookup kept (in part) as written names nothing on the disc.
std::string missingReason(Context &context, const std::string &resolved)
{
    const std::vector<std::string> parts = split(resolved, '/');
    std::string path;
    std::string where = "on the root";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string next = path.empty() ? parts[i] : path + '/' + parts[i];
        const int entry = context.index.find(next);
        if (entry < 0)
            return fill("no %1 %2", {asValidUtf8(parts[i]), where});
        const DiscEntry &found = context.index.at(entry);
        if (i + 1 < parts.size()) {
            if (found.kind == EntryKind::Link)
                return found.shownPath() + " is a link, which a disc's Joliet names (what Windows reads) do not keep; put the "
                                    "folder itself there";
            if (found.kind != EntryKind::Folder)
                return found.shownPath() + " is no folder";
            if (!found.listed)
                return found.shownPath() + " can't be read";
        }
        path = next;
        where = "in " + asValidUtf8(path);
    }
    return "no such file";
}

}  // namespace

// A file the program opens must be readable by whoever views the disc: a
// disc burned with Rock Ridge names keeps the owner's permissions, and so
// does a copy on a stick formatted for Linux.
bool readableByAll(Context &context, int entry, const std::string &lead, const FileUse *use)
{
    const DiscEntry &file = context.index.at(entry);
    std::string text;
    if (!(file.permissions & 04)) {
        text = fill("%1 can't be read by every user (%2): a disc burned with Rock Ridge names keeps that, and viewers "
                    "on Linux can't open it; chmod a+r it, or burn with genisoimage -r",
                    {file.shownPath(), permissionText(file.permissions)});
    }
    for (int folder = file.parent; text.empty() && folder > 0; folder = context.index.at(folder).parent) {
        const DiscEntry &on = context.index.at(folder);
        if (!(on.permissions & 01)) {
            text = fill("%1 lies in %2, which not every user may enter (%3): viewers on Linux can't open it; chmod "
                        "a+rx %2, or burn with genisoimage -r",
                        {file.shownPath(), on.shownPath(), permissionText(on.permissions)});
        }
    }
    if (text.empty())
        return true;
    if (use)
        context.add(*use, Severity::Error, text);
    else
        context.add(Severity::Error, lead + text);
    return false;
}

std::string linkOnDisc(const Context &context, int entry, const std::string &shown)
{
    const DiscEntry &link = context.index.at(entry);
    if (link.kind != EntryKind::Link || !link.linkInside)
        return {};
    return fill("%1 is a link to %2: genisoimage writes it as an empty file among the Joliet names Windows reads and "
                "xorriso leaves it out, so Windows viewers don't get it; put the file itself there",
                {shown, context.index.at(context.index.followed(entry)).shownPath()});
}

// A project path with letters beyond ASCII, in a file the reader takes as
// Windows-1252: Windows reads such a file in its own code page, and so does
// the program on a Windows system whose code page is another.
void checkCodePage(Context &context, const std::string &subject, const std::string &text, const FileUse *use)
{
    if (context.utf8)
        return;
    std::string beyond;
    for (std::size_t i = 0; i < text.size() && beyond.empty();) {
        const char32_t c = nextCodePoint(text, i);
        if (c >= 0x80)
            appendUtf8(beyond, c);
    }
    if (beyond.empty())
        return;
    const std::string message =
        fill("%1 has \"%2\", which Autorun.inf holds as a Windows-1252 byte: on a Windows system with another code "
             "page (Central European, Cyrillic, Greek, Asian) Vidorun reads another letter and finds no such file; "
             "name it in ASCII letters",
             {subject, beyond});
    if (use)
        context.add(*use, Severity::Warning, message);
    else
        context.add(Severity::Warning, message);
}

namespace {

// Checks one file the program opens, as the viewer's copy of the program
// would find it; answers the entry of the file found, -1 when there is none.
int checkFile(Context &context, const FileUse &given)
{
    FileUse use = given;
    // What the author wrote, as long as it is what the reader made of it.
    const std::string written = projectUpper(use.written, context.utf8) == use.read ? use.written : use.read;
    use.written = written;

    const Place place = placeOf(context, written);
    switch (place.kind) {
    case Place::Network:
        context.add(use, Severity::Error,
                    written + " is a network path, not a file on this disc: the viewer can't reach it; put the file "
                              "on the disc and write its path from the disc's root");
        return -1;
    case Place::Outside:
        context.add(use, Severity::Error,
                    written + " is a file of this computer, outside the disc: the viewer doesn't have it; put the file "
                              "on the disc and write its path from the disc's root");
        return -1;
    default:
        break;
    }

    const std::string resolved =
        context.index.resolve(place.kind == Place::ThisComputer ? projectUpper(place.fromRoot, context.utf8) : use.read);
    if (resolved == ".." || resolved.compare(0, 3, "../") == 0) {
        context.add(use, Severity::Error,
                    written + " leads out of the disc (through ..): the viewer doesn't have it; write the file's path "
                              "from the disc's root");
        return -1;
    }
    const int entry = resolved == "." ? 0 : context.index.find(resolved);
    if (entry < 0) {
        context.add(use, Severity::Error,
                    fill("%1 is not on this disc (%2)", {written, missingReason(context, resolved)}));
        return -1;
    }

    const DiscEntry &found = context.index.at(entry);
    context.markUsed(entry);
    if (place.kind == Place::Drive) {
        context.add(use, Severity::Warning,
                    fill("%1 names drive %2, which the viewer's drive may not get; write %3",
                         {written, written.substr(0, 2), withBackslashes(place.fromRoot)}));
    } else if (place.kind == Place::ThisComputer) {
        context.add(use, Severity::Warning,
                    fill("%1 is a path of this computer, and the viewer's system mounts the disc elsewhere; write %2",
                         {written, withBackslashes(place.fromRoot)}));
    }

    int file = entry;
    if (found.kind == EntryKind::Link) {
        if (!found.linkInside) {
            context.add(use, Severity::Error,
                        fill("%1 is %2: the viewer doesn't have it; put the file itself there", {written, linkEnd(found)}));
            return -1;
        }
        file = context.index.followed(entry);
        context.markUsed(file);
        if (context.index.at(file).kind != EntryKind::File) {
            const std::string &root = context.index.canonicalRoot();
            const std::string target =
                found.linkTarget == root ? "the disc's root" : asValidUtf8(found.linkTarget.substr(root.size() + 1));
            context.add(use, Severity::Error, fill("%1 is a link to %2, which is no file", {written, target}));
            return -1;
        }
        context.add(use, Severity::Error, linkOnDisc(context, entry, written));
    } else if (found.kind == EntryKind::Folder) {
        context.add(use, Severity::Error, written + " is a folder, not a file");
        return -1;
    } else if (found.kind != EntryKind::File) {
        context.add(use, Severity::Error,
                    written + " is a special file (a pipe, socket or device), not a file: Vidorun does not open it");
        return -1;
    }
    if (!readableByAll(context, file, std::string(), &use))
        return -1;

    // The lookup found the file by letter case where the written path
    // differs: Windows ignores case, and so does the program's own lookup on
    // Linux, which looks for the path the reader upper-cased anyway.
    const std::string asWritten = joined(components(place.kind == Place::Disc ? written : place.fromRoot), "/");
    if (asWritten != resolved && fileNameFoldUtf8(asWritten) == fileNameFoldUtf8(resolved)) {
        context.add(use, Severity::Note,
                    fill("%1 is %2 on this disc, in another letter case: Windows and Vidorun find it all the same",
                         {written, asValidUtf8(resolved)}));
    }
    checkCodePage(context, written, written, &use);
    return file;
}

void checkCover(Context &context, const FileUse &use, int entry)
{
    if (!context.options.probePicture)
        return;
    const std::unique_ptr<ReadableFile> file = context.open(entry);
    if (!file)
        return;
    const std::optional<PictureHeader> header = context.options.probePicture(*file);
    if (!header) {
        context.add(use, Severity::Error,
                    use.written + " is no picture Vidorun can show: the window shows \"There is no picture loaded!\" "
                                  "instead; use a JPEG");
        return;
    }
    if (context.options.maxPicturePixels > 0
        && std::int64_t(header->width) * header->height > context.options.maxPicturePixels) {
        context.add(use, Severity::Error,
                    fill("%1 is %2 x %3 pixels, more than the %4 pixels Vidorun decodes: the window shows \"There is "
                         "no picture loaded!\" instead; make it smaller",
                         {use.written, std::to_string(header->width), std::to_string(header->height),
                          groupedNumber(context.options.maxPicturePixels)}));
    }
}

}  // namespace

// The movies of this disc; a movie whose lines the reader misreads has its
// finding already.
void checkMovies(Context &context)
{
    const std::vector<std::string> &here = context.report.labelsHere;
    const int listed = listableMovies(context.project);
    for (int n = 1; n <= listed; ++n) {
        const auto e = std::size_t(n);
        if (context.project.MoviePaths[e].empty()
            || std::find(here.begin(), here.end(), context.project.MovieCDs[e]) == here.end()
            || context.written.misreadMovies.count(n))
            continue;
        FileUse use;
        use.movie = n;
        use.title = context.project.MovieTitles[e];
        use.read = context.project.MoviePaths[e];
        use.written = context.written.moviePaths[e];
        checkFile(context, use);
    }
}

void checkSettings(Context &context)
{
    struct Setting {
        const char *key;
        const char *lead;
        const std::string &read;
        const std::string &written;
    };
    const std::array<Setting, 3> settings = {{
        {"COVER", "the cover ", context.project.CoverPicturePath, context.written.cover},
        {"PLAYE", "the player installer ", context.project.PlayerPath, context.written.player},
        {"CODEC", "the codec installer ", context.project.CodecPath, context.written.codec},
    }};
    for (const Setting &setting : settings) {
        if (setting.read.empty() || context.written.misreadSettings.count(setting.key))
            continue;
        FileUse use;
        use.lead = setting.lead;
        use.read = setting.read;
        use.written = setting.written;
        const int entry = checkFile(context, use);
        if (entry >= 0 && &setting == &settings.front())
            checkCover(context, use, entry);
    }
}

}  // namespace vidorun::check
