// Reading and writing a project file: a full 99-movie project, and 100 MB of
// junk to show that the reader streams in one pass whatever it is given.
#include "bench/bench_project.h"
#include "projectfile/atomic_save.h"
#include "projectfile/project_reader.h"
#include "projectfile/project_writer.h"
#include "tests/support/process_memory.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace vidorun;

double smallest(const std::vector<double> &v) { return *std::min_element(v.begin(), v.end()); }
double largest(const std::vector<double> &v) { return *std::max_element(v.begin(), v.end()); }

const QTemporaryDir &workFolder()
{
    static const QTemporaryDir folder;
    return folder;
}

QString project99File()
{
    static const QString path = [] {
        const QString p = workFolder().filePath(QStringLiteral("Autorun.inf"));
        if (!saveFileWhole(p, composeProjectFile(bench::project99())).saved)
            std::abort();
        return p;
    }();
    return path;
}

constexpr qint64 JunkBytes = 100'000'000;

enum class Junk { Random, OneLine };

// 100 MB written a megabyte at a time, so that making it leaves no trace in
// the peak memory the reader is judged by.
QString junkFile(Junk kind)
{
    const QString path = workFolder().filePath(kind == Junk::Random ? QStringLiteral("random.junk")
                                                                    : QStringLiteral("oneline.junk"));
    if (QFile::exists(path))
        return path;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        std::abort();
    std::vector<char> chunk(1'000'000);
    std::uint32_t seed = 2026;
    for (qint64 written = 0; written < JunkBytes; written += qint64(chunk.size())) {
        for (char &c : chunk) {
            seed = seed * 1664525u + 1013904223u;
            const char byte = char(seed >> 24);
            // One line: no item ends before the file does.
            c = kind == Junk::OneLine && (byte == ',' || byte == '\r' || byte == '\n' || byte == '"') ? 'x' : byte;
        }
        if (file.write(chunk.data(), qint64(chunk.size())) != qint64(chunk.size()))
            std::abort();
    }
    return path;
}

void BM_ReadProject99(benchmark::State &state)
{
    const QString path = project99File();
    for (auto _ : state) {
        Project project;
        const ReadOutcome outcome = readProjectFile(path, project);
        benchmark::DoNotOptimize(outcome.opened);
        if (project.TitleCount != QLatin1String("99"))
            state.SkipWithError("the project did not come back whole");
    }
    state.SetBytesProcessed(state.iterations() * QFile(path).size());
}

void BM_WriteProject99Compose(benchmark::State &state)
{
    const Project project = bench::project99();
    for (auto _ : state) {
        const QByteArrayList bytes = composeProjectFile(project);
        benchmark::DoNotOptimize(bytes.size());
    }
}

// As File > Write saves: composed, written to a copy beside the target,
// flushed to the disk, renamed over the target.
void BM_WriteProject99Save(benchmark::State &state)
{
    const Project project = bench::project99();
    const QString path = workFolder().filePath(QStringLiteral("Written.inf"));
    for (auto _ : state) {
        if (!saveFileWhole(path, composeProjectFile(project)).saved)
            state.SkipWithError("the project could not be saved");
    }
}

void readJunk(benchmark::State &state, Junk kind)
{
    const QString path = junkFile(kind);
    using vidorun::testing::ProcessMemory;
    ProcessMemory::resetPeak();
    const qint64 residentBefore = ProcessMemory::residentKb();
    for (auto _ : state) {
        Project project;
        const ReadOutcome outcome = readProjectFile(path, project);
        benchmark::DoNotOptimize(outcome.opened);
    }
    state.SetBytesProcessed(state.iterations() * JunkBytes);
    // What reading 100 MB added to the peak memory: a streaming reader adds
    // its buffer and an item or two, not the file.
    const qint64 peak = ProcessMemory::peakKb();
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
