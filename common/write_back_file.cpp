// Write-back window over another file.
#include "common/write_back_file.h"

#include <climits>
#include <cstring>
#include <new>

WriteBackFileClass::WriteBackFileClass(FileClass* target_in)
    : target(target_in), window(new (std::nothrow) unsigned char[kWindowBytes]) {
  if (!window) Fail(platform::ErrorNoMemory());
}

WriteBackFileClass::~WriteBackFileClass() { delete[] window; }

bool WriteBackFileClass::Fail(int code) {
  if (error_code == 0) error_code = code;
  return false;
}

// Seeks only where the target is not already: a file written front to back never seeks, so a
// pipe or device can take it.
bool WriteBackFileClass::WriteThrough(int at, const void* bytes, int length) {
  if ((at != target_position && target->Seek(at, 0) != at) || target->Write(bytes, length) != length) {
    return Fail(platform::LastError() ? platform::LastError() : platform::ErrorShortWrite());
  }
  target_position = at + length;
  return error_code == 0;
}

bool WriteBackFileClass::Flush() {
  if (window_length > 0 && !WriteThrough(window_start, window, window_length)) return false;
  window_length = 0;
  window_start = position;
  return error_code == 0;
}

int WriteBackFileClass::Seek(int offset, int origin) {
  int target = SeekTarget(position, size, offset, origin);
  if (target >= 0) position = target;
  return target;
}

int WriteBackFileClass::Write(const void* bytes, int length) {
  if (length <= 0 || error_code != 0 || static_cast<int64_t>(position) + length > INT_MAX) return 0;
  bool inside = position >= window_start && position <= window_start + window_length &&
                static_cast<int64_t>(position) + length <= static_cast<int64_t>(window_start) + kWindowBytes;
  if (!inside) {
    if (!Flush()) return 0;
    if (length > kWindowBytes) {
      if (!WriteThrough(position, bytes, length)) return 0;
      position += length;
      window_start = position;
      if (position > size) size = position;
      return length;
    }
  }
  memcpy(window + (position - window_start), bytes, static_cast<size_t>(length));
  position += length;
  if (position - window_start > window_length) window_length = position - window_start;
  if (position > size) size = position;
  return length;
}
