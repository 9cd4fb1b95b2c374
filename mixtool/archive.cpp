// Opening an archive and reading its members.
#include "mixtool/archive.h"

#include "common/path_error.h"

bool ArchiveClass::Open(const char* path, NarrowStringClass* error) {
  disk = std::make_unique<ErrorKeepingFile<DiskFileClass>>(path);
  system_failed = true;
  if (!disk->Open(platform::kRead)) return FailPath(error, path, platform::LastError());
  if (Load(disk.get(), path, error)) return true;
  // A failure of the system is the better reason than the reader's view of it.
  if (disk->ErrorCode() != 0) return FailPath(error, path, disk->ErrorCode());
  system_failed = false;
  return false;
}

bool ArchiveClass::Load(FileClass* file_in, const char* name_in, NarrowStringClass* error) {
  file = file_in;
  name = name_in;
  size = file->Size();
  if (!reader.Load(file)) return FailPath(error, name, reader.ErrorMessage());
  return true;
}

bool ArchiveClass::ReadMember(int i, const std::function<bool(const void*, int)>& sink,
                              NarrowStringClass* error) {
  return reader.ReadMember(i, sink) || FailPath(error, name, reader.ErrorMessage());
}
