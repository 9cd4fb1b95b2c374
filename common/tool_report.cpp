// Failure and warning lines of the command-line programs.
#include "common/tool_report.h"

#include "common/path_error.h"
#include "common/platform/platform.h"

namespace tool_cli {

void ReportClass::Line(const char* kind, const std::string& message) const {
  std::FILE* out = stream ? stream : stderr;
  // Standard output may end on the same terminal or file: lines keep the order they were made in.
  std::fflush(stdout);
  std::fprintf(out, "%s: %s%s\n", program, kind, message.c_str());
  std::fflush(out);
}

int ReportClass::Fail(const std::string& message) const {
  Line("", message);
  return kFailure;
}

int ReportClass::Fail(const std::string& path, const char* reason) const {
  return Fail(path + ": " + reason);
}

int ReportClass::Fail(const std::string& path, int code) const {
  return Fail(PathError(path.c_str(), code).Chars());
}

void ReportClass::Warn(const std::string& message) const { Line("warning: ", message); }

void ReportClass::Warn(const std::string& path, const char* reason) const { Warn(path + ": " + reason); }

int ReportClass::FailStandardOutput() const { return Fail("standard output", platform::RuntimeError()); }

int ReportClass::FinishOutput(std::FILE* output, int code, int failure) const {
  if (std::fflush(output) == 0 && !std::ferror(output)) return code;
  FailStandardOutput();
  return failure;
}

}  // namespace tool_cli
