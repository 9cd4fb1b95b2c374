// Replacement of a file through a temporary file and a rename.
#include "common/safe_replace.h"

#include <cstdio>
#include <cstring>

#include "common/path_error.h"
#include "common/platform/platform.h"

namespace {

// The temporary name's prefix: the target's name, cut (at a character boundary) where needed so
// that the prefix and the six unique characters stay within the name limit. Empty when memory
// runs out.
NarrowStringClass TempPrefix(const char* target) {
  static const char kSuffix[] = ".tmp-";
  const int kRoom = platform::kMaxNameBytes - 6 - (sizeof kSuffix - 1);
  const int name_start = static_cast<int>(platform::FileNamePart(target) - target);
  const int length = name_start + static_cast<int>(strlen(target + name_start));
  int keep = length;
  if (length - name_start > kRoom) {
    keep = name_start + kRoom;
    // Not inside a UTF-8 sequence: back up over continuation bytes.
    while (keep > name_start && (static_cast<unsigned char>(target[keep]) & 0xC0) == 0x80) --keep;
  }
  NarrowStringClass prefix;
  if (!prefix.TryAcquireBuffer(keep + static_cast<int>(sizeof kSuffix))) return prefix;
  for (int i = 0; i < keep; ++i) prefix.Append(target[i]);
  prefix.Append(kSuffix);
  return prefix;
}

}  // namespace

// The names are copied without throwing; a copy that fails makes Begin fail as out of memory.
SafeReplaceClass::SafeReplaceClass(const char* target_in, platform::DiskInterface& disk_in)
    : disk(disk_in), file(disk_in) {
  named = path.TryAssign(target_in);
}

SafeReplaceClass::~SafeReplaceClass() { Abort(); }

bool SafeReplaceClass::ChooseTarget(platform::FileStatus& old, bool& existing) {
  platform::FileStatus status;
  if (!named || !target.TryAssign(path)) return Fail(platform::ErrorNoMemory());
  direct = false;
  existing = disk.Status(path, &old);
  if (existing) {
    if (!old.is_regular && !old.is_stream) return Fail(platform::ErrorNotRegular());
    // No write permission for anyone marks a file read-only, whoever runs the program.
    if ((old.mode & 0222) == 0) return Fail(platform::ErrorReadOnly());
    direct = old.is_stream;
  } else if (disk.LinkStatus(path, &status) && status.is_link) {
    // Nothing is made where a link points nowhere: that is more often a mistake than a wish.
    return Fail(platform::ErrorDanglingLink());
  }
  // The temporary file goes beside the file a link names. A device or pipe is opened through
  // the link itself: /dev/stdout leads to a pipe that has no path of its own.
  if (!direct && disk.LinkStatus(path, &status) && status.is_link && !platform::ResolvePath(path, target)) {
    return Fail(platform::LastError());
  }
  return true;
}

bool SafeReplaceClass::Begin() {
  Abort();
  if (standard_output && !target.TryAssign(path)) return Fail(platform::ErrorNoMemory());
  // What the C runtime's stdout holds goes first, so that the two keep their order.
  if (standard_output && std::fflush(stdout) != 0) return Fail(platform::ErrorShortWrite());
  direct = standard_output;
  // The status of the file to replace, read once: a status follows a link to the file it names.
  platform::FileStatus old;
  bool replacing = false;
  if (!standard_output && !ChooseTarget(old, replacing)) return false;
  if (direct) {
    // Opening a pipe waits for its reader, as any writer into one does.
    platform::Handle h = standard_output ? platform::Duplicate(platform::StandardHandle(platform::kStdout))
                                         : disk.Open(target, platform::kWrite);
    if (h == platform::kInvalidHandle) return Fail(platform::LastError());
    file.Attach(h);
    file.ClearError();
    file.SetWriteBack(false);
    return true;
  }
  NarrowStringClass prefix = TempPrefix(target);
  if (prefix.IsEmpty()) return Fail(platform::ErrorNoMemory());
  platform::Handle h;
  {
    platform::HeldStopsClass held;
    h = disk.CreateUnique(prefix, temp_path);
    if (h == platform::kInvalidHandle) return FailInFolder(platform::LastError());
    platform::WatchTemporaryFile(temp_path);
  }
  // A second handle finds the file again should its folder be renamed before the file is put in
  // place or deleted (Windows, which does not share the file, gives none; it cannot rename a
  // folder that holds an open file either).
  finder = disk.Open(temp_path, platform::kRead);
  file.Attach(h);
  file.ClearError();
  file.SetWriteBack(durable);
  // The new file takes the old one's owner where the system allows it (a user may not give a
  // file away; the file then stays the user's).
  if (replacing) platform::SetOwner(h, old.owner, old.group);
  uint32_t mode = replacing ? old.mode : platform::DefaultFileMode();
  if (!platform::SetMode(h, mode)) {
    Fail(platform::LastError());
    Abort();
    return false;
  }
  return true;
}

bool SafeReplaceClass::Commit() {
  if (temp_path.IsEmpty() && !(direct && file.IsOpen())) {
    return Fail(error_code ? error_code : platform::ErrorBadHandle());
  }
  bool ok = file.ErrorCode() == 0 || Fail(file.ErrorCode());
  if (direct) {
    // Nothing to sync or rename: the bytes have gone to the device or the pipe's reader.
    file.Close();
    return (ok && file.ErrorCode() == 0) || Fail(file.ErrorCode());
  }
  if (ok && durable && !file.Sync()) ok = Fail(file.ErrorCode() ? file.ErrorCode() : platform::LastError());
  if (ok) {
    file.Close();
    if (file.ErrorCode() != 0) ok = Fail(file.ErrorCode());
  }
  if (ok && unchanged && error_code == 0 && !unchanged->Unchanged(&error)) {
    error_code = platform::ErrorInvalid();
    ok = false;
  }
  if (ok && !PutInPlace()) ok = Fail(platform::LastError());
  // The rename itself is in place; a folder that cannot be synced does not undo it.
  if (ok && durable && folder_sync) disk.SyncFolderOf(target);
  if (!ok) {
    Abort();
    return false;
  }
  platform::ForgetTemporaryFile(temp_path);
  temp_path.Release();
  CloseFinder();
  return true;
}

// A file that is not made durable takes the target's place by swapping the two names and then
// deleting the old file under the temporary name: a rename over an existing file makes some
// systems (ext4) write the new file's data out before the rename returns, seconds of waiting for
// a large file that such a caller chose not to pay; the old file's freeing goes to the
// background likewise. Until the old file is deleted it can still be
// swapped back, so a failure leaves it in place. Elsewhere, and where names cannot be swapped, a
// plain rename.
bool SafeReplaceClass::PutInPlace() {
  platform::FileStatus old;
  if (durable || !disk.LinkStatus(target, &old) || !old.is_regular || !disk.Exchange(temp_path, target)) {
    return disk.Rename(temp_path, target);
  }
  // The old file, now under the temporary name, is held open while its name goes, so that its
  // memory and blocks are let go in the background rather than in the delete.
  platform::Handle old_file = disk.Open(temp_path, platform::kRead);
  if (disk.Delete(temp_path)) {
    if (old_file != platform::kInvalidHandle) platform::CloseInBackground(old_file);
    return true;
  }
  int code = platform::LastError();
  if (old_file != platform::kInvalidHandle) disk.Close(old_file);
  disk.Exchange(temp_path, target);
  platform::SetLastError(code);
  return false;
}

bool SafeReplaceClass::Abort() {
  file.Close();
  bool removed = true;
  if (!temp_path.IsEmpty()) {
    if (!disk.DeleteOpen(finder, temp_path)) {
      // A folder may let files be made but not removed (append-only): say what is left.
      removed = false;
      NarrowStringClass reason("the temporary file is left behind: ");
      reason.Append(platform::ErrorText(platform::LastError()));
      left_behind = PathError(temp_path, reason);
      if (!error.IsEmpty()) {
        error.Append("; ");
        error.Append(left_behind);
      }
    }
    platform::ForgetTemporaryFile(temp_path);
    temp_path.Release();
  }
  CloseFinder();
  return removed;
}

void SafeReplaceClass::CloseFinder() {
  if (finder != platform::kInvalidHandle) disk.Close(finder);
  finder = platform::kInvalidHandle;
}

bool SafeReplaceClass::Finish(bool written, int code, NarrowStringClass* error) {
  bool ok = written ? Commit() : Fail(file.ErrorCode() ? file.ErrorCode() : code);
  if (!ok) {
    Abort();
    if (error) error->TryAssign(this->error);
  }
  return ok;
}

bool SafeReplaceClass::WriteWhole(const char* target, const void* data, int size, NarrowStringClass* error,
                                  platform::DiskInterface& disk) {
  SafeReplaceClass replace(target, disk);
  bool written = replace.Begin() && (size <= 0 || replace.File().Write(data, size) == size);
  return replace.Finish(written, platform::ErrorShortWrite(), error);
}

bool SafeReplaceClass::FailInFolder(int code) {
  if (error_code != 0) return false;
  const char* folder_end = nullptr;
  for (const char* c = target; *c; ++c) {
    if (*c == '/' || *c == platform::PathSeparator()) folder_end = c;
  }
  NarrowStringClass folder;
  if (!folder_end) {
    folder = ".";
  } else {
    for (const char* c = target; c < folder_end; ++c) folder.Append(*c);
    if (folder.IsEmpty()) folder = "/";
  }
  NarrowStringClass reason("cannot create a file in the folder ");
  reason.Append(PathError(folder, code));
  error_code = code;
  error = PathError(path, reason);
  return false;
}

bool SafeReplaceClass::Fail(int code) {
  if (error_code == 0) {
    error_code = code;
    error = PathError(path, code);
  }
  return false;
}
