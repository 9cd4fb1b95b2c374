// How the command-line programs report what went wrong: one line each on standard error (or the
// stream given), "PROG: message" for a failure and "PROG: warning: message" for a warning, a file
// named as "PATH: REASON" with the system's reason. A write to standard output that failed (a
// full disk, a closed pipe) is reported the same way, as "PROG: standard output: REASON".
#pragma once

#include <cstdio>
#include <string>

namespace tool_cli {

// The exit codes the companions share; bundlor and facetrue keep their own fixed ones.
enum ExitCode { kSuccess = 0, kFailure = 1, kUsage = 2 };

class ReportClass {
 public:
  // stream null means standard error.
  constexpr explicit ReportClass(const char* program, std::FILE* stream = nullptr)
      : program(program), stream(stream) {}

  const char* Program() const { return program; }

  // Each Fail writes its line and returns kFailure, so that a command can end with
  // `return report.Fail(...)`.
  int Fail(const std::string& message) const;
  int Fail(const std::string& path, const char* reason) const;
  // The reason is the system's text for an error code of the platform layer.
  int Fail(const std::string& path, int code) const;
  void Warn(const std::string& message) const;
  void Warn(const std::string& path, const char* reason) const;

  // After a write to standard output through the C runtime failed: says why, returns kFailure.
  int FailStandardOutput() const;
  // Ends a command that printed to output: flushes it and returns code, or, when any of it could
  // not be written, reports that and returns failure.
  int FinishOutput(std::FILE* output, int code, int failure = kFailure) const;

 private:
  void Line(const char* kind, const std::string& message) const;

  const char* program;
  std::FILE* stream;
};

}  // namespace tool_cli
