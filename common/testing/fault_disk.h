// FaultDisk: a disk for tests that passes every call to the system's disk but can fail the nth
// open, read, write, sync, rename or close, and can cut reads short. It is handed to the
// operation under test in place of the system's disk.
#pragma once

#include "common/platform/disk.h"
#include "common/platform/errors.h"
#include "common/testing/system.h"

namespace platform {

class FaultDisk : public DiskInterface {
 public:
  // Each counter: 0 = never fail; n = the nth call from now fails (and every later one when
  // the matching sticky flag is set). error is the code the failure reports.
  int fail_open = 0, fail_read = 0, fail_write = 0, fail_sync = 0, fail_rename = 0, fail_close = 0;
  bool sticky = false;
  int error = sys::kIoError;
  // Largest number of bytes a single Read or Write call moves; 0 = no limit. A limited write
  // reports the short count with the error of a full disk.
  int max_read = 0;
  int max_write = 0;
  // The nth read or write from now moves only half the bytes asked (a cut write reports a full disk).
  int cut_read = 0, cut_write = 0;
  // Counts of calls seen.
  int opens = 0, reads = 0, writes = 0, syncs = 0, renames = 0, closes = 0;

  Handle Open(const char* path, int rights) override {
    return Trip(fail_open, ++opens) ? kInvalidHandle : inner().Open(path, rights);
  }
  int Read(Handle h, void* buffer, int size) override {
    if (Trip(fail_read, ++reads)) return -1;
    if (max_read > 0 && size > max_read) size = max_read;
    if (reads == cut_read && size > 1) size /= 2;
    return inner().Read(h, buffer, size);
  }
  int Write(Handle h, const void* buffer, int size) override {
    if (Trip(fail_write, ++writes)) return -1;
    if ((max_write > 0 && size > max_write) || writes == cut_write) {
      int n = inner().Write(h, buffer, writes == cut_write ? size / 2 : max_write);
      SetLastError(sys::kDiskFull);
      return n;
    }
    return inner().Write(h, buffer, size);
  }
  int64_t Seek(Handle h, int64_t offset, int origin) override { return inner().Seek(h, offset, origin); }
  int64_t Size(Handle h) override { return inner().Size(h); }
  bool Close(Handle h) override {
    bool ok = inner().Close(h);
    return Trip(fail_close, ++closes) ? false : ok;
  }
  bool Sync(Handle h) override { return Trip(fail_sync, ++syncs) ? false : inner().Sync(h); }
  bool Delete(const char* path) override { return inner().Delete(path); }
  bool DeleteOpen(Handle h, const char* path) override { return inner().DeleteOpen(h, path); }
  bool Rename(const char* from, const char* to) override {
    return Trip(fail_rename, ++renames) ? false : inner().Rename(from, to);
  }
  // A swap of names counts, and fails, as a rename.
  bool Exchange(const char* a, const char* b) override {
    return Trip(fail_rename, ++renames) ? false : inner().Exchange(a, b);
  }
  bool SyncFolderOf(const char* path) override { return inner().SyncFolderOf(path); }
  bool Status(const char* path, FileStatus* s) override { return inner().Status(path, s); }
  bool LinkStatus(const char* path, FileStatus* s) override { return inner().LinkStatus(path, s); }
  bool Lock(Handle h) override { return inner().Lock(h); }
  bool ListDirectory(const char* path, DynamicArrayClass<DirEntry>& entries) override {
    return inner().ListDirectory(path, entries);
  }
  Handle CreateUnique(const char* prefix, NarrowStringClass& path) override {
    return Trip(fail_open, ++opens) ? kInvalidHandle : inner().CreateUnique(prefix, path);
  }

 private:
  static DiskInterface& inner() { return SystemDisk(); }
  bool Trip(int at, int seen) {
    if (at <= 0 || (seen != at && !(sticky && seen > at))) return false;
    SetLastError(error);
    return true;
  }
};

}  // namespace platform
