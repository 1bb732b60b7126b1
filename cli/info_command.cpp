// SPDX-License-Identifier: GPL-3.0-or-later
#include "arguments.h"
#include "commands.h"
#include "common.h"
#include "document/code_tables.h"
#include "document/fixed_text_field.h"
#include "document/map_file.h"
#include "document/map_text.h"
#include "play/fairness.h"
#include "play/headquarters.h"
#include "viewer/point_readout.h"

#include <cstdio>
#include <iomanip>
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
    bool Players = false;
    int Radius = kDefaultFairnessRadius;
};

// The smallest distance between two headquarters marked in the layers, when there are two to
// seven of them (a damaged map may mark many more points).
std::optional<int64_t> HeadquartersDistance(const MapDocument &doc)
{
    const std::vector<Point> marks = FindHeadquartersMarks(doc);
    if (marks.size() > static_cast<std::size_t>(kMaxPlayers))
        return std::nullopt;
    return SmallestDistance(PointGrid(doc), marks);
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
    j["file"] = Shown(file);
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
    std::cout << "File: " << Shown(file) << '\n'
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

// A balance as two decimals: "0.92", "1.00".
std::string Ratio(double value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

nlohmann::json PlayersJson(const std::string &file, const FairnessReport &report)
{
    nlohmann::json j;
    j["file"] = Shown(file);
    j["radius"] = report.Radius;
    j["players"] = nlohmann::json::array();
    for (const PlayerStart &start : report.Players) {
        nlohmann::json player = {
            {"player", start.Player + 1}, {"x", start.At.X}, {"y", start.At.Y}};
        for (std::size_t m = 0; m < kStartMeasureCount; ++m) {
            const auto measure = static_cast<StartMeasure>(m);
            const int64_t value = start.Value(measure);
            if (measure == StartMeasure::StepsToMine && value < 0)
                player[StartMeasureKey(measure)] = nullptr; // the map has no mine site
            else
                player[StartMeasureKey(measure)] = value;
        }
        j["players"].push_back(player);
    }
    j["balance"] = nlohmann::json::object();
    for (std::size_t m = 0; m < kStartMeasureCount; ++m) {
        const auto measure = static_cast<StartMeasure>(m);
        j["balance"][StartMeasureKey(measure)] = report.BalanceOf(measure);
    }
    j["worst"] = StartMeasureKey(report.Worst());
    return j;
}

// One row a measure, one column a player, and the balance: smallest ÷ largest.
void PrintPlayersText(const std::string &file, const FairnessReport &report)
{
    std::cout << "File: " << Shown(file) << '\n'
              << "Players: " << report.Players.size() << ", counted 1 to " << report.Radius
              << " steps from each headquarters\n";
    constexpr int kNameWidth = 18;
    constexpr int kColumn = 8;
    std::cout << std::left << std::setw(kNameWidth) << "" << std::right;
    for (const PlayerStart &start : report.Players)
        std::cout << std::setw(kColumn) << ("P" + std::to_string(start.Player + 1));
    std::cout << std::setw(kColumn + 2) << "balance" << '\n';
    std::cout << std::left << std::setw(kNameWidth) << "headquarters" << std::right;
    for (const PlayerStart &start : report.Players)
        std::cout << std::setw(kColumn)
                  << (std::to_string(start.At.X) + "," + std::to_string(start.At.Y));
    std::cout << '\n';
    for (std::size_t m = 0; m < kStartMeasureCount; ++m) {
        const auto measure = static_cast<StartMeasure>(m);
        std::cout << std::left << std::setw(kNameWidth) << StartMeasureName(measure) << std::right;
        for (const PlayerStart &start : report.Players) {
            const int64_t value = start.Value(measure);
            std::cout << std::setw(kColumn)
                      << (value < 0 ? std::string("none") : std::to_string(value));
        }
        std::cout << std::setw(kColumn + 2) << Ratio(report.BalanceOf(measure)) << '\n';
    }
    const StartMeasure worst = report.Worst();
    std::cout << "Least even: " << StartMeasureName(worst) << " (" << Ratio(report.BalanceOf(worst))
              << ")\n";
}

// The fairness report of the map's starts; a map whose layers do not hold it is an error.
int PrintPlayers(const InfoOptions &options, const MapDocument &doc)
{
    const std::optional<FairnessReport> report = MeasureFairness(doc, options.Radius);
    if (!report)
        return Fail("the layers of " + options.File + " do not hold its " + SizeText(doc.Header)
                    + " points, so its starts cannot be judged");
    if (options.Json)
        std::cout << PlayersJson(options.File, *report).dump(2) << '\n';
    else if (report->Players.empty())
        std::cout << "File: " << Shown(options.File)
                  << "\nNo player's headquarters is marked in layers 5 and 6.\n";
    else
        PrintPlayersText(options.File, *report);
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
    CLI::Option *players = sub->add_flag(
        "--players", options->Players,
        "Print how each player's start compares with the others': what lies within the radius of "
        "each headquarters, and per measure the smallest value divided by the largest");
    sub->add_option("--radius", options->Radius,
                    "Steps from a headquarters counted with --players (1 to 256, default 12)")
        ->check(CLI::Range(1, kMaxFairnessRadius))
        ->needs(players);
    players->excludes("--at");
    sub->callback([options, &ctx] {
        const auto doc = LoadMapOrReport(options->File);
        if (!doc) {
            ctx.ExitCode = kExitMapError;
            return;
        }
        if (options->Players) {
            ctx.ExitCode = PrintPlayers(*options, *doc);
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
