// SPDX-License-Identifier: GPL-3.0-or-later
#include "blank_map.h"

#include "document/code_tables.h"
#include "document/layer_codes.h"
#include "edit/brush.h"
#include "generator/generate_map.h"
#include "play/areas.h"
#include "play/building_quality.h"
#include "play/ground.h"
#include "play/shading.h"

#include <algorithm>

namespace trelvik::edit {
namespace {

constexpr uint8_t kUnusedLayerValue = 7; // layer 10 of every map

std::string SideError(const char *which, int side)
{
    return std::string("The ") + which + " must be " + std::to_string(kMinMapSide) + " to "
           + std::to_string(kMaxMapSide) + " points in steps of " + std::to_string(kMapSideStep)
           + "; " + std::to_string(side) + " is not.";
}

} // namespace

BlankMapResult MakeBlankMap(const BlankMapRequest &request)
{
    if (!IsValidMapSide(request.Width))
        return {std::nullopt, SideError("width", request.Width)};
    if (!IsValidMapSide(request.Height))
        return {std::nullopt, SideError("height", request.Height)};
    if (request.WorldType > 2)
        return {std::nullopt, "There is no world type " + std::to_string(request.WorldType)
                                  + " (0 Greenland, 1 Wasteland, 2 Winter)."};
    const std::vector<uint8_t> terrains = PaintableTerrains(request.WorldType);
    if (std::ranges::find(terrains, request.Terrain) == terrains.end())
        return {std::nullopt, "Terrain code " + std::to_string(request.Terrain)
                                  + " is none a map is painted with."};
    if (request.GroundHeight > kMaxHeight)
        return {std::nullopt, "A height of " + std::to_string(request.GroundHeight)
                                  + " is beyond the game's 0 to " + std::to_string(kMaxHeight)
                                  + "."};

    MapDocument document;
    ResetDocumentForNewMap(document, request.Width, request.Height);
    MapHeader &header = document.Header;
    header.WorldType = request.WorldType;
    header.PlayerCount = 0;
    header.HeadquartersX.fill(-1);
    header.HeadquartersY.fill(-1);
    const auto points =
        static_cast<std::size_t>(request.Width) * static_cast<std::size_t>(request.Height);
    for (MapLayer &layer : document.Layers)
        layer.assign(points, 0);
    std::ranges::fill(document.Layer(1), request.GroundHeight);
    std::ranges::fill(document.Layer(2), request.Terrain);
    std::ranges::fill(document.Layer(3), request.Terrain);
    std::ranges::fill(document.Layer(10), kUnusedLayerValue);
    document.Layer(11)[0] = 1; // as the generator writes it

    const PointGrid grid(document);
    const play::GroundFlags ground = play::ReadWholeGround(grid, document);
    const uint16_t g = ground.front(); // one terrain: every point alike
    const uint8_t resource = (g & play::kAllBuildable) != 0 ? kDrinkingWaterResource
                             : (g & play::kAllMining) != 0  ? kEmptyMountainResource
                                                            : kNoResource;
    std::ranges::fill(document.Layer(12), resource);
    ComputeShading(document);
    ComputeBuildingQuality(document, &ground);
    ComputeAreas(document);
    return {std::move(document), {}};
}

} // namespace trelvik::edit
