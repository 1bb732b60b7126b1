// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "colour_table.h"
#include "composed_view.h"
#include "document/map_document.h"
#include "palette_file.h"

#include <cstdint>
#include <span>
#include <string>

namespace trelvik {

/// Selector positions: 1 is the composed view, k + 1 shows layer k.
inline constexpr int kFirstSelectorPosition = 1;
inline constexpr int kLastSelectorPosition = 15;

enum class ColourAction {
    GreyRamp,
    PaletteFile,
};

/// What one refresh of the layer view does, worked out once for the window and the command
/// line alike.
struct RefreshPlan
{
    ColourAction Action = ColourAction::PaletteFile;
    /// The ramp's factor in 1/10000, when Action is GreyRamp.
    int32_t GreyFactor = 0;
    /// The world's palette, e.g. "<dir>/Greenland.pal", when Action is PaletteFile.
    std::string PalettePath;
    /// The layer drawn (1..14), or 0 for the composed view.
    int Layer = 0;
    /// The text of the information label, lines separated by CR LF.
    std::string MapInfo;
};

/// The plan for a selector position; positions outside 2..15 behave like 1. Palettes are looked
/// for in `programDir`; it and the palette's path are UTF-8.
RefreshPlan PlanRefresh(const MapDocument &document, int position, const std::string &programDir);

/// "Settlers II view" for the composed view; for layer k "Map data k", CR LF and its block
/// header: "Header: 10 27 | 0 | 64 x 64 | 1 | 4096 bytes".
std::string MapInfoText(const MapDocument &document, int layer);

/// Applies the plan's colour action. A palette that cannot be read leaves the table as the
/// load left it; the outcome says why, for callers that want to tell.
PaletteLoadResult ApplyColourAction(const RefreshPlan &plan, ColourTable &table);

/// The bytes the plan draws: a layer of the document or the composed view.
std::span<const uint8_t>
PlannedBytes(const RefreshPlan &plan, const MapDocument &document, const ComposedView &composed);

} // namespace trelvik
