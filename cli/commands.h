#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace trelvik::cli {

/// What every subcommand shares: where the program lives and the exit code it leaves.
struct CommandContext
{
    /// Folder that holds trelvik-cli; the palettes are looked for there.
    std::string ProgramDir;
    int ExitCode = 0;
};

// Each Add...Command registers one subcommand whose callback sets ctx.ExitCode.
void AddGenerateCommand(CLI::App &app, CommandContext &ctx);
void AddInfoCommand(CLI::App &app, CommandContext &ctx);
void AddConvertCommand(CLI::App &app, CommandContext &ctx);
void AddRenderCommand(CLI::App &app, CommandContext &ctx);
void AddHarborCommand(CLI::App &app, CommandContext &ctx);
void AddRemoveAnimalsCommand(CLI::App &app, CommandContext &ctx);

} // namespace trelvik::cli
