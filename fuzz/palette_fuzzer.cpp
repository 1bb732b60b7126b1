// SPDX-License-Identifier: GPL-3.0-or-later
// The JASC-PAL palette loader on arbitrary text. The load may end anywhere, but it must only
// ever write the entries it reports, in order from the first, and leave the rest as they were;
// for files of plain whole numbers a model of the format written here decides the outcome too.

#include "fuzz_check.h"
#include "viewer/palette_file.h"

#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

namespace {

using namespace trelvik;

// Digits only, at most `maxDigits` of them.
std::optional<unsigned> PlainNumber(std::string_view text, std::size_t maxDigits)
{
    if (text.empty() || text.size() > maxDigits
        || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    unsigned value = 0;
    for (const char c : text)
        value = value * 10 + static_cast<unsigned>(c - '0');
    return value;
}

struct Expectation
{
    PaletteOutcome Outcome;
    std::size_t Stored;
    std::vector<ColourEntry> Colours;
};

// The outcome for a file whose count and colours are plain whole numbers; nothing for files
// that use signs, fractions or odd blanks, which only the loader's own rules decide.
std::optional<Expectation> Expect(std::string_view text)
{
    std::vector<std::string_view> lines; // ended by CR LF or by a CR alone
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t cr = std::min(text.find('\r', start), text.size());
        lines.push_back(text.substr(start, cr - start));
        start = cr + 1 + (cr + 1 < text.size() && text[cr + 1] == '\n' ? 1 : 0);
    }
    if (lines.empty() || lines[0] != "JASC-PAL")
        return Expectation{PaletteOutcome::NotJascPal, 0, {}};
    if (lines.size() < 2 || lines[1] != "0100")
        return Expectation{PaletteOutcome::WrongVersion, 0, {}};
    if (lines.size() < 3)
        return Expectation{PaletteOutcome::BadCount, 0, {}};
    const std::optional<unsigned> count = PlainNumber(lines[2], 4);
    if (!count)
        return std::nullopt;
    std::vector<ColourEntry> colours;
    for (std::size_t i = 0; i < *count; ++i) {
        const auto stop = [&](PaletteOutcome outcome) {
            return Expectation{outcome, std::min(i, kColourCount), colours};
        };
        if (3 + i >= lines.size())
            return stop(PaletteOutcome::EndedEarly);
        std::string_view rest = lines[3 + i];
        unsigned rgb[3] = {};
        for (unsigned &value : rgb) {
            const std::size_t blank = rest.find(' ');
            if (blank == std::string_view::npos && &value != &rgb[2])
                return stop(PaletteOutcome::BadColour);
            const std::optional<unsigned> field = PlainNumber(rest.substr(0, blank), 3);
            if (!field)
                return std::nullopt;
            if (*field > 255)
                return stop(PaletteOutcome::BadColour);
            value = *field;
            rest = blank == std::string_view::npos ? std::string_view{} : rest.substr(blank + 1);
        }
        if (i < kColourCount)
            colours.push_back({static_cast<uint8_t>(rgb[2]), static_cast<uint8_t>(rgb[1]),
                               static_cast<uint8_t>(rgb[0]), 0});
    }
    return Expectation{PaletteOutcome::Loaded, colours.size(), colours};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    std::istringstream stream(text);
    ColourTable table; // not all black, so an entry written by mistake shows
    for (std::size_t i = 0; i < kColourCount; ++i)
        table.Entries[i] = ColourEntry{static_cast<uint8_t>(i), static_cast<uint8_t>(~i), 7, 0xAA};
    const ColourTable before = table;
    const PaletteLoadResult result = LoadPaletteStream(stream, table);
    TRELVIK_FUZZ_CHECK(result.Outcome != PaletteOutcome::CannotOpen);
    TRELVIK_FUZZ_CHECK(result.EntriesStored >= 0 && result.EntriesStored <= 256);
    const auto stored = static_cast<std::size_t>(result.EntriesStored);
    for (std::size_t i = 0; i < kColourCount; ++i)
        TRELVIK_FUZZ_CHECK(i < stored ? table.Entries[i].Reserved == 0
                                      : table.Entries[i] == before.Entries[i]);
    if (const std::optional<Expectation> expected = Expect(text)) {
        TRELVIK_FUZZ_CHECK(result.Outcome == expected->Outcome && stored == expected->Stored);
        for (std::size_t i = 0; i < expected->Colours.size(); ++i)
            TRELVIK_FUZZ_CHECK(table.Entries[i] == expected->Colours[i]);
    }
    return 0;
}
