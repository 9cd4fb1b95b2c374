// A mix archive open for reading: the file and its tables (MixReaderClass), and the
// members' bytes read in blocks.
#pragma once

#include <functional>
#include <memory>

#include "common/disk_file.h"
#include "common/string_class.h"
#include "mix/mix_reader.h"

class ArchiveClass {
 public:
  // Opens the archive at path and loads its tables. False with "path: reason" in error.
  bool Open(const char* path, NarrowStringClass* error);
  // Loads the tables of file (open for reading, kept by the caller), named name in messages.
  bool Load(FileClass* file, const char* name, NarrowStringClass* error);

  // After a failed Open: whether the system failed (the file could not be opened or read),
  // rather than the bytes not being a sound archive.
  bool SystemFailed() const { return system_failed; }

  MixReaderClass& Reader() { return reader; }
  FileClass* File() { return file; }
  int Size() const { return size; }

  // Hands member i's bytes to sink in blocks (MixReaderClass::ReadMember); stops when sink
  // returns false. False with "path: reason" in error when the archive could not be read (not
  // when sink stopped it).
  bool ReadMember(int i, const std::function<bool(const void*, int)>& sink, NarrowStringClass* error);

 private:
  std::unique_ptr<ErrorKeepingFile<DiskFileClass>> disk;
  FileClass* file = nullptr;
  const char* name = "";
  int size = 0;
  bool system_failed = false;
  MixReaderClass reader;
};
