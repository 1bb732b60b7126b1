#pragma once

#include <string>

namespace trelvik::test {

struct ProgramRun
{
    int ExitCode = -1;
    std::string Out; // standard output
    std::string Err; // standard error
};

/// Runs trelvik-cli from the build's bin folder with the given arguments (a shell word list)
/// and collects its exit code and both outputs.
ProgramRun RunCli(const std::string &arguments);

} // namespace trelvik::test
