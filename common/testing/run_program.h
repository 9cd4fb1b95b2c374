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
