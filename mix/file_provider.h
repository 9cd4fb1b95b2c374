// FileProviderClass: hands out the file objects the mix writer reads its sources through, and
// takes them back. One instance serves the whole process. Only absolute paths name a file; any
// other name gives an object with an empty name, which can never be opened.
//
// bundlor is single-threaded, so the provider is more than it needs today: it stays as the one
// place where source files are made and named, and it holds its lock while it names a file,
// should the writer ever read sources from several threads, as the system it comes from allowed.
// A file that is not given back shows as a leak in the sanitizer build.
#pragma once

#include <mutex>

#include "common/buffered_disk_file.h"
#include "common/disk_file.h"

// A buffered disk file that remembers its first failure, so the caller can say why it failed.
using ProvidedFileClass = ErrorKeepingFile<BufferedDiskFileClass>;

class FileProviderClass {
 public:
  static FileProviderClass& Instance();

  // A new file object for name, read through disk; null only when memory runs out.
  ProvidedFileClass* GetFile(const char* name, platform::DiskInterface& disk = platform::SystemDisk());
  // Deletes an object GetFile handed out; null is ignored.
  void ReturnFile(ProvidedFileClass* file);

 private:
  FileProviderClass() = default;

  std::mutex lock;  // held while a name is resolved, so threads may share the provider
};
