// FileProviderClass: hands out the file objects the mix writer reads its sources through, and
// takes them back. One instance serves the whole process. Only absolute paths name a file; any
// other name gives an object with an empty name, which can never be opened.
//
// bundlor is single-threaded, so the provider is more than it needs today: it stays as the one
// place where source files are made, named and counted (tests check that every file handed out
// comes back), and its lock keeps that count right should the writer ever read sources from
// several threads, as the system it comes from allowed.
#pragma once

#include <mutex>

#include "common/buffered_disk_file.h"
#include "common/disk_file.h"

// A buffered disk file that remembers its first failure, so the caller can say why it failed.
using ProvidedFileClass = ErrorKeepingFile<BufferedDiskFileClass>;

class FileProviderClass {
 public:
  static FileProviderClass& Instance();

  // A new file object for name; null only when memory runs out.
  ProvidedFileClass* GetFile(const char* name);
  // Deletes an object GetFile handed out; null is ignored.
  void ReturnFile(ProvidedFileClass* file);
  // Objects handed out and not yet returned.
  int Outstanding();

 private:
  FileProviderClass() = default;

  std::mutex lock;  // guards the count, so threads may share the provider
  int outstanding = 0;
};
