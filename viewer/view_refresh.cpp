// SPDX-License-Identifier: GPL-3.0-or-later
#include "view_refresh.h"

#include "document/code_tables.h"
#include "document/file_system.h"
#include "document/map_text.h"

#include <filesystem>

namespace trelvik {
namespace {

constexpr int kHeightPosition = 2;
constexpr int kLayer12Position = 13;
constexpr int kShadingPosition = 14;

} // namespace

std::string MapInfoText(const MapDocument &document, int layer)
{
    if (layer < 1 || layer > kLayerCount)
        return "Settlers II view";
    const LayerBlockHeader &block = document.BlockHeader(layer);
    return "Map data " + std::to_string(layer) + "\r\nHeader: " + HexPad(block.Marker[0], 0) + " "
           + HexPad(block.Marker[1], 0) + " | " + std::to_string(block.Zero) + " | "
           + std::to_string(block.Width) + " x " + std::to_string(block.Height) + " | "
           + std::to_string(block.One) + " | " + std::to_string(block.DataLength) + " bytes";
}

RefreshPlan PlanRefresh(const MapDocument &document, int position, const std::string &programDir)
{
    if (position < kFirstSelectorPosition + 1 || position > kLastSelectorPosition)
        position = kFirstSelectorPosition;

    RefreshPlan plan;
    plan.Layer = position == kFirstSelectorPosition ? 0 : position - 1;
    plan.MapInfo = MapInfoText(document, plan.Layer);
    switch (position) {
    case kHeightPosition:
        plan.Action = ColourAction::GreyRamp;
        plan.GreyFactor = kHeightRampFactor;
        break;
    case kLayer12Position:
        plan.Action = ColourAction::GreyRamp;
        plan.GreyFactor = kLayer12RampFactor;
        break;
    case kShadingPosition:
        plan.Action = ColourAction::GreyRamp;
        plan.GreyFactor = kShadingRampFactor;
        break;
    default: {
        plan.Action = ColourAction::PaletteFile;
        const std::string fileName = WorldTypeName(document.Header.WorldType) + ".pal";
        plan.PalettePath =
            programDir.empty() ? fileName : Utf8FromPath(PathFromUtf8(programDir) / fileName);
        break;
    }
    }
    return plan;
}

PaletteLoadResult ApplyColourAction(const RefreshPlan &plan, ColourTable &table)
{
    if (plan.Action == ColourAction::GreyRamp) {
        FillGreyRamp(table, plan.GreyFactor);
        return {};
    }
    return LoadPaletteFile(plan.PalettePath, table);
}

std::span<const uint8_t>
PlannedBytes(const RefreshPlan &plan, const MapDocument &document, const ComposedView &composed)
{
    if (plan.Layer >= 1 && plan.Layer <= kLayerCount)
        return document.Layer(plan.Layer);
    return composed;
}

} // namespace trelvik
