// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands.h"
#include "common.h"
#include "document/file_system.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    using namespace trelvik::cli;

    trelvik::WriteOutputAsBytes();

    CLI::App app{"trelvik-cli: generate, inspect, convert, render and fix Settlers II maps"};
    app.name("trelvik-cli");
    app.require_subcommand(1);

    CommandContext ctx;
    ctx.ProgramDir = trelvik::Utf8FromPath(
        trelvik::ExecutablePath(argc > 0 ? argv[0] : "trelvik-cli").parent_path());
    AddGenerateCommand(app, ctx);
    AddInfoCommand(app, ctx);
    AddConvertCommand(app, ctx);
    AddRenderCommand(app, ctx);
    AddHarborCommand(app, ctx);
    AddRemoveAnimalsCommand(app, ctx);
    AddRecomputeCommand(app, ctx);
    AddCheckCommand(app, ctx);

    try {
        std::vector<std::string> args = trelvik::ProgramArguments(argc, argv);
        std::reverse(args.begin(), args.end()); // the parser takes them last first
        app.parse(args);
    } catch (const CLI::ParseError &e) {
        const int code = app.exit(e);
        return code == 0 ? kExitOk : kExitUsage;
    }
    return ctx.ExitCode;
}
