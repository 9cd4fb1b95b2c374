// MemoryFileClass: FileClass over bytes in memory. It either owns a growable buffer (for
// building a file before it is written out in one piece) or reads borrowed bytes in place.
// It has no name and is always open; Close keeps the bytes.
#pragma once

#include "common/file_class.h"
#include "common/platform/errors.h"

class MemoryFileClass : public FileClass {
 public:
  MemoryFileClass() = default;
  // Reads the caller's bytes in place; writes are refused.
  MemoryFileClass(const void* data, int size);
  ~MemoryFileClass() override;
  MemoryFileClass(const MemoryFileClass&) = delete;
  MemoryFileClass& operator=(const MemoryFileClass&) = delete;

  const char* FileName() override { return ""; }
  const char* SetName(const char*) override { return nullptr; }
  bool Create() override;
  bool Delete() override { return false; }
  bool IsAvailable(int = 0) override { return true; }
  bool IsOpen() override { return true; }
  int Open(int rights = 1) override;
  int Open(const char*, int rights = 1) override { return Open(rights); }
  int Read(void* buffer, int size) override;
  int Seek(int offset, int origin = 1) override;
  int Size() override { return size; }
  int Write(const void* buffer, int size) override;
  void Close() override {}
  void Error(int, int = 0, const char* = nullptr) override { failed = true; }
  void Bias(int, int = -1) override {}
  bool IsBiased() override { return false; }

  const unsigned char* Data() const { return data; }
  // True once a write could not be stored (memory ran out, or the bytes are borrowed).
  // The first failure: out of memory (or past 2^31 - 1 bytes), 0 while there is none.
  int ErrorCode() const { return failed ? platform::ErrorNoMemory() : 0; }

 private:
  bool Reserve(int needed);

  unsigned char* data = nullptr;
  int size = 0;
  int capacity = 0;
  int position = 0;
  bool borrowed = false;
  bool failed = false;
};
