// Stands in for libFuzzer in ordinary builds: runs the target once over every file named on the
// command line, or over every file of a named folder, so the kept corpus replays as a test.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size);

namespace {

namespace fs = std::filesystem;

bool ReadWhole(const fs::path &path, std::vector<uint8_t> &bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Files of a folder in name order, so a failing replay names the same input every time.
std::vector<fs::path> InputsOf(const fs::path &path, std::error_code &error)
{
    std::vector<fs::path> inputs;
    if (!fs::is_directory(path, error)) {
        inputs.push_back(path);
        return inputs;
    }
    for (const fs::directory_entry &entry : fs::directory_iterator(path, error)) {
        if (entry.is_regular_file(error))
            inputs.push_back(entry.path());
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE-OR-FOLDER...\n", argv[0]);
        return 2;
    }
    std::size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        const std::vector<fs::path> inputs = InputsOf(argv[i], error);
        if (error) {
            std::fprintf(stderr, "%s: %s\n", argv[i], error.message().c_str());
            return 1;
        }
        for (const fs::path &input : inputs) {
            std::vector<uint8_t> bytes;
            if (!ReadWhole(input, bytes)) {
                std::fprintf(stderr, "cannot read %s\n", input.c_str());
                return 1;
            }
            std::printf("replaying %s (%zu bytes)\n", input.c_str(), bytes.size());
            std::fflush(stdout);
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++replayed;
        }
    }
    // An empty or missing corpus would otherwise pass without testing anything.
    if (replayed == 0) {
        std::fprintf(stderr, "no inputs found\n");
        return 1;
    }
    std::printf("%zu inputs replayed\n", replayed);
    return 0;
}
