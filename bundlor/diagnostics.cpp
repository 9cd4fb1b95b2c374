// Failure and warning lines of a bundlor run.
#include "bundlor/diagnostics.h"

void DiagnosticsClass::Failure(const char* path, const char* reason) {
  if (progress) progress->Erase();
  report.Fail(path, reason);
  ++failures;
}

void DiagnosticsClass::Failure(const char* message) {
  if (progress) progress->Erase();
  report.Fail(message);
  ++failures;
}

void DiagnosticsClass::Warning(const char* path, const char* reason) {
  if (progress) progress->Erase();
  report.Warn(path, reason);
  ++warnings;
}
