// The part of the operating-system layer that is the same on every system: which disk is in use.
#include "common/platform/platform.h"

namespace platform {
namespace {

DiskInterface* g_disk = nullptr;  // null: the system's own

}  // namespace

DiskInterface& Disk() { return g_disk ? *g_disk : SystemDisk(); }

DiskInterface* SetDisk(DiskInterface* disk) {
  DiskInterface* old = &Disk();
  g_disk = disk;
  return old;
}

// Far from the codes of either system (on Windows, the bit that marks an application's own codes).
constexpr int kNotRegular = 0x20000001;

int ErrorNotRegular() { return kNotRegular; }

const char* OwnErrorText(int code) { return code == kNotRegular ? "not a regular file" : nullptr; }

int RegularFileError(const char* path) {
  FileStatus status;
  if (!Disk().Status(path, &status)) return LastError();
  return status.is_regular ? 0 : kNotRegular;
}

bool IsSameFile(const char* a, const char* b) {
  FileIdentity first, second;
  return Disk().Identify(kInvalidHandle, a, &first) && Disk().Identify(kInvalidHandle, b, &second) &&
         first.SameFile(second);
}

}  // namespace platform
