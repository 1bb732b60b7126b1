// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands.h"
#include "common.h"

#include <iostream>
#include <memory>

namespace trelvik::cli {

void AddMapChangeCommand(CLI::App &app,
                         CommandContext &ctx,
                         const std::string &name,
                         const std::string &description,
                         std::function<std::string(MapDocument &)> change)
{
    struct Options
    {
        std::string In;
        std::string Out;
    };
    auto options = std::make_shared<Options>();
    CLI::App *sub = app.add_subcommand(name, description);
    sub->add_option("IN", options->In, "Map file to read (.swd, .wld or .dat)")->required();
    sub->add_option("-o,--output", options->Out, "Map file to write")->required();
    sub->callback([options, &ctx, change = std::move(change)] {
        auto doc = LoadMapOrReport(options->In);
        if (!doc) {
            ctx.ExitCode = kExitMapError;
            return;
        }
        const std::string report = change(*doc);
        if (!SaveMapOrReport(options->Out, *doc)) {
            ctx.ExitCode = kExitMapError;
            return;
        }
        std::cout << report << "Wrote " << Shown(options->Out) << '\n';
        ctx.ExitCode = kExitOk;
    });
}

void AddConvertCommand(CLI::App &app, CommandContext &ctx)
{
    AddMapChangeCommand(app, ctx, "convert", "Read a map in any layout, write the full layout",
                        [](MapDocument &) { return std::string{}; });
}

} // namespace trelvik::cli
