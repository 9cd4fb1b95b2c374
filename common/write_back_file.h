// WriteBackFileClass: a write-only FileClass that gathers writes in one memory window and
// passes them to another file in large pieces. A seek back into the window (the chunk writer
// patching a header it has just begun) costs nothing; a write outside it flushes the window
// first. So a large file is written in one pass without ever being held whole in memory.
#pragma once

#include "common/file_class.h"
#include "common/platform/errors.h"

class WriteBackFileClass : public FileClass {
 public:
  static constexpr int kWindowBytes = 1 << 20;

  // The target is not owned; it must be open for writing at offset 0.
  explicit WriteBackFileClass(FileClass* target);
  ~WriteBackFileClass() override;
  WriteBackFileClass(const WriteBackFileClass&) = delete;
  WriteBackFileClass& operator=(const WriteBackFileClass&) = delete;

  // Writes what the window holds to the target. False when the target refused.
  bool Flush();
  // The first failure: the system's code when a write could not be passed on, out of memory
  // when the window could not be allocated; 0 while there is none.
  int ErrorCode() const { return error_code; }

  const char* FileName() override { return target->FileName(); }
  const char* SetName(const char*) override { return nullptr; }
  bool Create() override { return false; }
  bool Delete() override { return false; }
  bool IsAvailable(int = 0) override { return true; }
  bool IsOpen() override { return true; }
  int Open(int = 1) override { return 1; }
  int Open(const char*, int = 1) override { return 1; }
  int Read(void*, int) override { return 0; }
  int Seek(int offset, int origin = 1) override;
  int Size() override { return size; }
  int Write(const void* buffer, int length) override;
  void Close() override { Flush(); }
  void Error(int, int = 0, const char* = nullptr) override { Fail(platform::ErrorInvalid()); }
  void Bias(int, int = -1) override {}
  bool IsBiased() override { return false; }

 private:
  bool WriteThrough(int at, const void* bytes, int length);

  FileClass* target;
  unsigned char* window;
  int window_start = 0;   // file offset of window[0]
  int window_length = 0;  // bytes of the window in use
  int position = 0;
  int size = 0;
  int target_position = 0;  // where the target stands after the last write passed on
  bool Fail(int code);
  int error_code = 0;
};
