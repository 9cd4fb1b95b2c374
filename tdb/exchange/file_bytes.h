// Files for the exchange formats: ByteBuilder collects the new content of a file in memory and
// puts it in place in one atomic step, or passes it straight through to the file that replaces
// the old one (WriteThrough); FileContent holds the whole content of a file read. Both go
// through the disk they are handed, by default the system's.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/memory_file.h"
#include "common/platform/disk.h"
#include "common/string_class.h"

class ByteBuilder {
 public:
  ByteBuilder() = default;
  ByteBuilder(const ByteBuilder&) = delete;
  ByteBuilder& operator=(const ByteBuilder&) = delete;

  void Append(const void* bytes, size_t count);
  void Append(const char* text);
  void Append(char c) { Append(&c, 1); }
  // Signed decimal, with a leading minus sign when negative.
  void AppendDecimal(int64_t value);

  int Size() { return file.Size(); }
  const unsigned char* Data() const { return file.Data(); }
  // The first failure, 0 while there is none: out of memory when an append could not be stored
  // (or the content passed 2^31 - 1 bytes), or, written through, the code of the failed write.
  int ErrorCode() const { return error_code; }
  // Marks the content as incomplete: memory ran out for a piece of it.
  void SetFailed();

  // Replaces the file at path with the bytes (SafeReplaceClass). False with "path: reason" in
  // error (when given) when an append failed or the file could not be written; the old file is
  // then unchanged.
  bool WriteTo(const char* path, NarrowStringClass* error,
               platform::DiskInterface& disk = platform::SystemDisk());

  // Replaces the file at path with what fill appends, written through to the new file as it
  // comes instead of being held whole in memory; the same promises and failures as WriteTo.
  static bool WriteThrough(const char* path, NarrowStringClass* error,
                           void (*fill)(ByteBuilder&, const void*), const void* context,
                           platform::DiskInterface& disk = platform::SystemDisk());

 private:
  // Appends go to sink instead of memory (Size and Data then say nothing).
  explicit ByteBuilder(FileClass* sink_in) : sink(sink_in) {}

  MemoryFileClass file;
  FileClass* sink = &file;
  int error_code = 0;
};

class FileContent {
 public:
  FileContent() = default;
  ~FileContent() { delete[] data; }
  FileContent(const FileContent&) = delete;
  FileContent& operator=(const FileContent&) = delete;

  // Reads the whole file at path. False with "path: reason" in error (when given) when it cannot
  // be opened or read, or memory runs out.
  bool Read(const char* path, NarrowStringClass* error,
            platform::DiskInterface& disk = platform::SystemDisk());
  const char* Data() const { return data; }
  size_t Size() const { return size; }

 private:
  char* data = nullptr;
  size_t size = 0;
};
