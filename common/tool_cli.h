// The conventions the command-line companions share (tdbtool, vxmtool, mixtool): --help on
// standard output and --version with the toolset's version, both ending with exit code 0; a
// usage error (no command, an unknown command or option, a missing or wrong argument) reported
// as "PROG: message" on standard error, naming what was wrong, with exit code 2. A failure of
// the work itself is reported by the program and ends with exit code 1.
#pragma once

#include <CLI/CLI.hpp>

namespace tool_cli {

enum ExitCode { kSuccess = 0, kFailure = 1, kUsage = 2 };

// Gives app (named after its program) the --version flag.
void Prepare(CLI::App& app);

// Parses the arguments. Returns -1 when the program goes on with its command, or the exit code
// to end with once help, the version or a usage error has been printed.
int Parse(CLI::App& app, int argc, char** argv);

}  // namespace tool_cli
