// Reading and writing a project file: a full 99-movie project, and 100 MB of
// junk to show that the reader streams in one pass whatever it is given.
#include "bench/bench_project.h"
#include "projectfile/atomic_save.h"
#include "projectfile/project_reader.h"
#include "projectfile/project_writer.h"
#include "tests/support/process_memory.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace vidorun;

double smallest(const std::vector<double> &v) { return *std::min_element(v.begin(), v.end()); }
double largest(const std::vector<double> &v) { return *std::max_element(v.begin(), v.end()); }

// A folder of the run's own under the system's temporary folder; what is
// written there goes with it when the run ends.
class WorkFolder {
public:
    WorkFolder()
    {
        const char *base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/vidorun-bench-XXXXXX";
        if (!mkdtemp(pattern.data()))
            std::abort();
        m_path = pattern;
    }
    ~WorkFolder()
    {
        for (const std::string &made : m_made)
            std::remove(made.c_str());
        ::rmdir(m_path.c_str());
    }
    std::string filePath(const std::string &name)
    {
        const std::string path = m_path + '/' + name;
        if (std::find(m_made.begin(), m_made.end(), path) == m_made.end())
            m_made.push_back(path);
        return path;
    }

private:
    std::string m_path;
    std::vector<std::string> m_made;
};

WorkFolder &workFolder()
{
    static WorkFolder folder;
    return folder;
}

std::int64_t fileSize(const std::string &path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? std::int64_t(status.st_size) : -1;
}

std::string project99File()
{
    static const std::string path = [] {
        const std::string p = workFolder().filePath("Autorun.inf");
        if (!saveFileWhole(p, composeProjectFile(bench::project99())).saved)
            std::abort();
        return p;
    }();
    return path;
}

constexpr std::int64_t JunkBytes = 100'000'000;

enum class Junk { Random, OneLine };

// 100 MB written a megabyte at a time, so that making it leaves no trace in
// the peak memory the reader is judged by.
std::string junkFile(Junk kind)
{
    const std::string path = workFolder().filePath(kind == Junk::Random ? "random.junk" : "oneline.junk");
    if (fileSize(path) == JunkBytes)
        return path;
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        std::abort();
    std::vector<char> chunk(1'000'000);
    std::uint32_t seed = 2026;
    for (std::int64_t written = 0; written < JunkBytes; written += std::int64_t(chunk.size())) {
        for (char &c : chunk) {
            seed = seed * 1664525u + 1013904223u;
            const char byte = char(seed >> 24);
            // One line: no item ends before the file does.
            c = kind == Junk::OneLine && (byte == ',' || byte == '\r' || byte == '\n' || byte == '"') ? 'x' : byte;
        }
        if (std::fwrite(chunk.data(), 1, chunk.size(), file) != chunk.size())
            std::abort();
    }
    if (std::fclose(file) != 0)
        std::abort();
    return path;
}

void BM_ReadProject99(benchmark::State &state)
{
    const std::string path = project99File();
    for (auto _ : state) {
        Project project;
        const ReadOutcome outcome = readProjectFile(path, project);
        benchmark::DoNotOptimize(outcome.opened);
        if (project.TitleCount != "99")
            state.SkipWithError("the project did not come back whole");
    }
    state.SetBytesProcessed(state.iterations() * fileSize(path));
}

void BM_WriteProject99Compose(benchmark::State &state)
{
    const Project project = bench::project99();
    for (auto _ : state) {
        const std::vector<std::string> bytes = composeProjectFile(project);
        benchmark::DoNotOptimize(bytes.size());
    }
}

// As File > Write saves: composed, written to a copy beside the target,
// flushed to the disk, renamed over the target.
void BM_WriteProject99Save(benchmark::State &state)
{
    const Project project = bench::project99();
    const std::string path = workFolder().filePath("Written.inf");
    for (auto _ : state) {
        if (!saveFileWhole(path, composeProjectFile(project)).saved)
            state.SkipWithError("the project could not be saved");
    }
}

void readJunk(benchmark::State &state, Junk kind)
{
    const std::string path = junkFile(kind);
    using vidorun::testing::ProcessMemory;
    ProcessMemory::resetPeak();
    const std::int64_t residentBefore = ProcessMemory::residentKb();
    for (auto _ : state) {
        Project project;
        const ReadOutcome outcome = readProjectFile(path, project);
        benchmark::DoNotOptimize(outcome.opened);
    }
    state.SetBytesProcessed(state.iterations() * JunkBytes);
    // What reading 100 MB added to the peak memory: a streaming reader adds
    // its buffer and an item or two, not the file.
    const std::int64_t peak = ProcessMemory::peakKb();
    state.counters["peak_growth_kB"] = double(peak - residentBefore);
    state.counters["peak_resident_MB"] = double(peak) / 1024;
}

void BM_ReadJunk100MB(benchmark::State &state) { readJunk(state, Junk::Random); }
void BM_ReadJunk100MBOneLine(benchmark::State &state) { readJunk(state, Junk::OneLine); }

#define VIDORUN_BENCH(name, unit)                                                                          \
    BENCHMARK(name)->Unit(unit)->ComputeStatistics("min", smallest)->ComputeStatistics("max", largest)

VIDORUN_BENCH(BM_ReadProject99, benchmark::kMicrosecond);
VIDORUN_BENCH(BM_WriteProject99Compose, benchmark::kMicrosecond);
VIDORUN_BENCH(BM_WriteProject99Save, benchmark::kMicrosecond);
VIDORUN_BENCH(BM_ReadJunk100MB, benchmark::kMillisecond);
VIDORUN_BENCH(BM_ReadJunk100MBOneLine, benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
