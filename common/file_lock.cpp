#include "common/file_lock.h"

#include "common/path_error.h"
#include "common/platform/errors.h"

FileLockClass::~FileLockClass() { Release(); }

void FileLockClass::Release() {
  if (handle != platform::kInvalidHandle) disk.Close(handle);
  handle = platform::kInvalidHandle;
}

bool FileLockClass::Acquire(const char* target, NarrowStringClass* error) {
  Release();
  path = target;
  // Each round that finds the file replaced while it waited tries again on the new one.
  for (;;) {
    handle = disk.Open(target, platform::kRead);
    if (handle == platform::kInvalidHandle) return FailPath(error, target, platform::LastError());
    if (!disk.Lock(handle)) {
      // No lock to be had here: only a change is found, by Unchanged.
      Release();
      if (!platform::Identify(platform::kInvalidHandle, target, &seen)) {
        return FailPath(error, target, platform::LastError());
      }
      return true;
    }
    platform::FileIdentity named;
    if (!platform::Identify(handle, target, &seen) ||
        !platform::Identify(platform::kInvalidHandle, target, &named)) {
      int code = platform::LastError();
      Release();
      return FailPath(error, target, code);
    }
    if (named.SameFile(seen)) return true;
    Release();
  }
}

bool FileLockClass::AcquireIfFile(const char* target, NarrowStringClass* error) {
  return platform::RegularFileError(target, disk) != 0 || Acquire(target, error);
}

bool FileLockClass::Unchanged(NarrowStringClass* error) const {
  // No file was there to lock (a new name): there is no version to compare with.
  if (path.IsEmpty()) return true;
  platform::FileIdentity now;
  if (!platform::Identify(platform::kInvalidHandle, path.Chars(), &now)) {
    return FailPath(error, path.Chars(), platform::LastError());
  }
  if (now.SameVersion(seen)) return true;
  return FailPath(error, path.Chars(),
                  "another program changed the file while it was being updated; nothing was written, "
                  "run the command again");
}
