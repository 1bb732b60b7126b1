// The JASC-PAL palette loader on arbitrary text. The load may end anywhere, but it must only
// ever write the entries it reports, in order from the first, and leave the rest as they were.

#include "fuzz_check.h"
#include "viewer/colour_table.h"
#include "viewer/palette_file.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace trelvik;

// The lines of the text as the format defines them: ended by CR LF or by a CR alone.
std::vector<std::string_view> SplitLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t cr = text.find('\r', start);
        if (cr == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, cr - start));
        start = cr + 1;
        if (start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}

bool IsSmallWholeNumber(std::string_view text)
{
    if (text.empty() || text.size() > 3)
        return false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    std::istringstream stream(text);

    // A table that is not all black, so an entry written by mistake shows.
    ColourTable table;
    for (std::size_t i = 0; i < kColourCount; ++i) {
        const auto v = static_cast<uint8_t>(i);
        table.Entries[i] = ColourEntry{v, static_cast<uint8_t>(255 - v), 7, 0xAA};
    }
    const ColourTable before = table;

    const PaletteLoadResult result = LoadPaletteStream(stream, table);
    TRELVIK_FUZZ_CHECK(result.EntriesStored >= 0
                       && result.EntriesStored <= static_cast<int>(kColourCount));
    const auto stored = static_cast<std::size_t>(result.EntriesStored);
    for (std::size_t i = 0; i < kColourCount; ++i) {
        if (i < stored)
            TRELVIK_FUZZ_CHECK(table.Entries[i].Reserved == 0);
        else
            TRELVIK_FUZZ_CHECK(table.Entries[i] == before.Entries[i]);
    }

    const std::vector<std::string_view> lines = SplitLines(text);
    if (lines.empty() || lines[0] != "JASC-PAL")
        TRELVIK_FUZZ_CHECK(result.Outcome == PaletteOutcome::NotJascPal);
    else if (lines.size() < 2 || lines[1] != "0100")
        TRELVIK_FUZZ_CHECK(result.Outcome == PaletteOutcome::WrongVersion);
    if (result.Outcome == PaletteOutcome::NotJascPal
        || result.Outcome == PaletteOutcome::WrongVersion
        || result.Outcome == PaletteOutcome::BadCount)
        TRELVIK_FUZZ_CHECK(stored == 0);
    TRELVIK_FUZZ_CHECK(result.Outcome != PaletteOutcome::CannotOpen);

    // The first colour line, where it is simple enough to read here without the loader's help.
    if (stored > 0) {
        TRELVIK_FUZZ_CHECK(lines.size() >= 4);
        const std::string_view first = lines[3];
        const std::string_view red = first.substr(0, first.find(' '));
        if (IsSmallWholeNumber(red))
            TRELVIK_FUZZ_CHECK(table.Entries[0].Red == std::stoi(std::string(red)));
    }
    return 0;
}
