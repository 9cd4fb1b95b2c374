// BufferedDiskFileClass: a disk file that serves reads of up to 16384 bytes from one 16384-byte
// block read, and passes larger reads straight through. Writes are not buffered. An object is
// used either for reading or for writing, not both.
#pragma once

#include "common/disk_file.h"

class BufferedDiskFileClass : public DiskFileClass {
 public:
  static constexpr int kBlockSize = 16384;

  using DiskFileClass::DiskFileClass;
  ~BufferedDiskFileClass() override;

  int Read(void* buffer, int size) override;
  int Seek(int offset, int origin = 1) override;
  int Write(const void* buffer, int size) override;
  void Close() override;

 protected:
  unsigned char* buffer = nullptr;
  int buffer_size = 0;
  int bytes_left = 0;
  int read_position = 0;
  // File position just past the buffered block, -1 until asked for after the block was read.
  int block_end = -1;

 private:
  int ReadOpen(unsigned char* out, int size);
  int TakeFromBuffer(unsigned char* out, int size);
  void DropContents();
  void ReleaseBuffer();
};
