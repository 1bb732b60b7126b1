// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands.h"
#include "common.h"
#include "document/code_page.h"
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
    // Options are -x and --xx on every system: an argument beginning with '/' is a path (on
    // Windows, from the root of the current drive), never an option. The subcommands take this
    // setting when they are made.
    app.allow_windows_style_options(false);

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
        if (e.get_exit_code() == 0)
            return app.exit(e) == 0 ? kExitOk : kExitUsage; // --help
        std::cerr << "trelvik-cli: " << trelvik::EscapeForDisplay(e.what())
                  << "\nRun with --help for more information.\n";
        return kExitUsage;
    } catch (const std::exception &e) {
        // Nothing a command does should end here; if it does, the user hears why.
        return Fail(std::string("unexpected error: ") + e.what());
    } catch (...) {
        return Fail("unexpected error");
    }
    return ctx.ExitCode;
}
