// Replacement of a file through a temporary file and a rename.
#include "common/safe_replace.h"

#include "common/path_error.h"
#include "common/platform/platform.h"

SafeReplaceClass::SafeReplaceClass(const char* target_in) : target(target_in) {}

SafeReplaceClass::~SafeReplaceClass() { Abort(); }

bool SafeReplaceClass::Begin() {
  Abort();
  NarrowStringClass prefix(target);
  prefix.Append(".tmp-");
  platform::Handle h = platform::Disk().CreateUnique(prefix, temp_path);
  if (h == platform::kInvalidHandle) return Fail(platform::LastError());
  file.Attach(h);
  file.ClearError();
  platform::FileStatus old;
  bool replacing = platform::Disk().Status(target, &old) && !old.is_directory;
  // The new file takes the old one's owner where the system allows it (a user may not give a
  // file away; the file then stays the user's).
  if (replacing) platform::Disk().SetOwner(h, old.owner, old.group);
  uint32_t mode = replacing ? old.mode : platform::DefaultFileMode();
  if (!platform::Disk().SetMode(h, mode)) {
    Fail(platform::LastError());
    Abort();
    return false;
  }
  return true;
}

bool SafeReplaceClass::Commit() {
  if (temp_path.IsEmpty()) return Fail(error_code ? error_code : platform::ErrorBadHandle());
  bool ok = file.ErrorCode() == 0 || Fail(file.ErrorCode());
  if (ok && durable && !file.Sync()) ok = Fail(file.ErrorCode() ? file.ErrorCode() : platform::LastError());
  if (ok) {
    file.Close();
    if (file.ErrorCode() != 0) ok = Fail(file.ErrorCode());
  }
  if (ok && !platform::Disk().Rename(temp_path, target)) ok = Fail(platform::LastError());
  // The rename itself is in place; a folder that cannot be synced does not undo it.
  if (ok && durable) platform::Disk().SyncFolderOf(target);
  if (!ok) {
    Abort();
    return false;
  }
  temp_path.Release();
  return true;
}

void SafeReplaceClass::Abort() {
  file.Close();
  if (!temp_path.IsEmpty()) {
    platform::Disk().Delete(temp_path);
    temp_path.Release();
  }
}

bool SafeReplaceClass::WriteWhole(const char* target, const void* data, int size, NarrowStringClass* error) {
  SafeReplaceClass replace(target);
  bool ok = replace.Begin();
  if (ok && size > 0 && replace.File().Write(data, size) != size) {
    ok = replace.Fail(replace.File().ErrorCode() ? replace.File().ErrorCode() : platform::ErrorShortWrite());
  }
  ok = ok && replace.Commit();
  if (!ok && error) *error = replace.ErrorMessage();
  return ok;
}

bool SafeReplaceClass::Fail(int code) {
  if (error_code == 0) {
    error_code = code;
    error = PathError(target, code);
  }
  return false;
}
