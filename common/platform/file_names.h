// FileNames: what putting a new file in the place of an old one needs: a file with a unique
// name, renames, deletes and durable names. SafeReplaceClass takes one, so that a test can hand
// it a failing one. Failures return false (or an invalid handle) and leave the system's error
// code in LastError() (errors.h).
#pragma once

#include "common/platform/file_types.h"

namespace platform {

class FileNames {
 public:
  virtual ~FileNames() = default;

  // Creates a new empty file with a unique name starting with prefix, open for reading and
  // writing and readable only by its owner; its name goes to path.
  virtual Handle CreateUnique(const char* prefix, NarrowStringClass& path) = 0;
  // Puts from in place of to, replacing it in one step.
  virtual bool Rename(const char* from, const char* to) = 0;
  // Swaps the names a and b, which must both exist, in one step. False, with nothing changed,
  // where the system cannot do that (the caller then renames).
  virtual bool Exchange(const char* /*a*/, const char* /*b*/) { return false; }
  virtual bool Delete(const char* path) = 0;
  // Deletes the file open as h (which may be kInvalidHandle), created as path. Where a folder on
  // the way was renamed meanwhile, the system that can tell finds the file where it is now.
  virtual bool DeleteOpen(Handle /*h*/, const char* path) { return Delete(path); }
  // Makes the names in the folder that holds path durable (after a rename into it).
  virtual bool SyncFolderOf(const char* path) = 0;
};

}  // namespace platform
