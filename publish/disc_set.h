#pragma once

// Makes a project's discs in OUTDIR as one set. Every disc folder and image
// is made under a temporary name first; only when all are complete (and on
// the disk for good) do they take their places, and what they replace goes
// only then. A journal (output_record.h) says at every step what the run
// was doing, so that a run stopped half way (a second Ctrl+C, a power cut)
// is finished or undone by the next one.
#include "platform/publish_files.h"
#include "publish/disc_layout.h"
#include "publish/output_record.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vidorun {

struct DiscOutputs {
    std::string folder;  // OUTDIR/<name>
    std::string image;   // OUTDIR/<name>.iso; empty for no image
};

// The work the making reports for `disc`, in bytes moved.
std::int64_t discWork(const DiscLayout &disc, bool image);

// Told which disc is being made and the work done on it so far; answers
// false to stop.
using SetProgress = std::function<bool(std::size_t disc, std::int64_t done)>;

class DiscSet {
public:
    DiscSet(const std::vector<DiscLayout> &discs, const std::vector<DiscOutputs> &outputs,
            const std::string &outFolder, PublishFiles &files);
    ~DiscSet();
    DiscSet(const DiscSet &) = delete;
    DiscSet &operator=(const DiscSet &) = delete;

    // Makes every disc and image under its temporary name. False when one
    // can't be made or the progress stops it; then nothing of the set is
    // left, and reason() says why ("writing OUTDIR/HOLIDAY2/MOVIES/A.AVI:
    // No space left on device").
    bool make(const SetProgress &progress);

    // Puts the set in place of what OUTDIR had under its names, all of it or
    // nothing: should one step fail, what was done is undone and the old
    // outputs stay. `record` is OUTDIR's record, brought up to date. An old
    // output that can't be removed afterwards is named in leftovers(), the
    // new set is in place all the same.
    bool place(OutputRecord &record);

    bool stopped() const { return m_stopped; }
    // The disc that could not be made.
    // The disc whose making failed or was stopped; nothing when the set as a
    // whole failed (its journal, or flushing it to the disk).
    std::optional<std::size_t> failedDisc() const { return m_failedDisc; }
    const std::string &reason() const { return m_reason; }
    const std::vector<std::string> &leftovers() const { return m_leftovers; }
    // The bytes of each disc's image, once made.
    const std::vector<std::int64_t> &imageBytes() const { return m_imageBytes; }

private:
    bool makeDisc(std::size_t disc, const SetProgress &progress);
    bool fillFolder(std::size_t disc, const std::string &root, const SetProgress &progress);
    bool fail(const std::string &reason);
    void removeTemporaries();
    std::string path(const std::string &name) const { return m_outFolder + '/' + name; }

    const std::vector<DiscLayout> &m_discs;
    const std::vector<DiscOutputs> &m_outputs;
    std::string m_outFolder;
    PublishFiles &m_files;
    Journal m_journal;
    bool m_journalWritten = false;
    bool m_placed = false;
    bool m_stopped = false;
    std::string m_reason;
    std::vector<std::string> m_leftovers;
    std::vector<std::int64_t> m_imageBytes;
    std::optional<std::size_t> m_failedDisc;
};

// Finishes or undoes the work of a run to `outFolder` that was stopped half
// way, as its journal tells; answers what it did, one sentence each, or the
// reason it could not (`ok` false: then nothing more may be done there).
std::vector<std::string> recoverOutputFolder(PublishFiles &files, const std::string &outFolder, bool &ok);

}  // namespace vidorun
