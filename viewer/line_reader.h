// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <istream>
#include <string>

namespace trelvik {

/// Reads text lines that end at CR LF or at a CR alone. A line feed on its own does not end a
/// line; it stays part of the text. Only the first `keepLimit` characters of a line are kept,
/// the rest is read and dropped, so an endless line cannot exhaust memory.
class LineReader
{
public:
    explicit LineReader(std::istream &stream, std::size_t keepLimit = kDefaultKeepLimit);

    /// The next line without its end. False at the end of the stream or on a read error (a last
    /// line without a line end is still returned).
    bool ReadLine(std::string &line);

    /// Whether the line last read was longer than the keep limit.
    bool Truncated() const { return truncated_; }

    static constexpr std::size_t kDefaultKeepLimit = 4096;

private:
    bool ReadLineOrThrow(std::string &line);

    std::istream &stream_;
    std::size_t keepLimit_;
    bool truncated_ = false;
};

} // namespace trelvik
