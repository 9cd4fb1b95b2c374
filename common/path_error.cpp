#include "common/path_error.h"

#include <cstring>
#include <string>

#include "common/platform/platform.h"

NarrowStringClass PathError(const char* path, const char* reason) {
  NarrowStringClass text;
  if (text.TryAcquireBuffer(static_cast<int>(strlen(path) + strlen(reason)) + 3)) {
    text.Append(path);
    text.Append(": ");
    text.Append(reason);
  }
  return text;
}

NarrowStringClass PathError(const char* path, int code) { return PathError(path, platform::ErrorText(code)); }

bool FailPath(NarrowStringClass* error, const char* path, const char* reason) {
  if (error) *error = PathError(path, reason);  // a move: nothing more to allocate
  return false;
}

bool FailPath(NarrowStringClass* error, const char* path, int code) {
  if (error) *error = PathError(path, code);
  return false;
}

bool OutputIsNotInput(NarrowStringClass* error, const char* in, const char* out) {
  if (!platform::IsSameFile(in, out)) return true;
  std::string reason = std::string("the same file as the input ") + in + "; nothing was written";
  return FailPath(error, out, reason.c_str());
}
