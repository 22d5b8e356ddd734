#pragma once

// Saving a file whole: the steps of platform/file_io.h, each of which can
// fail, run so that the target keeps its earlier bytes unless all of them
// succeed.
#include "platform/file_io.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vidorun {

// Makes the steps that save the file at `path`; the system's real ones
// unless a test hands in steps that fail on purpose.
using SaveStepsFactory = std::function<std::unique_ptr<SaveSteps>(const std::string &path)>;

struct SaveOutcome {
    bool saved = false;
    std::string reason;  // the system's reason when not saved
};

// Saves the pieces, one write each, whole or not at all: on any failure the
// copy is dropped and the target keeps its earlier bytes.
SaveOutcome saveWhole(SaveSteps &steps, const std::vector<std::string> &pieces);
// The same, with the pieces made only once the copy is open: what they say
// may then depend on the save having begun.
SaveOutcome saveWhole(SaveSteps &steps, const std::function<std::vector<std::string>()> &piecesOnceOpen);
// The same for the file at `path`.
SaveOutcome saveFileWhole(const std::string &path, const std::vector<std::string> &pieces);

}  // namespace vidorun
