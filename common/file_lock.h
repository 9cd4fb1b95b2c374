// FileLockClass: keeps a file from being changed by another process between the moment it is read
// and the moment a new version replaces it (a read-modify-replace through SafeReplaceClass), so
// that two such updates run one after the other instead of the later rename losing the earlier.
//
// Where the system allows (POSIX), the lock is flock on the file itself, held from Acquire until
// the object goes, across the rename that replaces the file. A second process waits in Acquire;
// once the first has replaced the file, the second holds the lock on the old, now nameless file,
// sees that the name leads to another file and takes the lock on that one instead. Nothing is
// left beside the file. Where a file that is open cannot be replaced (Windows), Acquire only
// remembers which version of the file it saw, and Unchanged, asked just before the replacement,
// refuses to go on when another program has replaced or written the file meanwhile.
#pragma once

#include "common/platform/disk.h"
#include "common/string_class.h"

class FileLockClass {
 public:
  // The file is looked at, opened and locked through disk.
  explicit FileLockClass(platform::DiskInterface& disk = platform::SystemDisk()) : disk(disk) {}
  ~FileLockClass();
  FileLockClass(const FileLockClass&) = delete;
  FileLockClass& operator=(const FileLockClass&) = delete;

  // Waits for the lock on the file path names. False with "path: reason" in error.
  bool Acquire(const char* path, NarrowStringClass* error);
  // The same where path names a regular file; what is none (no file yet, a device) needs no lock.
  bool AcquireIfFile(const char* path, NarrowStringClass* error);
  // Whether the file is still the version Acquire saw; false with "path: reason" in error.
  bool Unchanged(NarrowStringClass* error) const;

 private:
  void Release();

  platform::DiskInterface& disk;
  NarrowStringClass path;
  platform::Handle handle = platform::kInvalidHandle;
  platform::FileIdentity seen;
};
