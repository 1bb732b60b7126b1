#include "commands.h"
#include "common.h"
#include "tools/animal_removal.h"
#include "tools/coastal_castle_fix.h"

#include <iostream>
#include <memory>

namespace trelvik::cli {
namespace {

struct InOutOptions
{
    std::string In;
    std::string Out;
};

CLI::App *AddInOutCommand(CLI::App &app,
                          const std::string &name,
                          const std::string &description,
                          const std::shared_ptr<InOutOptions> &options)
{
    CLI::App *sub = app.add_subcommand(name, description);
    sub->add_option("IN", options->In, "Map file to read")->required();
    sub->add_option("-o,--output", options->Out, "Map file to write")->required();
    return sub;
}

} // namespace

void AddHarborCommand(CLI::App &app, CommandContext &ctx)
{
    auto options = std::make_shared<InOutOptions>();
    CLI::App *sub = AddInOutCommand(app, "harbor",
                                    "Turn castle sites next to water into harbour sites", options);
    sub->callback([options, &ctx] {
        auto doc = LoadMapOrReport(options->In);
        if (!doc) {
            ctx.ExitCode = kExitMapError;
            return;
        }
        const int32_t count = CoastalCastleFix(*doc);
        if (!SaveMapOrReport(options->Out, *doc)) {
            ctx.ExitCode = kExitMapError;
            return;
        }
        if (count == 0)
            std::cout << "There were no positions to fix\n";
        else
            std::cout << "There is now " << count << " new positions for harbors!\n";
        std::cout << "Wrote " << options->Out << '\n';
        ctx.ExitCode = kExitOk;
    });
}

void AddRemoveAnimalsCommand(CLI::App &app, CommandContext &ctx)
{
    auto options = std::make_shared<InOutOptions>();
    CLI::App *sub = AddInOutCommand(app, "remove-animals", "Remove all animals of a map", options);
    sub->callback([options, &ctx] {
        auto doc = LoadMapOrReport(options->In);
        if (!doc) {
            ctx.ExitCode = kExitMapError;
            return;
        }
        RemoveAnimals(*doc);
        if (!SaveMapOrReport(options->Out, *doc)) {
            ctx.ExitCode = kExitMapError;
            return;
        }
        std::cout << "File footer cleared\nWrote " << options->Out << '\n';
        ctx.ExitCode = kExitOk;
    });
}

} // namespace trelvik::cli
