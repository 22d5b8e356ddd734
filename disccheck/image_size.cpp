// The size of the disc image the folder makes, and the blank media it fits.
#include "disccheck/check_context.h"
#include "disccheck/disc_names.h"

#include <QLocale>

#include <algorithm>
#include <array>

namespace vidorun {

namespace check {

// The image genisoimage -R -J makes of the folder, estimated: every file in
// whole 2,048-byte blocks, and every folder twice, as ISO 9660 records with
// their Rock Ridge entries and as Joliet records.
void countImage(Context &context)
{
    constexpr qint64 Block = 2048;
    constexpr qint64 RockRidge = 80;  // a record's permissions, times and long name entry, beyond the name
    auto blocks = [](qint64 bytes) { return (bytes + Block - 1) / Block; };
    auto even = [](qint64 bytes) { return bytes + (bytes & 1); };
    // The system area; the primary, Joliet and version descriptors and the
    // end of the set; Rock Ridge's own entry; the 150 blocks genisoimage pads
    // an image with, as old drives read ahead past its end.
    qint64 total = 16 + 4 + 1 + 150;
    qint64 isoPathTable = 0, jolietPathTable = 0;
    for (const DiscEntry &entry : context.index.entries()) {
        if (entry.kind == EntryKind::File)
            total += blocks(entry.size);
        if (entry.kind != EntryKind::Folder)
            continue;
        qint64 iso = 2 * (34 + RockRidge), joliet = 2 * 34;
        for (const int child : entry.children) {
            const auto nameBytes = qint64(context.index.at(child).name.size());
            const auto jolietName = std::min<qint64>(fromUtf8(context.index.at(child).name).size(), JolietMaxNameLength);
            iso += even(33 + std::min<qint64>(nameBytes, 12) + 2) + RockRidge + nameBytes;
            joliet += even(33 + 2 * jolietName);
        }
        total += blocks(iso) + blocks(joliet);
        isoPathTable += even(8 + std::min<qint64>(qint64(entry.name.size()), 8));
        jolietPathTable += even(8 + 2 * std::min<qint64>(fromUtf8(entry.name).size(), JolietMaxNameLength));
    }
    // Each path table is there in both byte orders, and each of those twice.
    total += 4 * blocks(isoPathTable) + 4 * blocks(jolietPathTable);
    context.report.imageBytes = total * Block;
    if (!smallestMedium(context.report.imageBytes)) {
        context.add(Severity::Warning,
                    QStringLiteral("the disc's files need %1 bytes, more than a double-layer DVD holds: only a USB "
                                   "stick or a folder takes them")
                        .arg(QLocale(QLocale::English).toString(context.report.imageBytes)));
    }
}

}  // namespace check

std::optional<Medium> smallestMedium(qint64 bytes)
{
    static const std::array<Medium, 4> media = {{
        {"a 650 MB CD", 681984000},
        {"a 700 MB CD", 737280000},
        {"a 4.7 GB DVD", 4700372992},
        {"an 8.5 GB double-layer DVD", 8543666176},
    }};
    for (const Medium &medium : media) {
        if (bytes <= medium.bytes)
            return medium;
    }
    return std::nullopt;
}

}  // namespace vidorun
