#include "arguments.h"
#include "commands.h"
#include "common.h"
#include "document/code_tables.h"
#include "document/fixed_text_field.h"
#include "document/map_file.h"
#include "document/map_text.h"
#include "play/headquarters.h"
#include "viewer/point_readout.h"

#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

namespace trelvik::cli {
namespace {

struct InfoOptions
{
    std::string File;
    bool Json = false;
    std::string At; // "X,Y", checked by the option's validator
};

// The smallest distance between two headquarters marked in the layers, when there are two to
// seven of them (a damaged map may mark many more points).
std::optional<int64_t> HeadquartersDistance(const MapDocument &doc)
{
    const std::vector<play::Point> marks = FindHeadquartersMarks(doc);
    if (marks.size() > static_cast<std::size_t>(kMaxPlayers))
        return std::nullopt;
    return SmallestDistance(play::PointGrid(doc), marks);
}

std::string HexBytes(std::span<const uint8_t> bytes)
{
    std::string text;
    for (uint8_t b : bytes)
        text += (text.empty() ? "" : " ") + HexPad(b, 2);
    return text;
}

nlohmann::json InfoJson(const std::string &file, const MapDocument &doc)
{
    const MapHeader &h = doc.Header;
    nlohmann::json j;
    j["file"] = file;
    j["title"] = FixedTextField::Display(h.Title);
    j["author"] = FixedTextField::Display(h.Author);
    j["worldType"] = {{"code", h.WorldType}, {"name", WorldTypeName(h.WorldType)}};
    j["width"] = h.Width;
    j["height"] = h.Height;
    j["players"] = h.PlayerCount;
    j["headquarters"] = nlohmann::json::array();
    for (std::size_t p = 0; p < kHeadquartersCount; ++p) {
        j["headquarters"].push_back(
            {{"player", p + 1}, {"x", h.HeadquartersX[p]}, {"y", h.HeadquartersY[p]}});
    }
    if (const auto distance = HeadquartersDistance(doc))
        j["smallestHeadquartersDistance"] = *distance;
    j["unknownBytes"] = HexBytes(h.UnknownBytes);
    j["areas"] = nlohmann::json::array();
    for (const AreaEntry &area : h.Areas) {
        if (area.Type == 0)
            break;
        j["areas"].push_back({{"type", AreaTypeName(area.Type)},
                              {"x", area.X},
                              {"y", area.Y},
                              {"size", area.Size},
                              {"row", AreaRow(area)}});
    }
    j["animals"] = nlohmann::json::array();
    for (const AnimalEntry &animal : doc.Animals) {
        j["animals"].push_back({{"species", AnimalName(animal.Species)},
                                {"x", animal.X},
                                {"y", animal.Y},
                                {"row", AnimalRow(animal)}});
    }
    j["layers"] = nlohmann::json::array();
    for (int k = 1; k <= kLayerCount; ++k) {
        const LayerBlockHeader &b = doc.BlockHeader(k);
        j["layers"].push_back({{"layer", k},
                               {"length", doc.Layer(k).size()},
                               {"marker", HexBytes(b.Marker)},
                               {"width", b.Width},
                               {"height", b.Height}});
    }
    j["footer"] = FooterSizeLine(doc.Animals.size());
    return j;
}

void PrintInfoText(const std::string &file, const MapDocument &doc)
{
    const MapHeader &h = doc.Header;
    std::cout << "File: " << file << '\n'
              << "Map name: " << FixedTextField::Display(h.Title) << '\n'
              << "Map author: " << FixedTextField::Display(h.Author) << '\n'
              << "World type: " << WorldTypeName(h.WorldType) << '\n'
              << "Size: " << SizeText(h) << '\n'
              << "Players: " << unsigned{h.PlayerCount} << '\n';
    std::string hq = HeadquartersText(h);
    for (std::size_t pos; (pos = hq.find('\r')) != std::string::npos;)
        hq.erase(pos, 1);
    std::cout << hq;
    if (const auto distance = HeadquartersDistance(doc))
        std::cout << "Smallest distance between headquarters: " << *distance << " steps\n";
    std::cout << UnknownBytesText(h) << '\n' << FooterSizeLine(doc.Animals.size()) << '\n';

    const std::vector<std::string> areas = AreaRows(h);
    std::cout << "Areas: " << areas.size() << '\n';
    for (const std::string &row : areas)
        std::cout << "  " << row << '\n';
    std::cout << "Animals: " << doc.Animals.size() << '\n';
    for (const AnimalEntry &animal : doc.Animals)
        std::cout << "  " << AnimalRow(animal) << '\n';
    std::cout << "Layers:\n";
    for (int k = 1; k <= kLayerCount; ++k)
        std::cout << "  Layer " << k << ": " << doc.Layer(k).size() << " bytes\n";
}

nlohmann::json PointJson(const PointReadout &readout)
{
    return {
        {"x", readout.X}, {"y", readout.Y}, {"layers", readout.Values}, {"names", readout.Names}};
}

// The inspector's read-out of one point; a point outside the map is a usage error.
int PrintPoint(const InfoOptions &options, const MapDocument &doc)
{
    const PointArgument at = ParsePoint(options.At).value_or(PointArgument{-1, -1});
    const std::optional<PointReadout> readout = ReadPoint(doc, at.X, at.Y);
    if (!readout) {
        std::cerr << "trelvik-cli: --at " << options.At << " lies outside the map, which has "
                  << SizeText(doc.Header) << " points (x and y count from 0)\n";
        return kExitUsage;
    }
    if (options.Json)
        std::cout << PointJson(*readout).dump(2) << '\n';
    else
        std::cout << ReadoutText(*readout) << '\n';
    return kExitOk;
}

} // namespace

void AddInfoCommand(CLI::App &app, CommandContext &ctx)
{
    auto options = std::make_shared<InfoOptions>();
    CLI::App *sub = app.add_subcommand(
        "info", "Print a map's header, lists and layer lengths, or the layer values of one point");
    sub->add_option("FILE", options->File, "Map file (.swd, .wld or .dat)")->required();
    sub->add_flag("--json", options->Json, "Print JSON instead of text");
    sub->add_option("--at", options->At,
                    "Print only the fourteen layer values of the point X,Y (from 0,0 at the top "
                    "left), with their names where known")
        ->check(CLI::Validator(
            [](const std::string &text) {
                return ParsePoint(text) ? std::string()
                                        : "expects X,Y: two whole numbers such as 12,34";
            },
            "X,Y"));
    sub->callback([options, &ctx] {
        const auto doc = LoadMapOrReport(options->File);
        if (!doc) {
            ctx.ExitCode = kExitMapError;
            return;
        }
        if (!options->At.empty()) {
            ctx.ExitCode = PrintPoint(*options, *doc);
            return;
        }
        if (options->Json)
            std::cout << InfoJson(options->File, *doc).dump(2) << '\n';
        else
            PrintInfoText(options->File, *doc);
        ctx.ExitCode = kExitOk;
    });
}

} // namespace trelvik::cli
