// FileIO: what reading and writing open files needs, by handle. The classes that read and write
// files take one (DiskFileClass, the file lock), so that a test can hand them a failing one.
// Failures return -1 or false and leave the system's error code in LastError() (errors.h).
#pragma once

#include <cstdint>

#include "common/platform/file_types.h"

namespace platform {

class FileIO {
 public:
  virtual ~FileIO() = default;

  virtual Handle Open(const char* path, int rights) = 0;
  // Bytes read (0 at the end of the file), or -1.
  virtual int Read(Handle h, void* buffer, int size) = 0;
  // Bytes written, or -1.
  virtual int Write(Handle h, const void* buffer, int size) = 0;
  virtual int64_t Seek(Handle h, int64_t offset, int origin) = 0;
  virtual int64_t Size(Handle h) = 0;
  virtual bool Close(Handle h) = 0;
  // Makes the written bytes durable.
  virtual bool Sync(Handle h) = 0;
  // Waits for an exclusive advisory lock on the file open as h, which other processes that ask
  // for it respect; closing h ends it. False, with the system's "not supported" error, where the
  // system's locks would keep the file from being replaced while it is held (Windows).
  virtual bool Lock(Handle h) = 0;
  // Asks the system to start putting the last size bytes written on disk now, without waiting,
  // so that a later Sync finds most of the work done. Only worth it for a file that will be
  // synced: otherwise it makes the program wait on the disk for nothing.
  virtual void StartWriteBack(Handle, int /*size*/) {}
  // Copies up to size bytes from the current position of from to the current position of to
  // inside the system where it can (the bytes never pass through the program), advancing both
  // positions. Returns the bytes copied: fewer, down to 0, when the system cannot copy more or
  // a failure stops it. The caller copies the rest the ordinary way, which meets and reports
  // any failure.
  virtual int64_t CopyFileRange(Handle /*from*/, Handle /*to*/, int64_t /*size*/) { return 0; }
};

}  // namespace platform
