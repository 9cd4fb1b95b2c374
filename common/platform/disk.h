// Files and folders on disk, by handle: every access goes through one DiskInterface object, so
// tests can put a fake or failing disk underneath (SetDisk). One implementation per system.
// Failures return -1 or false and leave the system's error code in LastError() (errors.h).
#pragma once

#include <cstdint>

#include "common/array.h"
#include "common/string_class.h"

namespace platform {

using Handle = intptr_t;
constexpr Handle kInvalidHandle = -1;

// Open rights: 0 read and write (open or create), 1 read an existing file, 2 write (create or
// truncate).
enum Rights { kReadWrite = 0, kRead = 1, kWrite = 2 };
// Seek origins: from the start, the current position, the end.
enum Origin { kBegin = 0, kCurrent = 1, kEnd = 2 };

struct FileStatus {
  bool exists = false;
  bool is_directory = false;
  bool is_regular = false;  // a plain file: not a folder, pipe, socket or device
  bool is_stream = false;   // a character device, pipe (FIFO) or socket: bytes go in order, no seeking
  bool is_link = false;     // the path itself is a symbolic link (only from LinkStatus)
  int64_t size = 0;
  int64_t modified = 0;  // seconds since 1970, UTC
  uint32_t mode = 0;     // permission bits
  uint32_t owner = 0;    // user and group that own the file
  uint32_t group = 0;
};

// What tells one file from every other, and one version of it from the next: the device and
// file number (on Windows the volume serial number and file ID), size and last write time.
struct FileIdentity {
  uint64_t device = 0;
  uint64_t file = 0;
  int64_t size = 0;
  int64_t modified_ns = 0;  // nanoseconds since 1970 (as fine as the system keeps it)

  bool SameFile(const FileIdentity& other) const { return device == other.device && file == other.file; }
  bool SameVersion(const FileIdentity& other) const {
    return SameFile(other) && size == other.size && modified_ns == other.modified_ns;
  }
};

struct DirEntry {
  NarrowStringClass name;
  bool is_directory = false;  // a real folder; a link to a folder is not one
  bool is_link = false;       // a symbolic link (to anything)
};

class DiskInterface {
 public:
  virtual ~DiskInterface() = default;

  virtual Handle Open(const char* path, int rights) = 0;
  // Bytes read (0 at the end of the file), or -1.
  virtual int Read(Handle h, void* buffer, int size) = 0;
  // Bytes written, or -1.
  virtual int Write(Handle h, const void* buffer, int size) = 0;
  virtual int64_t Seek(Handle h, int64_t offset, int origin) = 0;
  virtual int64_t Size(Handle h) = 0;
  virtual bool Close(Handle h) = 0;
  // A second handle on what h is open on (same position), to be closed on its own; invalid on
  // failure.
  virtual Handle Duplicate(Handle h) = 0;
  // Makes the written bytes durable.
  virtual bool Sync(Handle h) = 0;
  // Asks the system to start putting the last size bytes written on disk now, without waiting,
  // so that a later Sync finds most of the work done. Only worth it for a file that will be
  // synced: otherwise it makes the program wait on the disk for nothing.
  virtual void StartWriteBack(Handle, int /*size*/) {}
  // Copies up to size bytes from the current position of from to the current position of to
  // inside the system where it can (the bytes never pass through the program), advancing both
  // positions. Returns the bytes copied: fewer, down to 0, when the system cannot copy more or
  // a failure stops it. The caller copies the rest the ordinary way, which meets and reports
  // any failure.
  virtual int64_t CopyFileRange(Handle /*from*/, Handle /*to*/, int64_t /*size*/) { return 0; }
  virtual bool GetModified(Handle h, int64_t* seconds) = 0;
  // Sets last-access and last-write time.
  virtual bool SetModified(Handle h, int64_t seconds) = 0;
  virtual bool SetMode(Handle h, uint32_t mode) = 0;
  virtual bool SetOwner(Handle h, uint32_t owner, uint32_t group) = 0;

  virtual bool Delete(const char* path) = 0;
  // Deletes the file open as h (which may be kInvalidHandle), created as path. Where a folder on
  // the way was renamed meanwhile, the system that can tell finds the file where it is now.
  virtual bool DeleteOpen(Handle /*h*/, const char* path) { return Delete(path); }
  // Puts from in place of to, replacing it in one step.
  virtual bool Rename(const char* from, const char* to) = 0;
  // Swaps the names a and b, which must both exist, in one step. False, with nothing changed,
  // where the system cannot do that (the caller then renames).
  virtual bool Exchange(const char* /*a*/, const char* /*b*/) { return false; }
  // Makes the names in the folder that holds path durable (after a rename into it).
  virtual bool SyncFolderOf(const char* path) = 0;
  // Status of what the path names, following links.
  virtual bool Status(const char* path, FileStatus* status) = 0;
  // Status of the path itself, not following a final link.
  virtual bool LinkStatus(const char* path, FileStatus* status) = 0;
  // The absolute path with every symbolic link resolved; the path must exist.
  virtual bool ResolvePath(const char* path, NarrowStringClass& resolved) = 0;
  // Every entry of the folder except "." and "..", in the order the system lists them.
  virtual bool ListDirectory(const char* path, DynamicArrayClass<DirEntry>& entries) = 0;
  // The identity of the file open as h, or, when h is kInvalidHandle, of what path names (links
  // followed).
  virtual bool Identify(Handle h, const char* path, FileIdentity* identity) = 0;
  // Waits for an exclusive advisory lock on the file open as h, which other processes that ask
  // for it respect; closing h ends it. False, with the system's "not supported" error, where the system's
  // locks would keep the file from being replaced while it is held (Windows).
  virtual bool Lock(Handle h) = 0;
  // Creates a new empty file with a unique name starting with prefix, open for reading and
  // writing and readable only by its owner; its name goes to path.
  virtual Handle CreateUnique(const char* prefix, NarrowStringClass& path) = 0;
};

// The disk in use: the system's own unless a test has put another one in place.
DiskInterface& Disk();
// Installs disk (null restores the system's) and returns the one that was in use.
DiskInterface* SetDisk(DiskInterface* disk);
// The system's own disk, for fakes that wrap it.
DiskInterface& SystemDisk();

// 0 when path names a regular file (links followed); otherwise the code to report: the
// system's, or ErrorNotRegular for a folder, device, pipe or socket. For readers that seek.
int RegularFileError(const char* path);

// Whether a and b name one existing file (links followed): writing one would change the other.
bool IsSameFile(const char* a, const char* b);

// The longest name of one file or folder (a single path component), in bytes.
constexpr int kMaxNameBytes = 255;

// The permission bits new files get (after the process's mask).
uint32_t DefaultFileMode();

}  // namespace platform
