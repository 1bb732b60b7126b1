#include "commands.h"
#include "common.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>

namespace {

std::string ProgramDir(const char *argv0)
{
    std::error_code error;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        exe = std::filesystem::absolute(argv0, error);
    return exe.parent_path().string();
}

} // namespace

int main(int argc, char **argv)
{
    using namespace trelvik::cli;

    CLI::App app{"trelvik-cli: generate, inspect, convert, render and fix Settlers II maps"};
    app.name("trelvik-cli");
    app.require_subcommand(1);

    CommandContext ctx;
    ctx.ProgramDir = ProgramDir(argc > 0 ? argv[0] : "trelvik-cli");
    AddGenerateCommand(app, ctx);
    AddInfoCommand(app, ctx);
    AddConvertCommand(app, ctx);
    AddRenderCommand(app, ctx);
    AddHarborCommand(app, ctx);
    AddRemoveAnimalsCommand(app, ctx);
    AddRecomputeCommand(app, ctx);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError &e) {
        const int code = app.exit(e);
        return code == 0 ? kExitOk : kExitUsage;
    }
    return ctx.ExitCode;
}
