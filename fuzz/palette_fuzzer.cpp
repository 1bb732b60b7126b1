// The JASC-PAL palette loader on arbitrary text. The load may end anywhere, but it must only
// ever write the entries it reports, in order from the first, and leave the rest as they were.

#include "fuzz_check.h"
#include "viewer/colour_table.h"
#include "viewer/palette_file.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
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

// Digits only, at most `maxDigits` of them.
std::optional<unsigned> PlainNumber(std::string_view text, std::size_t maxDigits)
{
    if (text.empty() || text.size() > maxDigits)
        return std::nullopt;
    unsigned value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value;
}

struct Expectation
{
    PaletteOutcome Outcome = PaletteOutcome::Loaded;
    std::size_t Stored = 0;
    std::vector<std::array<unsigned, 3>> Colours;
};

Expectation Stop(PaletteOutcome outcome, std::size_t linesRead)
{
    return {outcome, std::min(linesRead, kColourCount), {}};
}

// What the loader must do with a file whose count and colours are plain whole numbers, worked
// out here on its own; nothing for files that use signs, fractions or odd blanks, which only
// the loader's own rules decide.
std::optional<Expectation> Expect(const std::vector<std::string_view> &lines)
{
    if (lines.empty() || lines[0] != "JASC-PAL")
        return Stop(PaletteOutcome::NotJascPal, 0);
    if (lines.size() < 2 || lines[1] != "0100")
        return Stop(PaletteOutcome::WrongVersion, 0);
    if (lines.size() < 3)
        return Stop(PaletteOutcome::BadCount, 0);
    const std::optional<unsigned> count = PlainNumber(lines[2], 4);
    if (!count)
        return std::nullopt;
    std::vector<std::array<unsigned, 3>> colours;
    for (std::size_t i = 0; i < *count; ++i) {
        if (3 + i >= lines.size())
            return Stop(PaletteOutcome::EndedEarly, i);
        std::string_view rest = lines[3 + i];
        std::array<unsigned, 3> rgb{};
        for (std::size_t field = 0; field < rgb.size(); ++field) {
            const std::size_t blank = rest.find(' ');
            if (blank == std::string_view::npos && field + 1 < rgb.size())
                return Stop(PaletteOutcome::BadColour, i);
            const std::optional<unsigned> value = PlainNumber(rest.substr(0, blank), 3);
            if (!value)
                return std::nullopt;
            if (*value > 255)
                return Stop(PaletteOutcome::BadColour, i);
            rgb[field] = *value;
            rest = blank == std::string_view::npos ? std::string_view{} : rest.substr(blank + 1);
        }
        if (i < kColourCount)
            colours.push_back(rgb);
    }
    return Expectation{PaletteOutcome::Loaded, colours.size(), colours};
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

    TRELVIK_FUZZ_CHECK(result.Outcome != PaletteOutcome::CannotOpen);
    const std::optional<Expectation> expected = Expect(SplitLines(text));
    if (expected) {
        TRELVIK_FUZZ_CHECK(result.Outcome == expected->Outcome);
        TRELVIK_FUZZ_CHECK(stored == expected->Stored);
        for (std::size_t i = 0; i < expected->Colours.size(); ++i) {
            const ColourEntry &entry = table.Entries[i];
            TRELVIK_FUZZ_CHECK(entry.Red == expected->Colours[i][0]
                               && entry.Green == expected->Colours[i][1]
                               && entry.Blue == expected->Colours[i][2]);
        }
    }
    return 0;
}
