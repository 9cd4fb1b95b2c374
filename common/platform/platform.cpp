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

}  // namespace platform
