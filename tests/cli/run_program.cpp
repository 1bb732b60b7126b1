#include "run_program.h"

#include "test_maps.h"

#include <cstdio>
#include <sys/wait.h>

namespace trelvik::test {

ProgramRun RunCli(const std::string &arguments)
{
    TempDir dir;
    const std::string outFile = dir.File("out.txt");
    const std::string errFile = dir.File("err.txt");
    const std::string command = std::string(TRELVIK_BIN_DIR) + "/trelvik-cli " + arguments + " >"
                                + outFile + " 2>" + errFile;
    const int status = std::system(command.c_str());
    ProgramRun run;
    run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const auto out = ReadBytes(outFile);
    const auto err = ReadBytes(errFile);
    run.Out.assign(out.begin(), out.end());
    run.Err.assign(err.begin(), err.end());
    return run;
}

} // namespace trelvik::test
