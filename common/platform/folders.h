// Folders: what a walk through folders needs: what a path names, and a folder's entries. The
// walks take one, so that a test can hand them a folder that cannot be listed. Failures return
// false and leave the system's error code in LastError() (errors.h).
#pragma once

#include "common/array.h"
#include "common/platform/file_types.h"

namespace platform {

class Folders {
 public:
  virtual ~Folders() = default;

  // Status of what the path names, following links.
  virtual bool Status(const char* path, FileStatus* status) = 0;
  // Status of the path itself, not following a final link.
  virtual bool LinkStatus(const char* path, FileStatus* status) = 0;
  // Every entry of the folder except "." and "..", in the order the system lists them.
  virtual bool ListDirectory(const char* path, DynamicArrayClass<DirEntry>& entries) = 0;
};

}  // namespace platform
