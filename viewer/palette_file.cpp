// SPDX-License-Identifier: GPL-3.0-or-later
#include "palette_file.h"

#include "decimal_number.h"
#include "document/file_system.h"
#include "line_reader.h"

#include <array>
#include <fstream>
#include <optional>
#include <string_view>

namespace trelvik {
namespace {

constexpr std::size_t kColourFieldCount = 3;

std::optional<uint8_t> ParseColourField(std::string_view field)
{
    const std::optional<DecimalNumber> number = ParseDecimal(field);
    if (!number)
        return std::nullopt;
    // Rounded first, so 255.4 is still a colour while 255.5 is not.
    const int64_t value = RoundHalfEven(*number);
    if (value < 0 || value > 255)
        return std::nullopt;
    return static_cast<uint8_t>(value);
}

// Red, green and blue from the first three blank-separated fields; fields after them are
// ignored. Two blanks in a row make an empty field, which is not a number.
std::optional<std::array<uint8_t, kColourFieldCount>> ParseColourLine(std::string_view line,
                                                                      bool truncated)
{
    std::array<uint8_t, kColourFieldCount> rgb{};
    std::size_t start = 0;
    for (std::size_t field = 0; field < kColourFieldCount; ++field) {
        const std::size_t blank = line.find(' ', start);
        const bool lastField = field + 1 == kColourFieldCount;
        if (blank == std::string_view::npos && (!lastField || truncated))
            return std::nullopt; // too few fields, or the third one runs past what was kept
        const std::string_view text = line.substr(
            start, blank == std::string_view::npos ? std::string_view::npos : blank - start);
        const std::optional<uint8_t> value = ParseColourField(text);
        if (!value)
            return std::nullopt;
        rgb[field] = *value;
        start = blank + 1;
    }
    return rgb;
}

} // namespace

PaletteLoadResult LoadPaletteStream(std::istream &stream, ColourTable &table)
{
    PaletteLoadResult result;
    LineReader reader(stream);
    std::string line;

    if (!reader.ReadLine(line) || reader.Truncated() || line != "JASC-PAL")
        return {PaletteOutcome::NotJascPal, 0};
    if (!reader.ReadLine(line) || reader.Truncated() || line != "0100")
        return {PaletteOutcome::WrongVersion, 0};
    if (!reader.ReadLine(line) || reader.Truncated())
        return {PaletteOutcome::BadCount, 0};
    const std::optional<DecimalNumber> count = ParseDecimal(line);
    if (!count)
        return {PaletteOutcome::BadCount, 0};

    // The loop runs to the last entry index, count - 1 rounded; a count that rounds that
    // index below zero reads no colour lines.
    const int64_t lastIndex = RoundHalfEven(MinusOne(*count));
    for (int64_t i = 0; i <= lastIndex; ++i) {
        if (!reader.ReadLine(line)) {
            result.Outcome = PaletteOutcome::EndedEarly;
            return result;
        }
        const auto rgb = ParseColourLine(line, reader.Truncated());
        if (!rgb) {
            result.Outcome = PaletteOutcome::BadColour;
            return result;
        }
        if (i < static_cast<int64_t>(kColourCount)) {
            ColourEntry &entry = table.Entries[static_cast<std::size_t>(i)];
            entry.Red = (*rgb)[0];
            entry.Green = (*rgb)[1];
            entry.Blue = (*rgb)[2];
            entry.Reserved = 0;
            ++result.EntriesStored;
        }
    }
    return result;
}

PaletteLoadResult LoadPaletteFile(const std::string &path, ColourTable &table)
{
    std::ifstream file(PathFromUtf8(path), std::ios::binary);
    if (!file)
        return {PaletteOutcome::CannotOpen, 0};
    return LoadPaletteStream(file, table);
}

} // namespace trelvik
