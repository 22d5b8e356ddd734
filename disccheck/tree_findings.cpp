// Every name and entry of the disc, against what a disc burned with Rock
// Ridge and Joliet names and a FAT32 stick can hold, and the autostart file
// of Linux desktops.
#include "disccheck/check_context.h"

#include "projectfile/letter_case.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <map>
#include <numeric>

namespace vidorun::check {

namespace {

// What a disc burned with Rock Ridge and Joliet names (genisoimage -R -J) or
// a FAT32 stick holds.
constexpr int JolietMaxName = 64;
constexpr int JolietMaxPathBytes = 240;
constexpr int IsoMaxFolderLevels = 8;
constexpr qint64 Fat32MaxFileBytes = 4294967295LL;
// File-system findings of one kind beyond this many are counted, not listed.
constexpr int ListedPerKind = 5;

}  // namespace

// What a disc burned with Rock Ridge and Joliet names (the README's
// genisoimage -R -J) and a FAT32 stick can hold, for every entry of the
// disc. A limit that changes or hides a file the program opens is an error;
// elsewhere it is a warning.
void checkTree(Context &context)
{
    enum Kind { SameName, LongName, BadCharacter, Deep, LongPath, Big, Special, LinkOut, Unreadable, Kinds };
    static const std::array<const char *, Kinds> moreText = {
        "names that differ only in letter case", "names longer than 64 characters",
        "names with characters Windows or Joliet can't hold", "folders deeper than 8 levels",
        "paths longer than 240 bytes", "files over 4 GiB - 1", "special files", "links leading out of the disc",
        "folders that can't be read"};
    std::array<int, Kinds> counted{};
    std::array<bool, Kinds> moreErrors{};
    auto report = [&](Kind kind, Severity severity, const QString &text) {
        if (++counted[kind] <= ListedPerKind)
            context.add(severity, text);
        else
            moreErrors[kind] = moreErrors[kind] || severity == Severity::Error;
    };
    auto serious = [&context](int entry) { return context.used.count(entry) ? Severity::Error : Severity::Warning; };

    // Windows and Joliet names keep one of two names that differ only in case.
    for (std::size_t folder = 0; folder < context.index.entries().size(); ++folder) {
        std::map<std::string, int> seen;
        for (const int child : context.index.entries()[folder].children) {
            const auto [it, fresh] = seen.emplace(fileNameFoldUtf8(context.index.at(child).name), child);
            if (!fresh) {
                report(SameName, Severity::Error,
                       QStringLiteral("%1 and %2 differ only in letter case: Windows and a disc's Joliet names keep "
                                      "only one of them; rename or remove one")
                           .arg(context.index.at(it->second).shownPath(), context.index.at(child).shownPath()));
            }
        }
    }

    std::vector<int> order(context.index.entries().size() - 1);
    std::iota(order.begin(), order.end(), 1);
    std::sort(order.begin(), order.end(),
              [&context](int a, int b) { return context.index.at(a).path < context.index.at(b).path; });
    for (const int e : order) {
        const DiscEntry &entry = context.index.at(e);
        const QString path = entry.shownPath();
        const QString name = fromUtf8(entry.name);
        if (name.size() > JolietMaxName) {
            report(LongName, serious(e),
                   QStringLiteral("%1 has a name of %2 characters: a disc's Joliet names (what Windows reads) keep "
                                  "%3, so Windows sees another name; shorten it")
                       .arg(path)
                       .arg(name.size())
                       .arg(JolietMaxName));
        }
        const auto bad = std::find_if(name.begin(), name.end(), [](QChar c) {
            return c.unicode() < 0x20 || c.isSurrogate() || QStringLiteral("*/:;?\\<>\"|").contains(c);
        });
        if (bad != name.end()) {
            const QString shown = bad->unicode() < 0x20 ? QStringLiteral("a control character")
                                  : bad->isSurrogate() ? QStringLiteral("a character beyond U+FFFF")
                                                       : QLatin1Char('\'') + *bad + QLatin1Char('\'');
            report(BadCharacter, serious(e),
                   QStringLiteral("%1 has %2 in its name, which Windows or a disc's Joliet names can't hold; "
                                  "rename it")
                       .arg(path, shown));
        }
        if (entry.kind == EntryKind::Folder && entry.depth == IsoMaxFolderLevels) {
            report(Deep, serious(e),
                   QStringLiteral("%1 is folder level %2, deeper than the %3 of ISO 9660: genisoimage moves it "
                                  "aside (rr_moved) for readers without Rock Ridge names; keep within %3 levels")
                       .arg(path)
                       .arg(entry.depth + 1)
                       .arg(IsoMaxFolderLevels));
        }
        if (entry.path.size() > JolietMaxPathBytes
            && (entry.parent <= 0 || context.index.at(entry.parent).path.size() <= JolietMaxPathBytes)) {
            report(LongPath, serious(e),
                   QStringLiteral("%1 is a path of %2 bytes, more than the %3 a disc's Joliet names hold; shorten "
                                  "the names on its way")
                       .arg(path)
                       .arg(entry.path.size())
                       .arg(JolietMaxPathBytes));
        }
        if (entry.kind == EntryKind::File && entry.size > Fat32MaxFileBytes) {
            report(Big, Severity::Warning,
                   QStringLiteral("%1 is %2 bytes, more than the 4 GiB - 1 a file may have on a FAT32 stick, or "
                                  "on a disc burned without -iso-level 3")
                       .arg(path, QLocale(QLocale::English).toString(entry.size)));
        }
        if (entry.kind == EntryKind::Special && !context.used.count(e)) {
            report(Special, Severity::Warning,
                   QStringLiteral("%1 is a special file (a pipe, socket or device), which a disc can't hold; "
                                  "remove it")
                       .arg(path));
        }
        if (entry.kind == EntryKind::Link && !entry.linkInside && !context.used.count(e)) {
            report(LinkOut, Severity::Warning,
                   QStringLiteral("%1 is a link that leads outside the disc (%2): on the disc it leads nowhere; "
                                  "remove it, or put the file itself there")
                       .arg(path, entry.linkTarget.isEmpty() ? QStringLiteral("to nothing")
                                                             : QStringLiteral("to ") + entry.linkTarget));
        }
        if (entry.kind == EntryKind::Folder && !entry.listed) {
            report(Unreadable, Severity::Error,
                   QStringLiteral("%1 can't be read: not checked, and genisoimage can't read it either").arg(path));
        }
    }
    for (int kind = 0; kind < Kinds; ++kind) {
        if (counted[std::size_t(kind)] > ListedPerKind) {
            context.add(moreErrors[std::size_t(kind)] ? Severity::Error : Severity::Warning,
                        QStringLiteral("and %1 more %2")
                            .arg(counted[std::size_t(kind)] - ListedPerKind)
                            .arg(QLatin1String(moreText[std::size_t(kind)])));
        }
    }
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
        if (file.permissions.testFlag(QFileDevice::ExeOther)) {
            context.add(Severity::Note,
                        QStringLiteral("%1 is on the root: desktops that support it (GNOME's Files, for one) offer to "
                                       "run it when the disc is mounted")
                            .arg(QLatin1String(name)));
        } else {
            context.add(Severity::Note,
                        QStringLiteral("%1 is on the root but not executable for everyone, so no desktop offers to run "
                                       "it; chmod a+x %1 (Rock Ridge names keep that)")
                            .arg(QLatin1String(name)));
        }
        return;
    }
    context.add(Severity::Note,
                QStringLiteral("no autorun.sh on the root: on Linux the viewer starts Vidorun on the disc (vidorun "
                               "/media/$USER/<disc>); the README shows a two-line autorun.sh that some desktops offer "
                               "to run"));
}

}  // namespace vidorun::check
