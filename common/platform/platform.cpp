// The part of the operating-system layer that is the same on every system: its own error codes
// and the questions answered through the disk.
#include "common/platform/platform.h"

namespace platform {

// Far from the codes of either system (on Windows, the bit that marks an application's own codes).
constexpr int kNotRegular = 0x20000001;
constexpr int kDanglingLink = 0x20000002;

int ErrorNotRegular() { return kNotRegular; }
int ErrorDanglingLink() { return kDanglingLink; }

const char* OwnErrorText(int code) {
  if (code == kNotRegular) return "not a regular file";
  if (code == kDanglingLink) return "a symbolic link to a missing file";
  return nullptr;
}

int RegularFileError(const char* path, Folders& folders) {
  FileStatus status;
  if (!folders.Status(path, &status)) return LastError();
  return status.is_regular ? 0 : kNotRegular;
}

bool IsSameFile(const char* a, const char* b) {
  FileIdentity first, second;
  return Identify(kInvalidHandle, a, &first) && Identify(kInvalidHandle, b, &second) &&
         first.SameFile(second);
}

}  // namespace platform
