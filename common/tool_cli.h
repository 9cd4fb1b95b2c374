// The conventions the command-line companions share (tdbtool, vxmtool, mixtool): --help on
// standard output and --version with the toolset's version, both ending with exit code 0; a
// usage error (no command, an unknown command or option, a missing or wrong argument) reported
// as "PROG: message" on standard error, naming what was wrong, with exit code 2. A failure of
// the work itself is reported by the program and ends with exit code 1.
#pragma once

#include <CLI/CLI.hpp>

#include "common/tool_report.h"

namespace tool_cli {

// Gives app (named after its program) the --version flag.
void Prepare(CLI::App& app);

// Parses the arguments. Returns -1 when the program goes on with its command, or the exit code
// to end with once help, the version or a usage error has been printed.
int Parse(CLI::App& app, int argc, char** argv);

// Checks of option values that word their refusal as the rest of the messages: a whole number
// from low to high, and a number above 0.
CLI::Validator NumberFrom(long long low, long long high);
CLI::Validator AboveZero();

}  // namespace tool_cli
