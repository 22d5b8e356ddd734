#pragma once

// What publishing knows of an output folder, kept in two small hidden files
// of that folder (never on a disc):
//  - the record (.vidorun-published): every disc and image publishing made
//    there, with each file and folder it put in it, by identity and size.
//    Only what the record lists, as it lists it, is ever replaced.
//  - the journal (.vidorun-publishing): a run under way, its discs under
//    their temporary names and, while they are put in place, where each old
//    disc goes. A run that was stopped (a second Ctrl+C, a power cut) leaves
//    it, and the next run to the folder finishes or undoes that run's work.
#include "platform/publish_files.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vidorun {

inline const std::string OutputRecordName = ".vidorun-published";
inline const std::string JournalName = ".vidorun-publishing";

// A disc folder or image that publishing made, as it made it.
struct MadeOutput {
    std::string name;  // in the output folder: "HOLIDAY1", "HOLIDAY1.iso"
    bool folder = false;
    FileIdentity identity;
    std::int64_t bytes = 0;       // an image's size
    std::vector<TreeEntry> tree;  // what a disc folder holds

    // In the journal only: where the new output was made, and where the
    // old one it replaces goes aside while they swap places.
    std::string temporary;
    std::string aside;
};

// The outputs publishing made in a folder.
struct OutputRecord {
    std::vector<MadeOutput> outputs;

    const MadeOutput *find(const std::string &name) const;
    // Puts `made` in place of what the record held of its name.
    void put(MadeOutput made);
};

enum class JournalPhase {
    Making,    // the new outputs are being made under their temporary names
    Swapping,  // every new output is complete; they are being put in place
};

struct Journal {
    JournalPhase phase = JournalPhase::Making;
    std::vector<MadeOutput> outputs;
};

// Reads the folder's record; an empty one when there is none, or when it
// can't be read as one (then nothing in the folder counts as publishing's).
OutputRecord readOutputRecord(PublishFiles &files, const std::string &outFolder);
std::optional<Journal> readJournal(PublishFiles &files, const std::string &outFolder);

// Writes the record or the journal whole, replacing the one there in one
// step, and makes it durable before it answers.
bool writeOutputRecord(PublishFiles &files, const std::string &outFolder, const OutputRecord &record,
                       std::string &reason);
bool writeJournal(PublishFiles &files, const std::string &outFolder, const Journal &journal, std::string &reason);

// What publishing made at `path`, as it is now; nothing when it can't be
// read.
std::optional<MadeOutput> describeOutput(PublishFiles &files, const std::string &path, const std::string &name,
                                         std::string &reason);

// Why the output at `path` is not the one `record` lists, as a message
// ends it ("holds mine.txt, which vidorun --publish did not put there");
// empty when it is, and may be replaced. A file publishing made and someone
// removed since is no reason: nobody's work is lost with it.
std::string differenceFromRecord(PublishFiles &files, const std::string &path, const MadeOutput *recorded);

}  // namespace vidorun
