#include "publish/disc_set.h"

#include "base/text.h"
#include "disccheck/disc_names.h"
#include "platform/console_session.h"
#include "platform/file_places.h"
#include "publish/disc_image.h"

#include <cstdio>
#include <random>

namespace vidorun {

namespace {

// Eight hex digits that no earlier run could foresee.
std::string randomDigits()
{
    static std::mt19937 random{std::random_device{}()};
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", unsigned(random()));
    return digits;
}

// A name in the output folder that nothing has, hidden where names starting
// with a dot are, and telling whose it is.
std::string temporaryName(PublishFiles &files, const std::string &outFolder, const std::string &output,
                          const char *what)
{
    for (;;) {
        const std::string name = "." + output + ".vidorun-" + what + "-" + randomDigits();
        if (!files.exists(outFolder + '/' + name))
            return name;
    }
}

// How a new output took its place.
enum class Placement { New, Exchanged, MovedAside };

// Puts the output made at its temporary name in the place of its name. The
// old one, if any, ends at the temporary name (swapped in one step) or at
// the aside name (where the file system can't swap). Should the old one
// stay at the aside name, `stranded` says so.
bool putInPlace(PublishFiles &files, const std::string &outFolder, const MadeOutput &made, Placement &how,
                std::string &reason, bool *stranded = nullptr)
{
    const std::string final = outFolder + '/' + made.name;
    const std::string temporary = outFolder + '/' + made.temporary;
    const std::string aside = outFolder + '/' + made.aside;
    if (!files.exists(final)) {
        how = Placement::New;
        return files.rename(temporary, final, reason);
    }
    bool unsupported = false;
    if (files.exchange(temporary, final, unsupported, reason)) {
        how = Placement::Exchanged;
        return true;
    }
    if (!unsupported || !files.rename(final, aside, reason))
        return false;
    if (files.rename(temporary, final, reason)) {
        how = Placement::MovedAside;
        return true;
    }
    std::string ignored;
    if (!files.rename(aside, final, ignored) && stranded)
        *stranded = true;
    return false;
}

// Undoes putInPlace().
bool takeBack(PublishFiles &files, const std::string &outFolder, const MadeOutput &made, Placement how)
{
    const std::string final = outFolder + '/' + made.name;
    const std::string temporary = outFolder + '/' + made.temporary;
    const std::string aside = outFolder + '/' + made.aside;
    std::string reason;
    bool unsupported = false;
    switch (how) {
    case Placement::New:
        return files.rename(final, temporary, reason);
    case Placement::Exchanged:
        return files.exchange(temporary, final, unsupported, reason);
    case Placement::MovedAside:
        return files.rename(final, temporary, reason) && files.rename(aside, final, reason);
    }
    return false;
}

// A name publishing gives what it makes or moves aside, and nothing else has.
bool isTemporaryName(const std::string &name)
{
    return startsWith(name, ".") && contains(name, ".vidorun-");
}

// Removes what an old output left at the temporary and aside names of
// `made`; answers what could not be removed, one sentence each.
std::vector<std::string> removeOld(PublishFiles &files, const std::string &outFolder, const MadeOutput &made)
{
    std::vector<std::string> left;
    for (const std::string *name : {&made.temporary, &made.aside}) {
        const std::string path = outFolder + '/' + *name;
        if (!isTemporaryName(*name) || !files.exists(path) || files.entryIdentity(path) == made.identity)
            continue;
        std::string reason;
        if (!files.remove(path, reason)) {
            left.push_back(fill("the old %1 could not be removed entirely (%2): what is left of it is in %3",
                                {shownPath(outFolder + '/' + made.name), reason, shownPath(path)}));
        }
    }
    return left;
}

void append(std::vector<std::string> &to, const std::vector<std::string> &more)
{
    to.insert(to.end(), more.begin(), more.end());
}

// Drops what the record lists but is no longer there as publishing made it.
void dropGone(PublishFiles &files, const std::string &outFolder, OutputRecord &record)
{
    std::vector<MadeOutput> kept;
    for (MadeOutput &made : record.outputs) {
        if (files.entryIdentity(outFolder + '/' + made.name) == made.identity)
            kept.push_back(std::move(made));
    }
    record.outputs = std::move(kept);
}

std::string namesOf(const Journal &journal)
{
    std::vector<std::string> names;
    for (const MadeOutput &made : journal.outputs)
        names.push_back(shownName(made.name));
    return joined(names, ", ");
}

}  // namespace

std::int64_t discWork(const DiscLayout &disc, bool image)
{
    return disc.bytes() + (image ? imageWork(disc.bytes()) : 0);
}

DiscSet::DiscSet(const std::vector<DiscLayout> &discs, const std::vector<DiscOutputs> &outputs,
                 const std::string &outFolder, PublishFiles &files)
    : m_discs(discs), m_outputs(outputs), m_outFolder(outFolder), m_files(files)
{
}

DiscSet::~DiscSet()
{
    // Whatever is still under a temporary name is what did not get done.
    if (m_journalWritten && !m_placed)
        removeTemporaries();
}

bool DiscSet::fail(const std::string &reason)
{
    if (m_reason.empty() && !m_stopped)
        m_reason = reason;
    return false;
}

void DiscSet::removeTemporaries()
{
    for (const MadeOutput &made : m_journal.outputs)
        m_files.remove(path(made.temporary));
    m_files.remove(path(JournalName));
    m_journalWritten = false;
}

bool DiscSet::make(const SetProgress &progress)
{
    for (const DiscOutputs &outputs : m_outputs) {
        for (const std::string *output : {&outputs.folder, &outputs.image}) {
            if (output->empty())
                continue;
            MadeOutput made;
            made.name = nameInPath(*output);
            made.folder = output == &outputs.folder;
            made.temporary = temporaryName(m_files, m_outFolder, made.name, made.folder ? "disc" : "image");
            made.aside = temporaryName(m_files, m_outFolder, made.name, "old");
            m_journal.outputs.push_back(made);
        }
    }
    // The journal goes first: should the run be stopped from here on, the
    // next one knows what this one began.
    std::string reason;
    m_journal.phase = JournalPhase::Making;
    if (!writeJournal(m_files, m_outFolder, m_journal, reason)) {
        m_files.remove(path(JournalName));
        return fail(fill("writing %1: %2", {shownPath(path(JournalName)), reason}));
    }
    m_journalWritten = true;
    m_imageBytes.assign(m_discs.size(), 0);
    for (std::size_t disc = 0; disc < m_discs.size(); ++disc) {
        m_failedDisc = disc;
        if (!makeDisc(disc, progress)) {
            removeTemporaries();
            return false;
        }
    }
    m_failedDisc.reset();
    // Each new output as it is now, for the journal and the record; on the
    // disk for good before anything old makes way for it.
    for (MadeOutput &made : m_journal.outputs) {
        std::optional<MadeOutput> now = describeOutput(m_files, path(made.temporary), made.name, reason);
        if (!now) {
            removeTemporaries();
            return fail(fill("reading %1: %2", {shownPath(path(made.temporary)), reason}));
        }
        now->temporary = made.temporary;
        now->aside = made.aside;
        made = *now;
    }
    if (!m_files.flush(m_outFolder, reason)) {
        removeTemporaries();
        return fail(fill("writing %1: %2", {shownPath(m_outFolder), reason}));
    }
    return true;
}

bool DiscSet::makeDisc(std::size_t disc, const SetProgress &progress)
{
    const DiscOutputs &outputs = m_outputs[disc];
    const auto temporaryOf = [this](const std::string &output) {
        for (const MadeOutput &made : m_journal.outputs) {
            if (made.name == nameInPath(output))
                return path(made.temporary);
        }
        return std::string();
    };
    std::string reason;
    const std::string folder = temporaryOf(outputs.folder);
    if (!m_files.makeFolder(folder, reason))
        return fail(fill("making %1: %2", {shownPath(outputs.folder), reason}));
    m_files.setHidden(folder, true);
    if (!fillFolder(disc, folder, progress))
        return false;
    if (outputs.image.empty())
        return true;

    const std::string image = temporaryOf(outputs.image);
    const std::int64_t base = m_discs[disc].bytes();
    const ImageOutcome written =
        writeDiscImage(m_discs[disc], folder, image, m_outFolder, m_files, [&](std::int64_t done) {
            m_stopped = m_stopped || !progress(disc, base + done);
            return !m_stopped;
        });
    m_files.setHidden(image, true);
    if (!written.written) {
        if (m_stopped)
            return false;
        return fail(written.readingFile.empty()
                        ? fill("writing %1: %2", {shownPath(outputs.image), written.reason})
                        : fill("reading %1: %2", {shownPath(outputs.folder + '/' + written.readingFile), written.reason}));
    }
    m_imageBytes[disc] = written.bytes;
    return true;
}

bool DiscSet::fillFolder(std::size_t disc, const std::string &root, const SetProgress &progress)
{
    const DiscLayout &layout = m_discs[disc];
    const std::string &shownRoot = m_outputs[disc].folder;
    std::string reason;
    for (const std::string &folder : layout.folders) {
        if (!m_files.makeFolder(root + '/' + folder, reason))
            return fail(fill("making %1: %2", {shownPath(shownRoot + '/' + folder), reason}));
    }
    std::int64_t done = 0;
    for (const DiscFile &file : layout.files) {
        const std::string target = root + '/' + file.path;
        const std::string shownTarget = shownPath(shownRoot + '/' + file.path);
        if (file.source.empty()) {
            const std::unique_ptr<WritableFile> created = m_files.create(target, file.executable, reason);
            if (!created)
                return fail(fill("writing %1: %2", {shownTarget, reason}));
            if (!created->write(file.content.data(), std::int64_t(file.content.size())) || !created->close())
                return fail(fill("writing %1: %2", {shownTarget, created->reason()}));
        } else {
            CopyFailure failure;
            const bool copied = m_files.copy(file.source, target, [&](std::int64_t copied) {
                m_stopped = m_stopped || !progress(disc, done + copied);
                return !m_stopped;
            }, failure);
            if (!copied) {
                if (m_stopped || failure.stopped)
                    return false;
                return fail(failure.reading ? fill("reading %1: %2", {shownPath(file.source), failure.reason})
                                            : fill("writing %1: %2", {shownTarget, failure.reason}));
            }
        }
        done += file.bytes;
        m_stopped = m_stopped || !progress(disc, done);
        if (m_stopped)
            return false;
    }
    return true;
}

bool DiscSet::place(OutputRecord &record)
{
    // Nothing may cut this in two: a Ctrl+C now waits until it is over.
    const DeferredInterruptions deferred;
    std::string reason;
    m_journal.phase = JournalPhase::Swapping;
    if (!writeJournal(m_files, m_outFolder, m_journal, reason))
        return fail(fill("writing %1: %2", {shownPath(path(JournalName)), reason}));

    std::vector<Placement> done;
    for (const MadeOutput &made : m_journal.outputs) {
        const std::string final = path(made.name);
        // What was looked at before the making is still what is there.
        const MadeOutput *recorded = record.find(made.name);
        const bool taken = m_files.exists(final) && (!recorded || m_files.entryIdentity(final) != recorded->identity);
        Placement how = Placement::New;
        if (taken)
            reason = "something else took its place meanwhile";
        bool stranded = false;
        if (taken || !putInPlace(m_files, m_outFolder, made, how, reason, &stranded)) {
            std::vector<std::string> stuck;
            if (stranded)
                stuck.push_back(fill("the old %1 (it is at %2)", {shownPath(final), shownPath(path(made.aside))}));
            for (std::size_t k = done.size(); k-- > 0;) {
                if (!takeBack(m_files, m_outFolder, m_journal.outputs[k], done[k]))
                    stuck.push_back(shownPath(path(m_journal.outputs[k].name)));
            }
            const std::string failed = fill("putting %1 in place: %2", {shownPath(final), reason});
            if (stuck.empty()) {
                removeTemporaries();
                return fail(failed + fill("; nothing in %1 was changed", {shownPath(m_outFolder)}));
            }
            // Neither set is whole: the journal stays for the next run.
            m_placed = true;
            return fail(failed + fill("; and %1 could not be put back: the next vidorun --publish to %2 puts the new "
                                      "set in place",
                                      {joined(stuck, ", "), shownPath(m_outFolder)}));
        }
        m_files.setHidden(final, false);
        done.push_back(how);
    }
    m_placed = true;

    for (const MadeOutput &made : m_journal.outputs)
        record.put(made);
    dropGone(m_files, m_outFolder, record);
    if (!writeOutputRecord(m_files, m_outFolder, record, reason)) {
        m_leftovers.push_back(fill("%1 could not be written (%2): the discs are not known as vidorun --publish's, and "
                                   "--force will not replace them",
                                   {shownPath(path(OutputRecordName)), reason}));
    }
    for (const MadeOutput &made : m_journal.outputs)
        append(m_leftovers, removeOld(m_files, m_outFolder, made));
    // With an old output left, the journal stays: the next run removes it.
    if (m_leftovers.empty())
        m_files.remove(path(JournalName));
    return true;
}

std::vector<std::string> recoverOutputFolder(PublishFiles &files, const std::string &outFolder, bool &ok)
{
    const DeferredInterruptions deferred;
    ok = true;
    // A record or journal whose writing was cut short never took its place.
    for (const std::string *name : {&JournalName, &OutputRecordName})
        files.remove(outFolder + '/' + *name + ".new");
    const std::string journalPath = outFolder + '/' + JournalName;
    if (!files.exists(journalPath))
        return {};
    const std::optional<Journal> journal = readJournal(files, outFolder);
    if (!journal) {
        ok = false;
        return {fill("%1 is left by a publishing that was stopped, and can't be read: see what it lists, remove what "
                     "is left of that publishing, then the file",
                     {shownPath(journalPath)})};
    }
    const auto at = [&outFolder](const std::string &name) { return outFolder + '/' + name; };
    if (journal->phase == JournalPhase::Making) {
        for (const MadeOutput &made : journal->outputs) {
            if (isTemporaryName(made.temporary))
                files.remove(at(made.temporary));
        }
        files.remove(journalPath);
        return {fill("an earlier vidorun --publish to %1 was stopped while it made %2: what it had begun is removed",
                     {shownPath(outFolder), namesOf(*journal)})};
    }

    OutputRecord record = readOutputRecord(files, outFolder);
    std::vector<std::string> said;
    for (const MadeOutput &made : journal->outputs) {
        const std::string final = at(made.name);
        if (files.entryIdentity(final) != made.identity) {
            if (files.entryIdentity(at(made.temporary)) != made.identity)
                continue;  // gone since: nothing to put in place
            const MadeOutput *recorded = record.find(made.name);
            if (files.exists(final) && (!recorded || files.entryIdentity(final) != recorded->identity)) {
                ok = false;
                return {fill("an earlier vidorun --publish to %1 was stopped while it put %2 in place, and %3 is not "
                             "what it made there: move it away and publish again",
                             {shownPath(outFolder), namesOf(*journal), shownPath(final)})};
            }
            Placement how;
            std::string reason;
            if (!putInPlace(files, outFolder, made, how, reason)) {
                ok = false;
                return {fill("an earlier vidorun --publish to %1 was stopped while it put %2 in place, and %3 can't "
                             "be put in place now: %4",
                             {shownPath(outFolder), namesOf(*journal), shownPath(final), reason})};
            }
        }
        files.setHidden(final, false);
        record.put(made);
    }
    dropGone(files, outFolder, record);
    std::string reason;
    if (!writeOutputRecord(files, outFolder, record, reason))
        said.push_back(fill("%1 could not be written: %2", {shownPath(at(OutputRecordName)), reason}));
    std::vector<std::string> left;
    for (const MadeOutput &made : journal->outputs)
        append(left, removeOld(files, outFolder, made));
    if (left.empty())
        files.remove(journalPath);
    said.insert(said.begin(), fill("an earlier vidorun --publish to %1 was stopped while it put %2 in place: the new "
                                   "ones are in place now, and what they replace is removed",
                                   {shownPath(outFolder), namesOf(*journal)}));
    append(said, left);
    return said;
}

}  // namespace vidorun
