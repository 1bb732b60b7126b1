// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/map_document.h"

#include <CLI/CLI.hpp>
#include <functional>
#include <string>

namespace trelvik::cli {

/// What every subcommand shares: where the program lives and the exit code it leaves.
struct CommandContext
{
    /// Folder that holds trelvik-cli; the palettes are looked for there.
    std::string ProgramDir;
    int ExitCode = 0;
};

/// Registers a subcommand "NAME IN -o OUT" that reads the map IN, changes it with `change` and
/// writes it to OUT. `change` returns the lines to print before "Wrote OUT" (may be empty).
void AddMapChangeCommand(CLI::App &app,
                         CommandContext &ctx,
                         const std::string &name,
                         const std::string &description,
                         std::function<std::string(MapDocument &)> change);

// Each Add...Command registers one subcommand whose callback sets ctx.ExitCode.
void AddGenerateCommand(CLI::App &app, CommandContext &ctx);
void AddInfoCommand(CLI::App &app, CommandContext &ctx);
void AddConvertCommand(CLI::App &app, CommandContext &ctx);
void AddRenderCommand(CLI::App &app, CommandContext &ctx);
void AddHarborCommand(CLI::App &app, CommandContext &ctx);
void AddRemoveAnimalsCommand(CLI::App &app, CommandContext &ctx);
void AddRecomputeCommand(CLI::App &app, CommandContext &ctx);
void AddCheckCommand(CLI::App &app, CommandContext &ctx);

} // namespace trelvik::cli
