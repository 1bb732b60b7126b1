// SPDX-License-Identifier: GPL-3.0-or-later
// What one save of a 256 x 256 map with all 14 layers costs, end to end: the bytes are made,
// written to a new file beside the old one, which then takes its place. The folder is a fresh
// one under TRELVIK_BENCH_DIR when that is set (to measure a particular disk), otherwise under
// the system's temporary folder; it should not be a RAM disk, where nothing reaches a disk.
// Run with --benchmark_repetitions=N to get the median of N runs.
#include "document/fixed_text_field.h"
#include "document/map_file.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace {

using namespace trelvik;
namespace fs = std::filesystem;

MapDocument LargeMap()
{
    MapDocument doc;
    FixedTextField::Store(doc.Header.Signature, "WORLD_V1.0");
    doc.Header.Width = 256;
    doc.Header.Height = 256;
    for (int k = 1; k <= kLayerCount; ++k) {
        doc.BlockHeader(k) = LayerBlockHeader{{0x10, 0x27}, 0, 256, 256, 1, 256 * 256};
        doc.Layer(k).assign(256 * 256, static_cast<uint8_t>(k));
    }
    doc.Animals.assign(1000, AnimalEntry{2, 10, 20});
    return doc;
}

// A folder of its own, removed with everything in it when the benchmark ends.
class BenchFolder
{
public:
    BenchFolder()
    {
        const char *base = std::getenv("TRELVIK_BENCH_DIR");
        const fs::path parent =
            base != nullptr && *base != '\0' ? fs::path(base) : fs::temp_directory_path();
        std::random_device random;
        path_ = parent / ("trelvik-save-bench-" + std::to_string(random()));
        fs::create_directories(path_);
    }
    ~BenchFolder()
    {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    BenchFolder(const BenchFolder &) = delete;
    BenchFolder &operator=(const BenchFolder &) = delete;

    std::string File(const char *name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

// Every save after the first replaces the file the one before it left, as saving an open map
// again does.
void BM_SaveMap(benchmark::State &state)
{
    const BenchFolder folder;
    const std::string path = folder.File("map.swd");
    const MapDocument doc = LargeMap();
    for (auto _ : state) {
        const WriteResult result = WriteMapFile(path, doc);
        if (!result.Ok) {
            state.SkipWithError(result.Message.c_str());
            break;
        }
        benchmark::DoNotOptimize(result.Ok);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations())
                            * static_cast<int64_t>(WriteMapBytes(doc).size()));
}
BENCHMARK(BM_SaveMap)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
