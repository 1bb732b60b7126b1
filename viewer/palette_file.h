// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "colour_table.h"

#include <istream>
#include <string>

namespace trelvik {

enum class PaletteOutcome {
    Loaded,
    CannotOpen,
    NotJascPal,   // line 1 is not exactly "JASC-PAL"
    WrongVersion, // line 2 is not exactly "0100"
    BadCount,     // line 3 is missing or not a number
    BadColour,    // a colour line has fewer than three fields, or one is not a byte value
    EndedEarly,   // the file ends before the announced number of colour lines
};

struct PaletteLoadResult
{
    PaletteOutcome Outcome = PaletteOutcome::Loaded;
    /// Entries written before the load ended (at most 256).
    int EntriesStored = 0;

    bool Ok() const { return Outcome == PaletteOutcome::Loaded; }
};

/// Reads a JASC-PAL file into the table. Entries are stored one by one as their lines are
/// read: whatever ends the load keeps the entries stored before it and leaves the others as
/// they were. Lines end at CR LF or CR. Colour lines past the 256th are read and ignored. The
/// outcome is for callers that want to say why; the viewer itself reports nothing. `path` is
/// UTF-8.
PaletteLoadResult LoadPaletteFile(const std::string &path, ColourTable &table);

/// The same, from an open stream.
PaletteLoadResult LoadPaletteStream(std::istream &stream, ColourTable &table);

} // namespace trelvik
