// Block-buffered reading over DiskFileClass.
#include "common/buffered_disk_file.h"

#include <cstring>
#include <new>

BufferedDiskFileClass::~BufferedDiskFileClass() { ReleaseBuffer(); }

int BufferedDiskFileClass::Read(void* out, int size) {
  // The common case of a chunk reader: a few bytes that the block already holds.
  if (size > 0 && size <= bytes_left) return TakeFromBuffer(static_cast<unsigned char*>(out), size);
  if (size <= 0) return 0;
  if (IsOpen()) return ReadOpen(static_cast<unsigned char*>(out), size);
  // A closed file is opened for the length of the call, so the buffer it fills stays valid
  // until the read is done.
  if (!Open(1)) return 0;
  int n = ReadOpen(static_cast<unsigned char*>(out), size);
  Close();
  return n;
}

int BufferedDiskFileClass::ReadOpen(unsigned char* out, int size) {
  int total = TakeFromBuffer(out, size);
  out += total;
  size -= total;
  if (size == 0) return total;
  int block = buffer_size ? buffer_size : kBlockSize;
  if (size > block) return total + DiskFileClass::Read(out, size);
  if (!buffer) {
    buffer = new (std::nothrow) unsigned char[kBlockSize];
    if (!buffer) {
      // Keep what was already copied: those bytes are gone from the buffer.
      Error(platform::ErrorNoMemory(), 1, name);
      return total;
    }
    buffer_size = kBlockSize;
    DropContents();
  }
  bytes_left = DiskFileClass::Read(buffer, buffer_size);
  block_end = -1;
  read_position = 0;
  return total + TakeFromBuffer(out, size);
}

int BufferedDiskFileClass::TakeFromBuffer(unsigned char* out, int size) {
  int n = bytes_left < size ? bytes_left : size;
  if (n <= 0) return 0;
  memcpy(out, buffer + read_position, static_cast<size_t>(n));
  read_position += n;
  bytes_left -= n;
  return n;
}

int BufferedDiskFileClass::Seek(int offset, int origin) {
  if (origin != 1 || offset < 0) {
    DropContents();
    return DiskFileClass::Seek(offset, origin);
  }
  if (bytes_left > 0 && offset <= bytes_left) {
    // Within the block. A loader passing over many small chunks seeks once per chunk: the
    // system is asked for the position once per block, not once per seek.
    read_position += offset;
    bytes_left -= offset;
    if (block_end < 0) block_end = DiskFileClass::Seek(0, 1);
    return block_end < 0 ? block_end : block_end - bytes_left;
  }
  // Beyond the block: the system's position is already past its bytes.
  int rest = offset - bytes_left;
  DropContents();
  return DiskFileClass::Seek(rest, 1);
}

int BufferedDiskFileClass::Write(const void* data, int size) { return DiskFileClass::Write(data, size); }

void BufferedDiskFileClass::Close() {
  DiskFileClass::Close();
  DropContents();
}

// Forgets the buffered bytes; the block itself is kept for the next read.
void BufferedDiskFileClass::DropContents() {
  block_end = -1;
  bytes_left = 0;
  read_position = 0;
}

void BufferedDiskFileClass::ReleaseBuffer() {
  delete[] buffer;
  buffer = nullptr;
  buffer_size = 0;
  DropContents();
}
