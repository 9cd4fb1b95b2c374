// Opening an archive and reading its members.
#include "mixtool/archive.h"

#include <new>

#include "common/path_error.h"

namespace {

constexpr int kBlockBytes = 1 << 16;

}  // namespace

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

bool ArchiveClass::CopyMember(int i, const std::function<bool(const void*, int)>& sink,
                              NarrowStringClass* error) {
  const MixIndexEntry& entry = reader.Entry(i);
  if (entry.Size == 0) return true;
  if (file->Seek(entry.Offset, 0) != entry.Offset) return FailPath(error, name, platform::LastError());
  std::unique_ptr<char[]> block(new (std::nothrow) char[kBlockBytes]);
  if (!block) return FailPath(error, name, platform::ErrorNoMemory());
  for (int left = entry.Size; left > 0;) {
    int n = file->Read(block.get(), left < kBlockBytes ? left : kBlockBytes);
    if (n < 0) return FailPath(error, name, platform::LastError());
    if (n == 0) return FailPath(error, name, "the archive ends inside a member");
    if (!sink(block.get(), n)) return true;
    left -= n;
  }
  return true;
}
