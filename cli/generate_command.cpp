// SPDX-License-Identifier: GPL-3.0-or-later
#include "arguments.h"
#include "commands.h"
#include "common.h"
#include "generator/generate_map.h"
#include "play/finish_for_play.h"
#include "play/headquarters.h"

#include <cstdint>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <io.h>
#define TRELVIK_ISATTY _isatty
#else
#include <unistd.h>
#define TRELVIK_ISATTY isatty
#endif

namespace trelvik::cli {
namespace {

struct GenerateOptions
{
    std::string Seed;
    std::string Size;
    std::string Mode;
    std::string World = "greenland";
    std::string Out;
    int Players = 0; // 0: terrain only
    bool Symmetric = false;
};

uint8_t WorldTypeCode(const std::string &world)
{
    if (world == "wasteland")
        return 1;
    if (world == "winter")
        return 2;
    return 0;
}

// Redraws a one-line bar on stderr when the whole percent changes.
class ProgressBar
{
public:
    void Show(int32_t value)
    {
        const int32_t percent = value / 100;
        if (percent == mPercent)
            return;
        mPercent = percent;
        constexpr int32_t kCells = 40;
        const int32_t filled = percent * kCells / 100;
        std::cerr << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
                  << std::string(static_cast<std::size_t>(kCells - filled), '.') << "] " << percent
                  << '%' << std::flush;
    }
    void Finish()
    {
        if (mPercent >= 0)
            std::cerr << '\n';
    }

private:
    int32_t mPercent = -1;
};

void ReportPlayers(const PlayableMap &map,
                   int players,
                   bool symmetric,
                   uint64_t seed,
                   const NewMapRequest &request)
{
    std::cout << "Players: " << players << (symmetric ? " (symmetric)" : "") << '\n';
    if (map.Attempt > 0) {
        std::cout << "Terrain seed: " << map.Seed << " (the terrains of seeds " << seed << " to "
                  << TerrainSeed(seed, map.Attempt - 1) << " could not hold the players)\n";
    }
    if (players > 1) {
        std::cout << "Smallest distance between headquarters: " << map.Finish.SmallestDistance
                  << " steps (at least " << MinimumPlayerDistance(request.Width, request.Height)
                  << ")\n";
    }
}

int Generate(const GenerateOptions &options)
{
    // The validators have accepted both already.
    const uint64_t seed = ParseSeed(options.Seed).value_or(0);
    RandomSource random;
    random.Seed(seed);

    // Whatever is not given is drawn as File > New draws it, from the source seeded with the
    // seed; the generation then starts from the seed again.
    NewMapRequest request;
    if (options.Size.empty() || options.Mode.empty()) {
        request = DrawNewMapRequest(random);
        random.Seed(seed);
    }
    if (const auto size = ParseSize(options.Size)) {
        request.Width = static_cast<int16_t>(size->Width);
        request.Height = static_cast<int16_t>(size->Height);
    }
    if (!options.Mode.empty())
        request.QuickMode = options.Mode == "quick";

    std::cout << "Seed: " << seed << '\n'
              << "Size: " << request.Width << " x " << request.Height << '\n'
              << "Mode: " << ModeName(request.QuickMode) << '\n'
              << std::flush;

    ProgressBar bar;
    ProgressCallback progress;
    if (TRELVIK_ISATTY(2) != 0)
        progress = [&bar](int32_t value) { bar.Show(value); };
    MapDocument document;
    const auto grow = [&](MapDocument &into, uint64_t terrainSeed) {
        random.Seed(terrainSeed);
        if (!GenerateMap(into, request.Width, request.Height, request.QuickMode, random, progress))
            return false;
        into.Header.WorldType = WorldTypeCode(options.World);
        return true;
    };
    const bool generated = options.Players == 0 ? grow(document, seed) : true;
    std::optional<PlayableMap> playable;
    if (options.Players > 0)
        playable = GeneratePlayableMap(document, options.Players, seed, grow, options.Symmetric);
    bar.Finish();
    if (!generated)
        return Fail("Cannot generate a map of " + std::to_string(request.Width) + " x "
                    + std::to_string(request.Height));
    if (options.Players > 0) {
        if (!playable)
            return Fail(
                NoPlayableTerrainMessage(request.Width, request.Height, options.Players, seed));
        ReportPlayers(*playable, options.Players, options.Symmetric, seed, request);
    }

    if (!SaveMapOrReport(options.Out, document))
        return kExitMapError;
    std::cout << "Wrote " << Shown(options.Out) << '\n';
    return kExitOk;
}

} // namespace

void AddGenerateCommand(CLI::App &app, CommandContext &ctx)
{
    auto options = std::make_shared<GenerateOptions>();
    CLI::App *sub = app.add_subcommand(
        "generate", "Generate a random map from a seed, as File > New does in the window");
    sub->add_option("--seed", options->Seed, "Seed, any unsigned 64-bit decimal number")
        ->required()
        ->check(CLI::Validator(
            [](std::string &text) {
                return ParseSeed(text) ? std::string{}
                                       : "the seed must be a decimal number from 0 to "
                                         "18446744073709551615, not '"
                                             + text + "'";
            },
            "UINT64", "seed"));
    sub->add_option("--size", options->Size,
                    "Map size WxH, each side a multiple of 16 from 64 to 256 "
                    "(drawn from the seed when omitted)")
        ->check(CLI::Validator(
            [](std::string &text) {
                return ParseSize(text) ? std::string{}
                                       : "the size must be WxH with each side a multiple of 16 "
                                         "from 64 to 256, not '"
                                             + text + "'";
            },
            "WxH", "size"));
    sub->add_option("--mode", options->Mode,
                    "Land growth: quick or normal (drawn from the seed when omitted)")
        ->check(CLI::IsMember({"quick", "normal"}));
    sub->add_option("--world", options->World,
                    "World type written to the header: greenland, wasteland or winter")
        ->check(CLI::IsMember({"greenland", "wasteland", "winter"}));
    sub->add_option("--players", options->Players,
                    "Finish the map for 1 to 7 players: headquarters far apart, trees, granite, "
                    "resources, building quality, shading and areas")
        ->check(CLI::Validator(
            [](std::string &text) {
                const auto players = ParseSeed(text);
                return players && *players >= 1 && *players <= kMaxPlayers
                           ? std::string{}
                           : "the number of players must be from 1 to 7, not '" + text + "'";
            },
            "1..7", "players"));
    sub->add_flag("--symmetric", options->Symmetric,
                  "With 2 or 4 players: mirror the map so that every start stands on the same "
                  "ground");
    sub->add_option("-o,--output", options->Out, "Map file to write")->required();
    sub->callback([options, &ctx] {
        if (options->Symmetric && options->Players != 2 && options->Players != 4) {
            std::cerr << "trelvik-cli: --symmetric needs --players 2 or --players 4\n";
            ctx.ExitCode = kExitUsage;
            return;
        }
        ctx.ExitCode = Generate(*options);
    });
}

} // namespace trelvik::cli
