#include "projectfile/atomic_save.h"

namespace vidorun {

SaveOutcome saveWhole(SaveSteps &steps, const std::vector<std::string> &pieces)
{
    return saveWhole(steps, [&pieces] { return pieces; });
}

SaveOutcome saveWhole(SaveSteps &steps, const std::function<std::vector<std::string>()> &piecesOnceOpen)
{
    // The reason is taken before the copy is dropped, which may reset it.
    auto failed = [&steps] {
        SaveOutcome outcome;
        outcome.reason = steps.reason();
        steps.discard();
        return outcome;
    };
    if (!steps.open())
        return failed();
    for (const std::string &piece : piecesOnceOpen()) {
        if (!steps.write(piece))
            return failed();
    }
    if (!steps.flush() || !steps.commit())
        return failed();
    SaveOutcome outcome;
    outcome.saved = true;
    return outcome;
}

SaveOutcome saveFileWhole(const std::string &path, const std::vector<std::string> &pieces)
{
    const std::unique_ptr<SaveSteps> steps = makeFileSaveSteps(path);
    return saveWhole(*steps, pieces);
}

}  // namespace vidorun
