// The editor program's --help and --version: printed on standard output, exit code 0, no window
// and no display needed; an unknown option is a usage error.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "common/testing/run_program.h"

namespace {

TEST(StrandexProgram, HelpAndVersionPrintAndEnd) {
#ifndef _WIN32
  // Neither needs a display.
  ::unsetenv("DISPLAY");
  ::unsetenv("WAYLAND_DISPLAY");
  ::unsetenv("QT_QPA_PLATFORM");
#endif
  ProgramResult version = RunProgram(STRANDEX_PATH, {"--version"});
  EXPECT_EQ(version.exit_code, 0);
  const std::string first = "strandex 1.0.0\nCopyright (c) 2026 The toolset developers\n";
  EXPECT_EQ(version.out.substr(0, first.size()), first);
  EXPECT_NE(version.out.find("License MIT"), std::string::npos);
  EXPECT_EQ(version.err, "");
  for (const char* option : {"--help", "-h"}) {
    ProgramResult help = RunProgram(STRANDEX_PATH, {option});
    EXPECT_EQ(help.exit_code, 0) << option;
    EXPECT_EQ(help.out.find("Usage: strandex [OPTION] [FILE.tdb]\n"), 0u) << help.out;
    EXPECT_NE(help.out.find("  --version "), std::string::npos);
  }
}

#ifndef _WIN32
TEST(StrandexProgram, UnknownOptionIsAUsageError) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ProgramResult result = RunProgram(STRANDEX_PATH, {"--frobnicate"});
  EXPECT_EQ(result.exit_code, 2);
  EXPECT_EQ(result.out, "");
  // Qt may warn first about its environment.
  const std::string message =
      "strandex: Unknown option 'frobnicate'.\nTry 'strandex --help' for more information.\n";
  EXPECT_EQ(result.err.substr(result.err.size() - std::min(result.err.size(), message.size())), message);
}
#endif

}  // namespace
