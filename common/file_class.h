// FileClass: the one interface for binary file access. Objects cross into the model library,
// which calls them through the table of virtual operations, so the order of the virtual
// operations below is binding and must not change.
//
// Positions and sizes are signed 32-bit; -1 is the error value of Seek, Tell and Size.
#pragma once

#include <cstdint>

#include "common/platform/platform.h"

class FileClass {
 public:
  virtual ~FileClass() = default;
  virtual const char* FileName() = 0;
  virtual const char* SetName(const char* name) = 0;
  virtual bool Create() = 0;
  virtual bool Delete() = 0;
  virtual bool IsAvailable(int forced = 0) = 0;
  virtual bool IsOpen() = 0;
  virtual int Open(int rights = 1) = 0;
  virtual int Open(const char* name, int rights = 1) = 0;
  virtual int Read(void* buffer, int size) = 0;
  virtual int Seek(int offset, int origin = 1) = 0;
  virtual int Tell() { return Seek(0, 1); }
  virtual int Size() = 0;
  virtual int Write(const void* buffer, int size) = 0;
  virtual void Close() = 0;
  // DOS date in the high half, DOS time in the low half; 0 when unknown.
  virtual uint32_t GetDateTime() { return 0; }
  virtual bool SetDateTime(uint32_t) { return false; }
  // Failure hook: code is the system's error code (or one of the library's), can_retry is 1
  // only for read failures, name the file's name when known.
  virtual void Error(int code, int can_retry = 0, const char* name = nullptr) = 0;
  virtual platform::Handle GetHandle() { return platform::kInvalidHandle; }
  virtual void Bias(int start, int length = -1) = 0;
  virtual bool IsBiased() = 0;

 protected:
  // For files that keep their own position: where a seek from position in a file of size
  // lands, or -1 for an unknown origin or a place before the start or beyond 2^31 - 1.
  static int SeekTarget(int position, int size, int offset, int origin) {
    int64_t base = origin == 0 ? 0 : origin == 1 ? position : origin == 2 ? size : -1;
    int64_t target = base + offset;
    return base < 0 || target < 0 || target > INT32_MAX ? -1 : static_cast<int>(target);
  }
};
