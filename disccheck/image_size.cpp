// The size of the image genisoimage -R -J makes of the folder, worked out
// from the listing the way genisoimage lays an image out, and the blank
// media it fits.
#include "disccheck/check_context.h"

#include "base/text.h"
#include "base/unicode.h"
#include "base/utf8.h"
#include "disccheck/disc_names.h"

#include <algorithm>
#include <array>

namespace vidorun {

namespace check {

namespace {

constexpr std::int64_t Block = 2048;

// A name's characters in capitals, one for one, in UTF-16: about the order
// of the ISO 9660 names genisoimage sorts.
std::u16string sortKey(std::string_view name)
{
    std::u32string upper = toUtf32(name);
    for (char32_t &c : upper)
        c = simpleUpper(c);
    return toUtf16(fromUtf32(upper));
}

std::int64_t jolietLength(std::string_view name)
{
    return std::min<std::int64_t>(std::int64_t(utf16Length(name)), JolietMaxNameLength);
}

std::int64_t blocks(std::int64_t bytes)
{
    return (bytes + Block - 1) / Block;
}

std::int64_t even(std::int64_t bytes)
{
    return bytes + (bytes & 1);
}

// The length of an entry's ISO 9660 name: 8 characters of a folder's name;
// 8 of a file's, a dot, 3 of its extension and the version ";1". Letters
// genisoimage can't keep become one "_" a byte.
std::int64_t isoNameLength(const std::string &name, bool folder)
{
    const auto size = std::int64_t(name.size());
    if (folder)
        return std::min<std::int64_t>(size, 8);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return std::min<std::int64_t>(size, 8) + 3;
    return std::min<std::int64_t>(std::int64_t(dot), 8) + 1 + std::min<std::int64_t>(size - std::int64_t(dot) - 1, 3) + 2;
}

// One folder's records as genisoimage writes them: none crosses the end of
// a block, and entries of a record's Rock Ridge area that would pass 184
// bytes (with room left for a continuation entry) go to a continuation
// area of the folder's own.
class Records {
public:
    void add(std::int64_t bytes)
    {
        if (m_bytes % Block + bytes >= Block)
            m_bytes = (m_bytes / Block + 1) * Block;
        m_bytes += bytes;
    }
    // An ISO 9660 record with its Rock Ridge entries (RR, NM, PX, TF, and
    // for a moved folder RE), the name kept in full in NM.
    void addIso(const std::string &name, bool folder, bool moved = false)
    {
        constexpr std::int64_t Continuation = 28, Room = 184;
        const std::int64_t nameLength = isoNameLength(name, folder);
        const std::int64_t head = 33 + nameLength + (nameLength % 2 == 0 ? 1 : 0);
        const std::array<std::int64_t, 5> entries = {5, 5 + std::int64_t(name.size()), 36, 26, moved ? 12 : 0};
        std::int64_t kept = 0, continued = 0;
        for (const std::int64_t entry : entries) {
            if (continued > 0 || kept + entry + Continuation > Room)
                continued += entry;
            else
                kept += entry;
        }
        if (continued > 0)
            kept += Continuation;
        m_continued += continued;
        add(even(head + kept));
    }
    std::int64_t blocks() const { return check::blocks(m_bytes) + check::blocks(m_continued); }

private:
    std::int64_t m_bytes = 0;
    std::int64_t m_continued = 0;
};

// Each path table is there in both byte orders, each in an even number of
// blocks.
std::int64_t pathTableBlocks(std::int64_t bytes)
{
    const std::int64_t n = blocks(bytes);
    return 2 * (n + (n & 1));
}

}  // namespace

void countImage(Context &context)
{
    const DiscIndex &index = context.index;
    // The system area; the primary, Joliet and version descriptors and the
    // end of the set; the root's Rock Ridge extension entry; the 150 blocks
    // genisoimage pads an image with, as old drives read ahead past its end.
    std::int64_t total = 16 + 4 + 1 + 150;
    // The root's entries, 10 bytes, in each path table.
    std::int64_t isoPathTable = 10, jolietPathTable = 10;
    std::vector<int> moved;
    Records root;
    for (std::size_t e = 0; e < index.entries().size(); ++e) {
        const DiscEntry &entry = index.entries()[e];
        if (entry.kind == EntryKind::File && !entry.dataShared)
            total += blocks(entry.size);
        if (entry.kind != EntryKind::Folder)
            continue;
        // In about the order of their ISO 9660 names, which decides where a
        // block ends.
        std::vector<std::pair<std::u16string, int>> children;
        for (const int child : entry.children)
            children.emplace_back(sortKey(index.at(child).name), child);
        std::sort(children.begin(), children.end());
        Records iso, joliet;
        iso.add(e == 0 ? 136 : 102);  // "." (on the root with the Rock Ridge signature) and ".."
        iso.add(102);
        joliet.add(34);
        joliet.add(34);
        for (const auto &[key, child] : children) {
            const DiscEntry &found = index.at(child);
            const bool folder = found.kind == EntryKind::Folder;
            iso.addIso(found.name, folder);
            if (folder && movedToRrMoved(found.depth + 1))
                moved.push_back(child);
            // A name beyond UCS-2 is left out of the Joliet names.
            if (nameFault(found.name) != NameFault::BeyondBmp)
                joliet.add(even(33 + 2 * jolietLength(found.name)));
        }
        if (e == 0)
            root = iso;
        else
            total += iso.blocks();
        total += joliet.blocks();
        if (e != 0) {
            isoPathTable += even(8 + isoNameLength(entry.name, true));
            jolietPathTable += even(8 + 2 * jolietLength(entry.name));
        }
    }
    // Folders moved aside go into RR_MOVED on the root, which only the ISO
    // 9660 names have.
    if (!moved.empty()) {
        root.addIso("rr_moved", true);
        Records rrMoved;
        rrMoved.add(102);
        rrMoved.add(102);
        for (const int folder : moved)
            rrMoved.addIso(index.at(folder).name, true, true);
        total += rrMoved.blocks();
        isoPathTable += 16;
    }
    total += root.blocks() + pathTableBlocks(isoPathTable) + pathTableBlocks(jolietPathTable);

    const std::int64_t bytes = total * Block;
    if (!smallestMedium(bytes) && index.stoppedAt() < 0) {
        context.add(Severity::Warning, fill("the disc's files need %1 bytes, more than a double-layer DVD holds: only "
                                            "a USB stick or a folder takes them",
                                            {groupedNumber(bytes)}));
    }
    context.report.imageBytes = context.report.noImage.empty() ? bytes : 0;
}

}  // namespace check

}  // namespace vidorun
