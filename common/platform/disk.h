// Files and folders on disk. The classes and operations that use the disk are handed the
// interface they need (file_io.h, file_names.h, folders.h), by default the system's own disk; a
// test hands them a fake or failing one. What no test needs to fail is asked of the system
// directly, below. One implementation per system. Failures return -1 or false and leave
// the system's error code in LastError() (errors.h).
#pragma once

#include <cstdint>

#include "common/platform/file_io.h"
#include "common/platform/file_names.h"
#include "common/platform/folders.h"

namespace platform {

// The three together: what each system implements, and what a test's disk wraps.
class DiskInterface : public FileIO, public FileNames, public Folders {};

// The system's own disk: the default of every user, and what fakes wrap.
DiskInterface& SystemDisk();

// A second handle on what h is open on (same position), to be closed on its own; invalid on
// failure.
Handle Duplicate(Handle h);
bool GetModified(Handle h, int64_t* seconds);
// Sets last-access and last-write time.
bool SetModified(Handle h, int64_t seconds);
bool SetMode(Handle h, uint32_t mode);
bool SetOwner(Handle h, uint32_t owner, uint32_t group);
// The absolute path with every symbolic link resolved; the path must exist.
bool ResolvePath(const char* path, NarrowStringClass& resolved);
// The identity of the file open as h, or, when h is kInvalidHandle, of what path names (links
// followed).
bool Identify(Handle h, const char* path, FileIdentity* identity);

// 0 when path names a regular file (links followed); otherwise the code to report: the
// system's, or ErrorNotRegular for a folder, device, pipe or socket. For readers that seek.
int RegularFileError(const char* path, Folders& folders = SystemDisk());

// Whether a and b name one existing file (links followed): writing one would change the other.
bool IsSameFile(const char* a, const char* b);

// The permission bits new files get (after the process's mask).
uint32_t DefaultFileMode();

}  // namespace platform
