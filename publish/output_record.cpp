#include "publish/output_record.h"

#include "base/text.h"
#include "disccheck/disc_names.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <map>
#include <type_traits>

namespace vidorun {

namespace {

constexpr std::int64_t MaxRecordBytes = 64 * 1024 * 1024;
const std::string RecordHeading = "vidorun published 1";
const std::string JournalHeading = "vidorun publishing 1";

// One line each: a kind, the identity, the size and the name last, so that
// a name may hold blanks (the names publishing makes hold no tabs or line
// ends: they are control characters, which no disc name holds).
std::string entryLine(const char *what, bool folder, const FileIdentity &identity, std::int64_t bytes,
                      const std::string &name)
{
    return std::string(what) + '\t' + (folder ? "folder" : "file") + '\t' + std::to_string(identity.device) + '\t'
           + std::to_string(identity.file) + '\t' + std::to_string(bytes) + '\t' + name + '\n';
}

std::string outputLines(const MadeOutput &output, bool journal)
{
    std::string text = entryLine("output", output.folder, output.identity, output.bytes, output.name);
    if (journal) {
        text += "temporary\t" + output.temporary + '\n';
        text += "aside\t" + output.aside + '\n';
    }
    for (const TreeEntry &entry : output.tree)
        text += entryLine("entry", entry.folder, entry.identity, entry.bytes, entry.path);
    return text;
}

// A number as the record writes it: decimal digits, a sign for a size.
template <typename Number>
bool parsed(const std::string &text, Number &number)
{
    if (text.empty() || (!std::is_signed_v<Number> && text.front() == '-'))
        return false;
    const char *start = text.c_str();
    char *end = nullptr;
    errno = 0;
    if constexpr (std::is_signed_v<Number>)
        number = Number(std::strtoll(start, &end, 10));
    else
        number = Number(std::strtoull(start, &end, 10));
    return errno == 0 && end == start + text.size() && text.front() != ' ' && text.front() != '\t';
}

// The outputs the lines after the heading list; nothing when a line is not
// one the program writes.
std::optional<std::vector<MadeOutput>> parseOutputs(const std::vector<std::string> &lines, std::size_t first)
{
    std::vector<MadeOutput> outputs;
    for (std::size_t i = first; i < lines.size(); ++i) {
        const std::string &line = lines[i];
        if (line.empty())
            continue;
        const std::vector<std::string> fields = split(line, '\t');
        if (fields.size() == 2 && !outputs.empty() && (fields[0] == "temporary" || fields[0] == "aside")) {
            (fields[0] == "temporary" ? outputs.back().temporary : outputs.back().aside) = fields[1];
            continue;
        }
        if (fields.size() != 6 || (fields[1] != "folder" && fields[1] != "file"))
            return std::nullopt;
        FileIdentity identity;
        std::int64_t bytes = 0;
        if (!parsed(fields[2], identity.device) || !parsed(fields[3], identity.file) || !parsed(fields[4], bytes))
            return std::nullopt;
        const bool folder = fields[1] == "folder";
        const std::string &name = fields[5];
        if (fields[0] == "output") {
            outputs.push_back({name, folder, identity, bytes, {}, {}, {}});
        } else if (fields[0] == "entry" && !outputs.empty()) {
            outputs.back().tree.push_back({name, folder, identity, bytes});
        } else {
            return std::nullopt;
        }
    }
    return outputs;
}

std::optional<std::string> readSmallFile(PublishFiles &files, const std::string &path)
{
    FileKind kind;
    std::string reason;
    const std::unique_ptr<ReadableFile> file = files.openForReading(path, kind, reason);
    if (!file || file->size() > MaxRecordBytes)
        return std::nullopt;
    std::string bytes(std::size_t(file->size()), '\0');
    std::int64_t got = 0;
    for (std::int64_t n = 1; n > 0 && got < std::int64_t(bytes.size()); got += n) {
        n = file->read(bytes.data() + got, std::int64_t(bytes.size()) - got);
        if (n < 0)
            return std::nullopt;
    }
    bytes.resize(std::size_t(got));
    return bytes;
}

// Writes `bytes` as the folder's file `name`, replacing it in one step, and
// makes it durable.
bool writeSmallFile(PublishFiles &files, const std::string &outFolder, const std::string &name,
                    const std::string &bytes, std::string &reason)
{
    const std::string path = outFolder + '/' + name;
    const std::string fresh = path + ".new";
    files.remove(fresh);  // what a run stopped while writing it left
    const std::unique_ptr<WritableFile> file = files.create(fresh, false, reason);
    if (!file)
        return false;
    if (!file->write(bytes.data(), std::int64_t(bytes.size())) || !file->close()) {
        reason = file->reason();
        files.remove(fresh);
        return false;
    }
    files.setHidden(fresh, true);
    if (!files.replaceFile(fresh, path, reason)) {
        files.remove(fresh);
        return false;
    }
    return files.flush(outFolder, reason);
}

}  // namespace

const MadeOutput *OutputRecord::find(const std::string &name) const
{
    const auto it = std::find_if(outputs.begin(), outputs.end(), [&name](const MadeOutput &made) { return made.name == name; });
    return it == outputs.end() ? nullptr : &*it;
}

void OutputRecord::put(MadeOutput made)
{
    made.temporary.clear();
    made.aside.clear();
    const auto it = std::find_if(outputs.begin(), outputs.end(),
                                 [&made](const MadeOutput &known) { return known.name == made.name; });
    if (it == outputs.end())
        outputs.push_back(std::move(made));
    else
        *it = std::move(made);
}

OutputRecord readOutputRecord(PublishFiles &files, const std::string &outFolder)
{
    const std::optional<std::string> bytes = readSmallFile(files, outFolder + '/' + OutputRecordName);
    if (!bytes)
        return {};
    const std::vector<std::string> lines = split(*bytes, '\n');
    if (lines.front() != RecordHeading)
        return {};
    std::optional<std::vector<MadeOutput>> outputs = parseOutputs(lines, 1);
    return outputs ? OutputRecord{std::move(*outputs)} : OutputRecord{};
}

std::optional<Journal> readJournal(PublishFiles &files, const std::string &outFolder)
{
    const std::optional<std::string> bytes = readSmallFile(files, outFolder + '/' + JournalName);
    if (!bytes)
        return std::nullopt;
    const std::vector<std::string> lines = split(*bytes, '\n');
    // A phase it doesn't know is no journal to act on: in the wrong one,
    // recovery would remove what it should put in place.
    if (lines.front() != JournalHeading || lines.size() < 2
        || (lines[1] != "phase\tswapping" && lines[1] != "phase\tmaking"))
        return std::nullopt;
    Journal journal;
    journal.phase = lines[1] == "phase\tswapping" ? JournalPhase::Swapping : JournalPhase::Making;
    std::optional<std::vector<MadeOutput>> outputs = parseOutputs(lines, 2);
    if (!outputs)
        return std::nullopt;
    journal.outputs = std::move(*outputs);
    return journal;
}

bool writeOutputRecord(PublishFiles &files, const std::string &outFolder, const OutputRecord &record,
                       std::string &reason)
{
    std::string text = RecordHeading + '\n';
    for (const MadeOutput &output : record.outputs)
        text += outputLines(output, false);
    return writeSmallFile(files, outFolder, OutputRecordName, text, reason);
}

bool writeJournal(PublishFiles &files, const std::string &outFolder, const Journal &journal, std::string &reason)
{
    std::string text = JournalHeading + '\n';
    text += journal.phase == JournalPhase::Swapping ? "phase\tswapping\n" : "phase\tmaking\n";
    for (const MadeOutput &output : journal.outputs)
        text += outputLines(output, true);
    return writeSmallFile(files, outFolder, JournalName, text, reason);
}

std::optional<MadeOutput> describeOutput(PublishFiles &files, const std::string &path, const std::string &name,
                                         std::string &reason)
{
    const std::optional<FileIdentity> identity = files.entryIdentity(path);
    if (!identity) {
        reason = "not there";
        return std::nullopt;
    }
    MadeOutput made;
    made.name = name;
    made.identity = *identity;
    if (std::optional<std::vector<TreeEntry>> tree = files.listTree(path, reason)) {
        made.folder = true;
        made.tree = std::move(*tree);
        return made;
    }
    FileKind kind;
    const std::unique_ptr<ReadableFile> file = files.openForReading(path, kind, reason);
    if (!file)
        return std::nullopt;
    made.bytes = file->size();
    return made;
}

std::string differenceFromRecord(PublishFiles &files, const std::string &path, const MadeOutput *recorded)
{
    if (!recorded)
        return "was not made by vidorun --publish";
    const std::optional<FileIdentity> identity = files.entryIdentity(path);
    if (!identity || *identity != recorded->identity)
        return "is not what vidorun --publish made there: it was replaced or moved since";
    std::string reason;
    if (!recorded->folder) {
        FileKind kind;
        const std::unique_ptr<ReadableFile> file = files.openForReading(path, kind, reason);
        if (!file || file->size() != recorded->bytes)
            return "was changed since vidorun --publish made it";
        return {};
    }
    const std::optional<std::vector<TreeEntry>> tree = files.listTree(path, reason);
    if (!tree)
        return fill("can't be looked through (%1)", {reason});
    std::map<std::string, const TreeEntry *> made;
    for (const TreeEntry &entry : recorded->tree)
        made[entry.path] = &entry;
    for (const TreeEntry &entry : *tree) {
        const auto it = made.find(entry.path);
        if (it == made.end())
            return fill("holds %1, which vidorun --publish did not put there", {shownPath(entry.path)});
        const TreeEntry &was = *it->second;
        if (was.folder != entry.folder || was.identity != entry.identity || was.bytes != entry.bytes)
            return fill("holds %1, which was changed since vidorun --publish made it", {shownPath(entry.path)});
    }
    return {};
}

}  // namespace vidorun
