// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"
#include "document/terrain.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trelvik {

/// Errors make the game refuse or misplay a map; warnings are stale or unusual data.
enum class Severity : uint8_t { Error, Warning };

/// The safe repairs offered for findings. Each changes the document only as its name says.
enum class CheckFix : uint8_t {
    None,
    Recompute,        // shading and building quality worked out afresh
    RebuildAreas,     // the header's area table and layer 14 worked out afresh
    PlayersFromMarks, // the header's player count and slots taken from the marks
    RemoveMark,       // the headquarters mark at the finding's point taken off
};

/// One thing the check found: a short code for scripts, the point where there is one, and a
/// sentence for a map maker.
struct Finding
{
    Severity Level = Severity::Warning;
    std::string Code;
    std::optional<Point> At;
    std::string Text;
    CheckFix Fix = CheckFix::None;

    bool operator==(const Finding &) const = default;
};

struct CheckReport
{
    std::vector<Finding> Findings; // errors first, then warnings; each in the order found

    std::size_t Count(Severity level) const;
};

/// Looks the map over for what the game will trip over (errors) and what is stale or unusual
/// (warnings). Any document is accepted, however damaged: short layers and a header claiming
/// a huge map are findings, not faults.
CheckReport CheckMap(const MapDocument &document);

/// "error" or "warning".
std::string_view SeverityName(Severity level);

/// What a fix does, as a button says it: "Recompute shading and building quality", ...
std::string_view FixName(CheckFix fix);

/// One line: "2 errors, 1 warning" or "no problems found".
std::string Summary(const CheckReport &report);

/// Carries out a fix (RemoveMark at `at`); false when it changed nothing. Building quality
/// around a removed mark is worked out again.
bool ApplyFix(MapDocument &document, CheckFix fix, std::optional<Point> at = std::nullopt);

} // namespace trelvik
