// What the disk layer hands out and describes: handles of open files, how they are opened and
// sought, and what is known of a file, of its identity and of a folder's entry.
#pragma once

#include <cstdint>

#include "common/string_class.h"

namespace platform {

using Handle = intptr_t;
constexpr Handle kInvalidHandle = -1;

// Open rights: 0 read and write (open or create), 1 read an existing file, 2 write (create or
// truncate).
enum Rights { kReadWrite = 0, kRead = 1, kWrite = 2 };
// Seek origins: from the start, the current position, the end.
enum Origin { kBegin = 0, kCurrent = 1, kEnd = 2 };

// The longest name of one file or folder (a single path component), in bytes.
constexpr int kMaxNameBytes = 255;

struct FileStatus {
  bool exists = false;
  bool is_directory = false;
  bool is_regular = false;  // a plain file: not a folder, pipe, socket or device
  bool is_stream = false;   // a character device, pipe (FIFO) or socket: bytes go in order, no seeking
  bool is_link = false;     // the path itself is a symbolic link (only from LinkStatus)
  int64_t size = 0;
  int64_t modified = 0;  // seconds since 1970, UTC
  uint32_t mode = 0;     // permission bits
  uint32_t owner = 0;    // user and group that own the file
  uint32_t group = 0;
};

// What tells one file from every other, and one version of it from the next: the device and
// file number (on Windows the volume serial number and file ID), size and last write time.
struct FileIdentity {
  uint64_t device = 0;
  uint64_t file = 0;
  int64_t size = 0;
  int64_t modified_ns = 0;  // nanoseconds since 1970 (as fine as the system keeps it)

  bool SameFile(const FileIdentity& other) const { return device == other.device && file == other.file; }
  bool SameVersion(const FileIdentity& other) const {
    return SameFile(other) && size == other.size && modified_ns == other.modified_ns;
  }
};

struct DirEntry {
  NarrowStringClass name;
  bool is_directory = false;  // a real folder; a link to a folder is not one
  bool is_link = false;       // a symbolic link (to anything)
};

}  // namespace platform
