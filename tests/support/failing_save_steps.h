#pragma once

#include "projectfile/atomic_save.h"

#include <string>
#include <utility>
#include <vector>

namespace vidorun::testing {

// Passes every step of a save on to real steps, but fails on purpose at step
// number `failAt` (counting from 1: open, each write, flush, commit) with the
// given reason. A failing write first passes half its piece on, so the copy
// is left written part-way; a failing commit never reaches the real commit.
// failAt 0 fails nothing; `steps` then names every step a save takes.
class FailingSaveSteps final : public SaveSteps {
public:
    FailingSaveSteps(SaveSteps &real, int failAt, std::string failReason = "No space left on device")
        : m_real(real), m_failAt(failAt), m_failReason(std::move(failReason))
    {
    }

    bool open() override { return step("open", [this] { return m_real.open(); }); }
    bool write(const std::string &piece) override
    {
        if (m_taken + 1 == m_failAt)
            m_real.write(piece.substr(0, piece.size() / 2));
        return step("write", [&] { return m_real.write(piece); });
    }
    bool flush() override { return step("flush", [this] { return m_real.flush(); }); }
    bool commit() override { return step("commit", [this] { return m_real.commit(); }); }
    void discard() override
    {
        discarded = true;
        m_real.discard();
    }
    std::string reason() const override { return m_failed ? m_failReason : m_real.reason(); }

    std::vector<std::string> steps;
    bool discarded = false;

private:
    template<typename Real>
    bool step(const char *name, Real real)
    {
        steps.emplace_back(name);
        if (++m_taken == m_failAt) {
            m_failed = true;
            return false;
        }
        return real();
    }

    SaveSteps &m_real;
    int m_failAt;
    std::string m_failReason;
    int m_taken = 0;
    bool m_failed = false;
};

}  // namespace vidorun::testing
