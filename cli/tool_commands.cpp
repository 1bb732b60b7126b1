// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands.h"
#include "play/building_quality.h"
#include "play/shading.h"
#include "tools/animal_removal.h"
#include "tools/coastal_castle_fix.h"

namespace trelvik::cli {

void AddHarborCommand(CLI::App &app, CommandContext &ctx)
{
    AddMapChangeCommand(app, ctx, "harbor", "Turn castle sites next to water into harbour sites",
                        [](MapDocument &doc) {
                            const int32_t count = CoastalCastleFix(doc);
                            if (count == 0)
                                return std::string("There were no positions to fix\n");
                            return "There is now " + std::to_string(count)
                                   + " new positions for harbors!\n";
                        });
}

void AddRemoveAnimalsCommand(CLI::App &app, CommandContext &ctx)
{
    AddMapChangeCommand(app, ctx, "remove-animals", "Remove all animals of a map",
                        [](MapDocument &doc) {
                            RemoveAnimals(doc);
                            return std::string("File footer cleared\n");
                        });
}

void AddRecomputeCommand(CLI::App &app, CommandContext &ctx)
{
    AddMapChangeCommand(app, ctx, "recompute",
                        "Recompute the shading and the building quality from the map's terrain, "
                        "heights and objects",
                        [](MapDocument &doc) {
                            ComputeShading(doc);
                            ComputeBuildingQuality(doc);
                            return std::string("Shading and building quality recomputed\n");
                        });
}

} // namespace trelvik::cli
