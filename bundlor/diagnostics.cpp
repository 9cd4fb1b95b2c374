// Failure and warning lines of a bundlor run.
#include "bundlor/diagnostics.h"

void DiagnosticsClass::Failure(const char* path, const char* reason) {
  std::fprintf(stream, "bundlor: %s: %s\n", path, reason);
  ++failures;
}

void DiagnosticsClass::Failure(const char* message) {
  std::fprintf(stream, "bundlor: %s\n", message);
  ++failures;
}

void DiagnosticsClass::Warning(const char* path, const char* reason) {
  std::fprintf(stream, "bundlor: warning: %s: %s\n", path, reason);
  ++warnings;
}
