// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing a 256 x 256 map with 1000 animals, next to a plain read and write of the
// same bytes: the difference is what parsing and checking cost.
#include "document/fixed_text_field.h"
#include "document/map_file.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

using namespace trelvik;

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

std::string TempFile()
{
    return (std::filesystem::temp_directory_path() / "trelvik-bench-map.swd").string();
}

void BM_ReadMapFile(benchmark::State &state)
{
    const std::string path = TempFile();
    WriteMapFile(path, LargeMap());
    MapDocument doc;
    for (auto _ : state) {
        const ReadResult result = ReadMapFile(path, doc);
        benchmark::DoNotOptimize(result.AnimalCount);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations())
                            * static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_ReadMapFile)->Unit(benchmark::kMicrosecond);

void BM_PlainRead(benchmark::State &state)
{
    const std::string path = TempFile();
    WriteMapFile(path, LargeMap());
    for (auto _ : state) {
        std::FILE *file = std::fopen(path.c_str(), "rb");
        std::vector<uint8_t> bytes(std::filesystem::file_size(path));
        const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        benchmark::DoNotOptimize(got);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations())
                            * static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMicrosecond);

// A save of the whole map over the file the one before left, as saving an open map again
// does: written beside it, synced, moved into place, the folder synced. Timed by the clock on
// the wall, since the syncs wait for the disk rather than use the processor.
void BM_WriteMapFile(benchmark::State &state)
{
    const std::string path = TempFile();
    const MapDocument doc = LargeMap();
    for (auto _ : state) {
        const WriteResult result = WriteMapFile(path, doc);
        benchmark::DoNotOptimize(result.Ok);
    }
}
BENCHMARK(BM_WriteMapFile)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_PlainWrite(benchmark::State &state)
{
    const std::string path = TempFile();
    const std::vector<uint8_t> bytes = WriteMapBytes(LargeMap());
    for (auto _ : state) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        benchmark::DoNotOptimize(out.good());
    }
}
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
