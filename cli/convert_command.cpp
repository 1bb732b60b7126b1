#include "commands.h"
#include "common.h"

#include <iostream>
#include <memory>

namespace trelvik::cli {

void AddConvertCommand(CLI::App &app, CommandContext &ctx)
{
    struct Options
    {
        std::string In;
        std::string Out;
    };
    auto options = std::make_shared<Options>();
    CLI::App *sub =
        app.add_subcommand("convert", "Read a map in any layout, write the full layout");
    sub->add_option("IN", options->In, "Map file to read (.swd, .wld or .dat)")->required();
    sub->add_option("-o,--output", options->Out, "Map file to write")->required();
    sub->callback([options, &ctx] {
        const auto doc = LoadMapOrReport(options->In);
        if (!doc || !SaveMapOrReport(options->Out, *doc)) {
            ctx.ExitCode = kExitMapError;
            return;
        }
        std::cout << "Wrote " << options->Out << '\n';
        ctx.ExitCode = kExitOk;
    });
}

} // namespace trelvik::cli
