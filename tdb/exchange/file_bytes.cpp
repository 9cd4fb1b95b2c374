// Building files in memory, or writing them through to their replacement.
#include "tdb/exchange/file_bytes.h"

#include <climits>
#include <cstring>
#include <new>

#include "common/disk_file.h"
#include "common/path_error.h"
#include "common/platform/platform.h"
#include "common/safe_replace.h"
#include "common/write_back_file.h"

void ByteBuilder::Append(const void* bytes, size_t count) {
  if (count == 0 || error_code != 0) return;
  if (count > static_cast<size_t>(INT_MAX)) return SetFailed();
  if (sink->Write(bytes, static_cast<int>(count)) != static_cast<int>(count)) {
    error_code =
        sink == &file || platform::LastError() == 0 ? platform::ErrorNoMemory() : platform::LastError();
  }
}

void ByteBuilder::SetFailed() {
  if (error_code == 0) error_code = platform::ErrorNoMemory();
}

void ByteBuilder::Append(const char* text) {
  size_t count = 0;
  while (text[count]) ++count;
  Append(text, count);
}

void ByteBuilder::AppendDecimal(int64_t value) {
  char digits[24];
  char* end = digits + sizeof digits;
  char* p = end;
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  do {
    *--p = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  if (value < 0) *--p = '-';
  Append(p, static_cast<size_t>(end - p));
}

bool ByteBuilder::WriteTo(const char* path, NarrowStringClass* error, platform::DiskInterface& disk) {
  if (error_code != 0) return FailPath(error, path, error_code);
  return SafeReplaceClass::WriteWhole(path, file.Data(), file.Size(), error, disk);
}

bool ByteBuilder::WriteThrough(const char* path, NarrowStringClass* error,
                               void (*fill)(ByteBuilder&, const void*), const void* context,
                               platform::DiskInterface& disk) {
  SafeReplaceClass replace(path, disk);
  bool written = false;
  if (replace.Begin()) {
    WriteBackFileClass window(&replace.File());
    ByteBuilder out(&window);
    fill(out, context);
    written = window.Flush() && !out.ErrorCode();
  }
  // A failure that the file did not see is memory running out.
  return replace.Finish(written, platform::ErrorNoMemory(), error);
}

bool FileContent::Read(const char* path, NarrowStringClass* error, platform::DiskInterface& disk) {
  ErrorKeepingFile<DiskFileClass> file(path, disk);
  int expected = file.Open(platform::kRead) ? file.Size() : -1;
  if (expected < 0) return FailPath(error, path, file.ErrorCode() ? file.ErrorCode() : platform::LastError());
  // The size is a hint: the file may grow or shrink while it is read.
  size_t capacity = static_cast<size_t>(expected) + 1;
  size_t count = 0;
  char* bytes = new (std::nothrow) char[capacity];
  for (;;) {
    if (bytes && count == capacity) {
      char* fresh = capacity <= INT_MAX / 2 ? new (std::nothrow) char[capacity * 2] : nullptr;
      if (fresh) memcpy(fresh, bytes, count);
      delete[] bytes;
      bytes = fresh;
      capacity *= 2;
    }
    if (!bytes) return FailPath(error, path, platform::ErrorNoMemory());
    int n = file.Read(bytes + count, static_cast<int>(capacity - count));
    if (n < 0 || file.ErrorCode() != 0) {
      delete[] bytes;
      return FailPath(error, path, file.ErrorCode() ? file.ErrorCode() : platform::LastError());
    }
    if (n == 0) break;
    count += static_cast<size_t>(n);
  }
  delete[] data;
  data = bytes;
  size = count;
  return true;
}
