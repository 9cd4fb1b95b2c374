// DiagnosticsClass: the failures and warnings of one bundlor run. Each is written to a stream as
// it happens, one line each ("bundlor: path: reason", "bundlor: warning: path: reason"), and
// counted, so the run can end with the right exit code.
#pragma once

#include <cstdio>

#include "common/progress_line.h"
#include "common/tool_report.h"

class DiagnosticsClass {
 public:
  explicit DiagnosticsClass(std::FILE* stream) : report("bundlor", stream) {}

  void Failure(const char* path, const char* reason);
  // A message that already names its path.
  void Failure(const char* message);
  void Warning(const char* path, const char* reason);

  // A progress line on the same terminal, erased before each line.
  void SetProgress(ProgressLineClass* line) { progress = line; }

  int Failures() const { return failures; }
  int Warnings() const { return warnings; }

 private:
  tool_cli::ReportClass report;
  ProgressLineClass* progress = nullptr;
  int failures = 0;
  int warnings = 0;
};
