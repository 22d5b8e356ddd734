// Every name and entry of the disc, against what a disc burned with Rock
// Ridge and Joliet names and a FAT32 stick can hold, and the autostart file
// of Linux desktops.
#include "disccheck/check_context.h"

#include "base/text.h"
#include "base/utf8.h"
#include "disccheck/disc_names.h"

#include <algorithm>
#include <array>
#include <map>
#include <numeric>

namespace vidorun::check {

namespace {

// Findings of one kind and severity beyond this many are counted, not
// listed; those about what the program opens are always listed.
constexpr int ListedPerKind = 5;

enum Kind {
    JolietClash, SameName, NotUtf8, LongName, BadCharacter, WindowsName, Moved, LongPath, Big, Special,
    LinkAway, Unreadable, Kinds
};
const std::array<const char *, Kinds> moreText = {
    "names that share their first 64 characters", "names that differ only in letter case",
    "names that are not UTF-8", "names longer than 64 characters", "names with characters Windows can't hold",
    "names Windows can't open", "folders genisoimage moves into RR_MOVED", "paths longer than 120 characters",
    "files over 4 GiB - 1", "special files", "links that lead nowhere on the disc", "folders that can't be read",
};

class TreeReport {
public:
    explicit TreeReport(Context &context) : m_context(context) {}
    // The findings counted but not listed, one line a kind and severity.
    void addCounted()
    {
        for (int kind = 0; kind < Kinds; ++kind) {
            for (const Severity severity : {Severity::Error, Severity::Warning}) {
                const int more = m_counted[std::size_t(kind)][std::size_t(severity)] - ListedPerKind;
                if (more > 0) {
                    m_context.add(severity, fill("and %1 more %2", {std::to_string(more), moreText[std::size_t(kind)]}));
                }
            }
        }
    }
    // Reports a finding about `entry`: when the program opens it or something
    // in it, always, and as an error unless the disc keeps it in its place.
    void add(Kind kind, int entry, Severity otherwise, const std::string &text)
    {
        if (m_context.used.count(entry)) {
            m_context.add(kind == Moved ? otherwise : Severity::Error, text);
            return;
        }
        if (++m_counted[std::size_t(kind)][std::size_t(otherwise)] <= ListedPerKind)
            m_context.add(otherwise, text);
    }
    // The disc image can't be made, and why.
    void noImage(const std::string &why)
    {
        if (m_context.report.noImage.empty())
            m_context.report.noImage = why;
    }

private:
    Context &m_context;
    std::array<std::array<int, 3>, Kinds> m_counted{};
};

// Two names of one folder that are one name on the disc.
void checkSameNames(Context &context, TreeReport &report)
{
    const DiscIndex &index = context.index;
    for (const DiscEntry &folder : index.entries()) {
        std::map<std::string, int> seen;
        for (const int child : folder.children) {
            const std::string &name = index.at(child).name;
            const auto [it, fresh] = seen.emplace(jolietKey(name), child);
            if (fresh)
                continue;
            const DiscEntry &first = index.at(it->second);
            const int either = context.used.count(child) ? child : it->second;
            if (jolietName(first.name) == jolietName(name)) {
                report.add(JolietClash, either, Severity::Error,
                           fill("%1 and %2 share their first %3 characters, all of a name a disc's Joliet names keep: "
                                "genisoimage stops (\"Joliet tree sort failed\") and xorriso renames them; shorten one",
                                {first.shownPath(), index.at(child).shownPath(), std::to_string(JolietMaxNameLength)}));
                report.noImage(fill("two names share their first %1 characters", {std::to_string(JolietMaxNameLength)}));
            } else {
                report.add(SameName, either, Severity::Error,
                           fill("%1 and %2 differ only in letter case: the disc keeps both, but Windows opens one of "
                                "them by either name; rename or remove one",
                                {first.shownPath(), index.at(child).shownPath()}));
            }
        }
    }
}

// A name's own faults, as genisoimage and xorriso write it among the Joliet
// names Windows reads.
void checkName(Context &context, TreeReport &report, int e)
{
    const DiscEntry &entry = context.index.at(e);
    const std::string path = entry.shownPath();
    const std::string &name = entry.name;
    if (!isValidUtf8(name)) {
        report.add(NotUtf8, e, Severity::Error,
                   path + " has a name that is not UTF-8, the file names' encoding here (shown with "
                                     "\uFFFD): genisoimage stops (\"Incorrectly encoded string\") and xorriso writes "
                                     "'_' for what it can't read; rename it");
        report.noImage("a name is not UTF-8");
        return;
    }
    const NameFault fault = nameFault(name);
    if (fault == NameFault::TooLong) {
        report.add(LongName, e, Severity::Warning,
                   fill("%1 has a name of %2 characters: a disc's Joliet names (what Windows reads) keep %3, so "
                        "Windows sees it cut short; shorten it",
                        {path, std::to_string(utf16Length(name)), std::to_string(JolietMaxNameLength)}));
    }
    if (fault == NameFault::BeyondBmp) {
        report.add(BadCharacter, e, Severity::Warning,
                   path + " has a character beyond U+FFFF in its name (an emoji, say), which a disc's Joliet names "
                          "can't hold: genisoimage leaves it out of the names Windows reads, xorriso writes '_' for "
                          "it; rename it");
    } else if (!faultyCharacterText(name).empty()) {
        report.add(BadCharacter, e, Severity::Warning,
                   fill("%1 has %2 in its name, which Windows file names can't hold: a disc's Joliet names (what "
                        "Windows reads) carry '_' instead; rename it",
                        {path, faultyCharacterText(name)}));
    } else if (fault == NameFault::DeviceName) {
        report.add(WindowsName, e, Severity::Warning,
                   path + " is named as a Windows device (CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, with any "
                          "extension): Windows can't open it; rename it");
    } else if (fault == NameFault::TrailingDotOrBlank) {
        report.add(WindowsName, e, Severity::Warning,
                   path + " ends in a dot or a blank, which Windows drops from a name it opens, so it can't open this "
                          "one; rename it");
    }
}

// What the entry is and where it lies, against ISO 9660, Joliet and FAT32.
void checkPlace(Context &context, TreeReport &report, int e)
{
    const DiscEntry &entry = context.index.at(e);
    const std::string path = entry.shownPath();
    if (entry.kind == EntryKind::Folder && entry.depth + 1 == IsoMaxFolderLevels) {
        report.add(Moved, e, Severity::Warning,
                   fill("%1 is folder level %2 below the root, ISO 9660's ninth counting the root: genisoimage moves "
                        "it into RR_MOVED for readers of plain ISO 9660 names, and Linux shows an empty rr_moved folder "
                        "on the root; keep within %3 levels below the root",
                        {path, std::to_string(entry.depth + 1), std::to_string(IsoMaxFolderLevels - 1)}));
    }
    const std::size_t length = utf16Length(path);
    const std::size_t parentLength = entry.parent > 0 ? utf16Length(context.index.at(entry.parent).shownPath()) : 0;
    if (length > std::size_t(JolietMaxPathLength) && parentLength <= std::size_t(JolietMaxPathLength)) {
        report.add(LongPath, e, Severity::Warning,
                   fill("%1 is a path of %2 characters, more than the %3 of a disc's Joliet names: xorriso leaves it "
                        "out of the names Windows reads (genisoimage writes it anyway); shorten the names on its way",
                        {path, std::to_string(length), std::to_string(JolietMaxPathLength)}));
    }
    if (entry.kind == EntryKind::File && entry.size > Fat32MaxFileBytes) {
        report.add(Big, e, Severity::Error,
                   fill("%1 is %2 bytes, more than 4 GiB - 1: genisoimage can't put it on a disc, not even with "
                        "-iso-level 3, and a FAT32 stick can't hold it; xorriso -as mkisofs -iso-level 3 -R -J makes "
                        "the disc",
                        {path, groupedNumber(entry.size)}));
        report.noImage("a file is over 4 GiB - 1");
    }
    if (entry.kind == EntryKind::Special && !context.used.count(e)) {
        report.add(Special, e, Severity::Warning,
                   path + " is a special file (a pipe, socket or device): Rock Ridge names keep it as one, while "
                          "Windows gets an empty file (genisoimage) or nothing (xorriso); remove it");
    }
    if (entry.kind == EntryKind::Link && !entry.linkInside && !context.used.count(e)) {
        report.add(LinkAway, e, Severity::Warning,
                   fill("%1 is %2: on the disc it leads nowhere, and Windows gets an empty file (genisoimage) or "
                        "nothing (xorriso); remove it, or put the file itself there",
                        {path, linkEnd(entry)}));
    }
    if (entry.kind == EntryKind::Folder && !entry.listed) {
        report.add(Unreadable, e, Severity::Error,
                   path + " can't be read: not checked; genisoimage writes it empty and xorriso stops");
    }
}

}  // namespace

std::string linkEnd(const DiscEntry &link)
{
    if (link.linkLoops)
        return "a link that leads round in a loop";
    if (link.linkTarget.empty())
        return "a link that leads to nothing";
    return fill("a link that leads outside the disc (to %1)", {asValidUtf8(link.linkTarget)});
}

// What a disc burned with Rock Ridge and Joliet names (the README's
// genisoimage -R -J, or xorriso's) and a FAT32 stick hold, for every entry
// of the disc. A limit that changes or hides what the program opens is an
// error; elsewhere most are warnings.
void checkTree(Context &context)
{
    const DiscIndex &index = context.index;
    TreeReport report(context);
    if (index.stoppedAt() >= 0) {
        const std::string where = index.at(index.stoppedAt()).shownPath();
        if (index.tooManyEntries()) {
            context.add(Severity::Error,
                        fill("the folder holds more than %1 files and folders, far more than a disc of movies: the "
                             "check stopped listing at %2, so it checks neither the rest nor the image size; is this "
                             "the disc's root?",
                             {groupedNumber((long long)MaxListedEntries), where.empty() ? "the root" : where}));
        } else {
            context.add(Severity::Error,
                        fill("%1 is more than %2 folder levels below the root: not listed, nor checked, with whatever "
                             "else lies that deep; a disc of movies needs no such depth",
                             {where, std::to_string(MaxListedLevels)}));
        }
        report.noImage("not all of the folder was listed");
    }

    checkSameNames(context, report);
    std::vector<int> order(index.entries().size() - 1);
    std::iota(order.begin(), order.end(), 1);
    std::sort(order.begin(), order.end(), [&index](int a, int b) { return index.at(a).path < index.at(b).path; });
    for (const int e : order) {
        checkName(context, report, e);
        checkPlace(context, report, e);
    }
    report.addCounted();
}

// Desktops that follow freedesktop.org's autostart convention offer to run
// the first of these they find on a disc's root.
void noteLinuxAutorun(Context &context)
{
    for (const char *name : {".autorun", "autorun", "autorun.sh"}) {
        const int entry = context.index.find(name);
        if (entry < 0 || context.index.at(context.index.followed(entry)).kind != EntryKind::File)
            continue;
        const DiscEntry &file = context.index.at(context.index.followed(entry));
        if (file.permissions & 01) {
            context.add(Severity::Note, fill("%1 is on the root: desktops that support it offer to run it when the "
                                             "disc is mounted (GNOME asks, or shows a Run Software button)",
                                             {name}));
        } else {
            context.add(Severity::Note, fill("%1 is on the root but not executable for everyone: GNOME runs it all "
                                             "the same, Xfce and Dolphin do not; chmod a+x %1 (Rock Ridge names keep "
                                             "that)",
                                             {name}));
        }
        return;
    }
    context.add(Severity::Note, "no autorun.sh on the root: on Linux the viewer starts Vidorun on the disc (vidorun "
                                "/media/$USER/<disc>); the README shows a two-line autorun.sh that some desktops "
                                "offer to run");
}

}  // namespace vidorun::check
