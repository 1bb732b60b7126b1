#include "commands.h"
#include "common.h"
#include "document/file_system.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#endif

namespace {

// The arguments after the program's name, as UTF-8. Windows passes `argv` in the ANSI code
// page, which cannot hold every file name; its wide command line can.
std::vector<std::string> Utf8Arguments(int argc, char **argv)
{
#ifdef _WIN32
    int count = 0;
    if (wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        std::vector<std::string> args;
        for (int i = 1; i < count; ++i)
            args.push_back(trelvik::Utf8FromPath(std::filesystem::path(wide[i])));
        LocalFree(wide);
        return args;
    }
#endif
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

} // namespace

int main(int argc, char **argv)
{
    using namespace trelvik::cli;

#ifdef _WIN32
    // The same bytes as on other systems: no "\r" put before each "\n".
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
#endif

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

    try {
        std::vector<std::string> args = Utf8Arguments(argc, argv);
        std::reverse(args.begin(), args.end()); // the parser takes them last first
        app.parse(args);
    } catch (const CLI::ParseError &e) {
        const int code = app.exit(e);
        return code == 0 ? kExitOk : kExitUsage;
    }
    return ctx.ExitCode;
}
