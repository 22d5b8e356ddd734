// Replays the fuzz corpus and every crash input the fuzzers ever found
// through the fuzz targets' own entry points.
#include "base/text.h"
#include "fuzz/fuzz_entries.h"
#include "support/temporary_folder.h"

#include <gtest/gtest.h>

namespace {

struct Input {
    std::string name;
    std::string bytes;
};

std::vector<Input> inputsIn(const std::string &folder)
{
    std::vector<Input> inputs;
    for (const std::string &name : vidorun::testing::folderEntries(folder)) {
        if (vidorun::startsWith(name, ".") || vidorun::endsWith(name, ".md"))
            continue;
        inputs.push_back({name, vidorun::testing::readFileAt(folder + '/' + name)});
    }
    return inputs;
}

void replay(const std::vector<Input> &inputs)
{
    for (const Input &input : inputs) {
        SCOPED_TRACE(input.name);
        const auto *data = reinterpret_cast<const std::uint8_t *>(input.bytes.data());
        const auto size = std::size_t(input.bytes.size());
        EXPECT_EQ(vidorun::fuzz::readerViolation(data, size), "");
        EXPECT_EQ(vidorun::fuzz::roundTripViolation(data, size), "");
        EXPECT_EQ(vidorun::fuzz::safeNamesViolation(data, size), "");
    }
}

TEST(FuzzCorpus, EverySeedPassesBothTargets)
{
    const auto inputs = inputsIn(VIDORUN_FUZZ_CORPUS_DIR);
    EXPECT_GE(inputs.size(), 12u);
    replay(inputs);
}

TEST(FuzzCorpus, EveryCrashEverFoundStaysFixed)
{
    const auto inputs = inputsIn(VIDORUN_FUZZ_CRASHES_DIR);
    EXPECT_GE(inputs.size(), 2u);
    replay(inputs);
}

// Items over the size limit are cut, which the round trip allows for; an
// empty input is a project without anything.
TEST(FuzzCorpus, CutItemsAndEmptyInputsAreNoViolation)
{
    std::string input("\x00\x02", 2);
    input += "Title\ncover\n\n\n1\nA.AVI\nOne\nCD1\nB.AVI\n" + std::string(5000, 't') + "\nCD2";
    const auto *data = reinterpret_cast<const std::uint8_t *>(input.data());
    EXPECT_EQ(vidorun::fuzz::readerViolation(data, std::size_t(input.size())), "");
    EXPECT_EQ(vidorun::fuzz::roundTripViolation(data, std::size_t(input.size())), "");
    EXPECT_EQ(vidorun::fuzz::readerViolation(data, 0), "");
    EXPECT_EQ(vidorun::fuzz::roundTripViolation(data, 0), "");
}

}  // namespace
