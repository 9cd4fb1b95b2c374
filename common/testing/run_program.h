// Test helper: runs a built program with standard input on a pipe that stays open (so a program
// that waits for input would hang rather than read an end of file) and collects its standard
// output, standard error and exit code. A program that runs longer than the limit is killed.
#pragma once

#include <string>
#include <vector>

struct ProgramResult {
  int exit_code = -1;  // -1 when it did not end by itself
  std::string out;
  std::string err;
};

// Runs program with args in folder (the test's own current folder when empty).
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& folder = "", int limit_seconds = 30);

#ifndef _WIN32
// Runs program with args on a pseudo-terminal of its own (standard input, output and error) and
// collects what it shows there (line ends as the terminal sends them, "\r\n") and its exit code.
// A program still running after the limit (waiting for a key, say) is killed: exit code -1.
struct TerminalRun {
  int exit_code = -1;
  std::string text;
};
TerminalRun RunOnTerminal(const std::string& program, const std::vector<std::string>& args,
                          int limit_seconds = 10);
#endif
